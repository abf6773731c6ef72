// The windows of the data safety group and the settings page that holds it.
#include "Shots.h"

#include "app/TfrmWorkMain.h"
#include "safety/TfrmAutoBakSet.h"
#include "safety/TfrmPassInput.h"
#include "safety/TfrmPassSet.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>

namespace {

void shootSafety(Shots &shots)
{
    TfrmAutoBakSet daily;
    daily.ReadyData(true, QStringLiteral("/home/李明/文档/Zorvik备份"), QStringLiteral("0,12:30"));
    daily.show();
    QCoreApplication::processEvents();
    shots.take(daily, QStringLiteral("safety-autobackup-daily"));
    daily.hide();

    TfrmAutoBakSet weekly;
    weekly.ReadyData(false, QString(), QStringLiteral("1,4,16:00"));
    weekly.show();
    QCoreApplication::processEvents();
    shots.take(weekly, QStringLiteral("safety-autobackup-weekly"));
    weekly.hide();

    TfrmPassSet change;
    change.EditOld->setText(QStringLiteral("old"));
    change.EditNew->setText(QStringLiteral("new-pass"));
    change.show();
    QCoreApplication::processEvents();
    shots.take(change, QStringLiteral("safety-password-change"));
    change.hide();

    TfrmPassInput prompt;
    prompt.setPrompt(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));
    prompt.show();
    QCoreApplication::processEvents();
    shots.take(prompt, QStringLiteral("safety-password-prompt"));
    prompt.hide();

    TfrmWorkMain window;
    window.FormCreate();
    window.PageControl1->setCurrentIndex(TfrmWorkMain::SettingsPageIndex);
    window.show();
    QCoreApplication::processEvents();
    shots.take(window, QStringLiteral("safety-settings-page"));
    window.hide();
}

const ShotSet safety("safety", shootSafety);

} // namespace
