#include "app/SettingsPage.h"

#include "widgets/Picture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SettingsPage::SettingsPage(QWidget *parent)
    : QWidget(parent)
    , m_otherSettingsBox(new QGroupBox(tr("其他参数设置")))
    , m_startWithSystemCheck(new QCheckBox(tr("软件随操作系统启动而自动启动")))
    , m_autoHideCheck(new QCheckBox(tr("启动系统就自动最小化到系统托盘")))
    , m_safetyBox(new QGroupBox(tr("信息安全设置")))
    , m_usePasswordCheck(new QCheckBox(tr("登陆必须输入登陆密码")))
    , m_changePasswordButton(new QPushButton(tr("修改登陆密码")))
    , m_autoBackupCheck(new QCheckBox(tr("自动备份数据到")))
    , m_autoBackupFolderEdit(new QLineEdit)
    , m_autoBackupSettingsButton(new QPushButton(tr("自动备份设置")))
    , m_backupButton(new QPushButton(tr("备份数据库")))
    , m_restoreButton(new QPushButton(tr("还原数据库")))
    , m_clearDataButton(new QPushButton(tr("清除数据")))
    , m_undoButton(new QPushButton(tr("撤销上次恢复/清除")))
    , m_checkBackupButton(new QPushButton(tr("检查备份文件…")))
    , m_systemBox(new QGroupBox(tr("系统功能调用")))
    , m_minimiseButton(new QPushButton(tr("最小化Oribel")))
    , m_exitButton(new QPushButton(tr("退出Oribel")))
    , m_calculatorButton(new QPushButton(tr("调用计算器")))
    , m_textEditorButton(new QPushButton(tr("调用记事本")))
    , m_translatorButton(new QPushButton(tr("调用雅虎翻译器")))
    , m_mapButton(new QPushButton(tr("调用电子地图")))
    , m_shutDownButton(new QPushButton(tr("关闭计算机")))
    , m_feedbackButton(new QPushButton(tr("提交BUG/建议")))
    , m_amountConverterButton(new QPushButton(tr("金额大写转换")))
    , m_aboutPictureLabel(new QLabel)
    , m_versionLabel(new QLabel(tr("Zorvik [Oribel] V1.101")))
    , m_otherRows(new QVBoxLayout(m_otherSettingsBox))
    , m_safetyRows(new QVBoxLayout(m_safetyBox))
    , m_systemButtons(new QGridLayout(m_systemBox))
    , m_leftColumn(new QVBoxLayout)
{
    m_otherRows->addWidget(m_startWithSystemCheck);
    m_otherRows->addWidget(m_autoHideCheck);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_usePasswordCheck);
    passwordRow->addStretch(1);
    passwordRow->addWidget(m_changePasswordButton);
    auto *backupRow = new QHBoxLayout;
    backupRow->addWidget(m_autoBackupCheck);
    backupRow->addWidget(m_autoBackupFolderEdit, 1);
    backupRow->addWidget(m_autoBackupSettingsButton);
    auto *dataRow = new QHBoxLayout;
    dataRow->addWidget(m_backupButton);
    dataRow->addWidget(m_restoreButton);
    dataRow->addWidget(m_clearDataButton);
    dataRow->addStretch(1);
    m_clearDataButton->setToolTip(tr("本功能应用于初始使用本系统时的范例数据清除"));
    auto *recoveryRow = new QHBoxLayout;
    recoveryRow->addWidget(m_undoButton);
    recoveryRow->addWidget(m_checkBackupButton);
    recoveryRow->addStretch(1);
    m_undoButton->setToolTip(tr("换回上次还原或清除数据之前的数据"));
    m_undoButton->setEnabled(false);
    m_checkBackupButton->setToolTip(tr("检查一个备份文件能否还原，不改动当前数据"));
    m_safetyRows->addLayout(passwordRow);
    m_safetyRows->addLayout(backupRow);
    m_safetyRows->addLayout(dataRow);
    m_safetyRows->addLayout(recoveryRow);

    m_systemButtons->addWidget(m_minimiseButton, 0, 0);
    m_systemButtons->addWidget(m_exitButton, 0, 1);
    m_systemButtons->addWidget(m_calculatorButton, 1, 0);
    m_systemButtons->addWidget(m_textEditorButton, 1, 1);
    m_systemButtons->addWidget(m_translatorButton, 2, 0);
    m_systemButtons->addWidget(m_mapButton, 2, 1);
    m_systemButtons->addWidget(m_feedbackButton, 3, 0);
    m_systemButtons->addWidget(m_shutDownButton, 3, 1);
    m_systemButtons->addWidget(m_amountConverterButton, 4, 0);

    auto *about = new QGroupBox;
    auto *aboutLayout = new QVBoxLayout(about);
    m_aboutPictureLabel->setAlignment(Qt::AlignCenter);
    m_aboutPictureLabel->setMinimumSize(240, 180);
    m_versionLabel->setAlignment(Qt::AlignCenter);
    QFont versionFont = m_versionLabel->font();
    versionFont.setBold(true);
    m_versionLabel->setFont(versionFont);
    aboutLayout->addWidget(m_aboutPictureLabel, 1);
    aboutLayout->addWidget(m_versionLabel);

    m_leftColumn->addWidget(m_otherSettingsBox);
    m_leftColumn->addWidget(m_safetyBox);
    m_leftColumn->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(m_systemBox);
    right->addWidget(about, 1);

    auto *columns = new QHBoxLayout(this);
    columns->addLayout(m_leftColumn, 3);
    columns->addLayout(right, 2);
}

void SettingsPage::loadAboutPicture(const QString &path)
{
    const Picture picture = Picture::replaceableFile(path, QStringLiteral(":/pictures/Images/Vey1.bmp"),
                                                     QStringLiteral(":/pictures/Vey1.svg"));
    m_aboutPictureLabel->setPixmap(picture.pixmap(devicePixelRatioF()));
}

void SettingsPage::addGroup(QWidget *group)
{
    m_leftColumn->insertWidget(m_leftColumn->count() - 1, group); // above the closing stretch
}
