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
    , grpOther(new QGroupBox(tr("其他参数设置")))
    , chkStartWithWIn(new QCheckBox(tr("软件随操作系统启动而自动启动")))
    , chkAutoHide(new QCheckBox(tr("启动系统就自动最小化到系统托盘")))
    , grpSafety(new QGroupBox(tr("信息安全设置")))
    , chkUsePass(new QCheckBox(tr("登陆必须输入登陆密码")))
    , cmdEditLogPass(new QPushButton(tr("修改登陆密码")))
    , chkAutoBak(new QCheckBox(tr("自动备份数据到")))
    , EditAutoBakPath(new QLineEdit)
    , cmdAutoBakSet(new QPushButton(tr("自动备份设置")))
    , Button17(new QPushButton(tr("备份数据库")))
    , Button18(new QPushButton(tr("还原数据库")))
    , cmdClearData(new QPushButton(tr("清除数据")))
    , grpSystem(new QGroupBox(tr("系统功能调用")))
    , Button4(new QPushButton(tr("最小化Oribel")))
    , Button5(new QPushButton(tr("退出Oribel")))
    , Button1(new QPushButton(tr("调用计算器")))
    , Button2(new QPushButton(tr("调用记事本")))
    , Button10(new QPushButton(tr("调用雅虎翻译器")))
    , Button23(new QPushButton(tr("调用电子地图")))
    , Button3(new QPushButton(tr("关闭计算机")))
    , Button22(new QPushButton(tr("提交BUG/建议")))
    , Button24(new QPushButton(tr("金额大写转换")))
    , imgAbout(new QLabel)
    , lblVersion(new QLabel(tr("Zorvik [Oribel] V1.101")))
    , otherRows(new QVBoxLayout(grpOther))
    , safetyRows(new QVBoxLayout(grpSafety))
    , systemButtons(new QGridLayout(grpSystem))
    , m_leftColumn(new QVBoxLayout)
{
    otherRows->addWidget(chkStartWithWIn);
    otherRows->addWidget(chkAutoHide);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(chkUsePass);
    passwordRow->addStretch(1);
    passwordRow->addWidget(cmdEditLogPass);
    auto *backupRow = new QHBoxLayout;
    backupRow->addWidget(chkAutoBak);
    backupRow->addWidget(EditAutoBakPath, 1);
    backupRow->addWidget(cmdAutoBakSet);
    auto *dataRow = new QHBoxLayout;
    dataRow->addWidget(Button17);
    dataRow->addWidget(Button18);
    dataRow->addWidget(cmdClearData);
    dataRow->addStretch(1);
    cmdClearData->setToolTip(tr("本功能应用于初始使用本系统时的范例数据清除"));
    safetyRows->addLayout(passwordRow);
    safetyRows->addLayout(backupRow);
    safetyRows->addLayout(dataRow);

    systemButtons->addWidget(Button4, 0, 0);
    systemButtons->addWidget(Button5, 0, 1);
    systemButtons->addWidget(Button1, 1, 0);
    systemButtons->addWidget(Button2, 1, 1);
    systemButtons->addWidget(Button10, 2, 0);
    systemButtons->addWidget(Button23, 2, 1);
    systemButtons->addWidget(Button22, 3, 0);
    systemButtons->addWidget(Button3, 3, 1);
    systemButtons->addWidget(Button24, 4, 0);

    auto *about = new QGroupBox;
    auto *aboutLayout = new QVBoxLayout(about);
    imgAbout->setAlignment(Qt::AlignCenter);
    imgAbout->setMinimumSize(240, 180);
    lblVersion->setAlignment(Qt::AlignCenter);
    QFont versionFont = lblVersion->font();
    versionFont.setBold(true);
    lblVersion->setFont(versionFont);
    aboutLayout->addWidget(imgAbout, 1);
    aboutLayout->addWidget(lblVersion);

    m_leftColumn->addWidget(grpOther);
    m_leftColumn->addWidget(grpSafety);
    m_leftColumn->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(grpSystem);
    right->addWidget(about, 1);

    auto *columns = new QHBoxLayout(this);
    columns->addLayout(m_leftColumn, 3);
    columns->addLayout(right, 2);
}

void SettingsPage::loadAboutPicture(const QString &path)
{
    const Picture picture = Picture::replaceableFile(path, QStringLiteral(":/pictures/Images/Vey1.bmp"),
                                                     QStringLiteral(":/pictures/Vey1.svg"));
    imgAbout->setPixmap(picture.pixmap(devicePixelRatioF()));
}

void SettingsPage::addGroup(QWidget *group)
{
    m_leftColumn->insertWidget(m_leftColumn->count() - 1, group); // above the closing stretch
}
