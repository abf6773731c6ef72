#include "safety/AutoBackupDialog.h"

#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "safety/BackupSchedule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

AutoBackupDialog::AutoBackupDialog(QWidget *parent)
    : QDialog(parent)
    , m_enabledCheck(new QCheckBox(tr("启用启动备份功能")))
    , m_folderEdit(new QLineEdit)
    , m_chooseFolderButton(new QToolButton)
    , m_dailyRadio(new QRadioButton(tr("每天")))
    , m_dailyTimeEdit(new QTimeEdit(QTime(12, 30)))
    , m_weeklyRadio(new QRadioButton(tr("每周")))
    , m_weekdayCombo(new QComboBox)
    , m_weeklyTimeEdit(new QTimeEdit(QTime(16, 0)))
    , m_keepSpin(new QSpinBox)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("自动备份设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_chooseFolderButton->setText(QStringLiteral("..."));
    m_chooseFolderButton->setToolTip(tr("选择数据备份路径"));
    m_folderEdit->setMinimumWidth(260);
    m_folderEdit->installEventFilter(this);
    for (QTimeEdit *picker : {m_dailyTimeEdit, m_weeklyTimeEdit})
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
    m_weekdayCombo->addItems({tr("星期一"), tr("星期二"), tr("星期三"), tr("星期四"), tr("星期五"), tr("星期六"), tr("星期日")});
    m_weekdayCombo->setCurrentIndex(4);
    m_dailyRadio->setChecked(true);

    auto *pathLabel = new QLabel(tr("数据备份路径"));
    pathLabel->setBuddy(m_folderEdit);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(m_folderEdit, 1);
    pathRow->addWidget(m_chooseFolderButton);

    auto *when = new QGroupBox;
    auto *grid = new QGridLayout(when);
    grid->addWidget(m_dailyRadio, 0, 0);
    grid->addWidget(m_dailyTimeEdit, 0, 2);
    grid->addWidget(m_weeklyRadio, 1, 0);
    grid->addWidget(m_weekdayCombo, 1, 1);
    grid->addWidget(m_weeklyTimeEdit, 1, 2);
    grid->setColumnStretch(3, 1);

    m_keepSpin->setRange(0, 9999);
    m_keepSpin->setValue(30);
    m_keepSpin->setToolTip(tr("0 表示全部保留"));
    auto *keepRow = new QHBoxLayout;
    auto *keepLabel = new QLabel(tr("只保留最近"));
    keepLabel->setBuddy(m_keepSpin);
    keepRow->addWidget(keepLabel);
    keepRow->addWidget(m_keepSpin);
    keepRow->addWidget(new QLabel(tr("份自动备份")));
    auto *allHint = new QLabel(tr("（0 表示全部保留）"));
    allHint->setForegroundRole(QPalette::PlaceholderText);
    keepRow->addWidget(allHint);
    keepRow->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    m_saveButton->setAutoDefault(false);
    m_cancelButton->setAutoDefault(false);
    connect(m_saveButton, &QPushButton::clicked, this, &AutoBackupDialog::saveIfFolderValid);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects too
    connect(m_chooseFolderButton, &QToolButton::clicked, this, &AutoBackupDialog::chooseFolder);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_enabledCheck);
    layout->addLayout(pathRow);
    layout->addWidget(when);
    layout->addLayout(keepRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AutoBackupDialog::loadValues(bool enabled, const QString &folder, const QString &schedule)
{
    m_enabledCheck->setChecked(enabled);
    m_folderEdit->setText(folder);
    loadSchedule(schedule);
}

void AutoBackupDialog::loadSchedule(const QString &schedule)
{
    const std::optional<BackupSchedule> parsed = parseBackupSchedule(schedule);
    if (!parsed)
        return;
    if (parsed->weekly) {
        m_weeklyRadio->setChecked(true);
        m_weekdayCombo->setCurrentIndex(parsed->weekday);
        m_weeklyTimeEdit->setTime(parsed->time);
    } else {
        m_dailyRadio->setChecked(true);
        m_dailyTimeEdit->setTime(parsed->time);
    }
}

QString AutoBackupDialog::scheduleText() const
{
    BackupSchedule schedule;
    schedule.weekly = !m_dailyRadio->isChecked();
    schedule.weekday = m_weekdayCombo->currentIndex();
    schedule.time = schedule.weekly ? m_weeklyTimeEdit->time() : m_dailyTimeEdit->time();
    return formatBackupSchedule(schedule);
}

void AutoBackupDialog::setKeepCount(int keep)
{
    m_keepSpin->setValue(keep);
}

int AutoBackupDialog::keepCount() const
{
    return m_keepSpin->value();
}

void AutoBackupDialog::saveIfFolderValid()
{
    const QString folder = m_folderEdit->text();
    if (!QFileInfo(folder).isDir() && (m_enabledCheck->isChecked() || !folder.isEmpty())) {
        platform::prompter().message(tr("数据备份路径未指定正确！"), platform::Prompter::Icon::Warning);
        return;
    }
    m_saved = true;
    accept();
}

void AutoBackupDialog::chooseFolder()
{
    if (const std::optional<QString> folder = platform::prompter().existingFolder(tr("选择自动备份数据存储文件夹"), {}))
        m_folderEdit->setText(*folder);
}

bool AutoBackupDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_folderEdit && event->type() == QEvent::MouseButtonDblClick) {
        chooseFolder();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool editAutoBackupSettings(bool &enabled, QString &folder, QString &schedule, int &keep)
{
    AutoBackupDialog window;
    window.loadValues(enabled, folder, schedule);
    window.setKeepCount(keep);
    platform::execModal(window);
    if (!window.saved())
        return false;
    enabled = window.m_enabledCheck->isChecked();
    folder = window.m_folderEdit->text();
    schedule = window.scheduleText();
    keep = window.keepCount();
    return true;
}
