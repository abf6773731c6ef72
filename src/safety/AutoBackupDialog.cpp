#include "safety/TfrmAutoBakSet.h"

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
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

TfrmAutoBakSet::TfrmAutoBakSet(QWidget *parent)
    : QDialog(parent)
    , chkUseAutoBak(new QCheckBox(tr("启用启动备份功能")))
    , EditBakPath(new QLineEdit)
    , sbSelSaler(new QToolButton)
    , rbDay(new QRadioButton(tr("每天")))
    , dtTimeDay(new QTimeEdit(QTime(12, 30)))
    , rbWeek(new QRadioButton(tr("每周")))
    , cmbWeekDay(new QComboBox)
    , dtWeekDay(new QTimeEdit(QTime(16, 0)))
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("自动备份设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    sbSelSaler->setText(QStringLiteral("..."));
    sbSelSaler->setToolTip(tr("选择数据备份路径"));
    EditBakPath->setMinimumWidth(260);
    EditBakPath->installEventFilter(this);
    for (QTimeEdit *picker : {dtTimeDay, dtWeekDay})
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
    cmbWeekDay->addItems({tr("星期一"), tr("星期二"), tr("星期三"), tr("星期四"), tr("星期五"), tr("星期六"), tr("星期日")});
    cmbWeekDay->setCurrentIndex(4);
    rbDay->setChecked(true);

    auto *pathLabel = new QLabel(tr("数据备份路径"));
    pathLabel->setBuddy(EditBakPath);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(EditBakPath, 1);
    pathRow->addWidget(sbSelSaler);

    auto *when = new QGroupBox;
    auto *grid = new QGridLayout(when);
    grid->addWidget(rbDay, 0, 0);
    grid->addWidget(dtTimeDay, 0, 2);
    grid->addWidget(rbWeek, 1, 0);
    grid->addWidget(cmbWeekDay, 1, 1);
    grid->addWidget(dtWeekDay, 1, 2);
    grid->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    cmdSave->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    connect(cmdSave, &QPushButton::clicked, this, &TfrmAutoBakSet::cmdSaveClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects too
    connect(sbSelSaler, &QToolButton::clicked, this, &TfrmAutoBakSet::sbSelSalerClick);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chkUseAutoBak);
    layout->addLayout(pathRow);
    layout->addWidget(when);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmAutoBakSet::ReadyData(bool enabled, const QString &folder, const QString &schedule)
{
    chkUseAutoBak->setChecked(enabled);
    EditBakPath->setText(folder);
    ReadyBakTYpe(schedule);
}

void TfrmAutoBakSet::ReadyBakTYpe(const QString &schedule)
{
    const std::optional<BackupSchedule> parsed = parseBackupSchedule(schedule);
    if (!parsed)
        return;
    if (parsed->weekly) {
        rbWeek->setChecked(true);
        cmbWeekDay->setCurrentIndex(parsed->weekday);
        dtWeekDay->setTime(parsed->time);
    } else {
        rbDay->setChecked(true);
        dtTimeDay->setTime(parsed->time);
    }
}

QString TfrmAutoBakSet::GetBakTYpe() const
{
    BackupSchedule schedule;
    schedule.weekly = !rbDay->isChecked();
    schedule.weekday = cmbWeekDay->currentIndex();
    schedule.time = schedule.weekly ? dtWeekDay->time() : dtTimeDay->time();
    return formatBackupSchedule(schedule);
}

void TfrmAutoBakSet::cmdSaveClick()
{
    const QString folder = EditBakPath->text();
    if (!QFileInfo(folder).isDir() && (chkUseAutoBak->isChecked() || !folder.isEmpty())) {
        platform::prompter().message(tr("数据备份路径未指定正确！"), platform::Prompter::Icon::Warning);
        return;
    }
    m_saved = true;
    accept();
}

void TfrmAutoBakSet::sbSelSalerClick()
{
    if (const std::optional<QString> folder = platform::prompter().existingFolder(tr("选择自动备份数据存储文件夹"), {}))
        EditBakPath->setText(*folder);
}

bool TfrmAutoBakSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditBakPath && event->type() == QEvent::MouseButtonDblClick) {
        sbSelSalerClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowAutoBackupSettings(bool &enabled, QString &folder, QString &schedule)
{
    TfrmAutoBakSet window;
    window.ReadyData(enabled, folder, schedule);
    platform::execModal(window);
    if (!window.saved())
        return false;
    enabled = window.chkUseAutoBak->isChecked();
    folder = window.EditBakPath->text();
    schedule = window.GetBakTYpe();
    return true;
}
