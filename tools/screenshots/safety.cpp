// The windows of the data safety group and the settings page that holds it.
#include "Shots.h"

#include "app/MainWindow.h"
#include "safety/AutoBackupDialog.h"
#include "safety/PasswordDialog.h"
#include "safety/PasswordChangeDialog.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>

namespace {

void shootSafety(Shots &shots)
{
    AutoBackupDialog daily;
    daily.loadValues(true, QStringLiteral("/home/李明/文档/Zorvik备份"), QStringLiteral("0,12:30"));
    daily.show();
    QCoreApplication::processEvents();
    shots.take(daily, QStringLiteral("safety-autobackup-daily"));
    daily.hide();

    AutoBackupDialog weekly;
    weekly.loadValues(false, QString(), QStringLiteral("1,4,16:00"));
    weekly.show();
    QCoreApplication::processEvents();
    shots.take(weekly, QStringLiteral("safety-autobackup-weekly"));
    weekly.hide();

    PasswordChangeDialog change;
    change.m_oldPasswordEdit->setText(QStringLiteral("old"));
    change.m_newPasswordEdit->setText(QStringLiteral("new-pass"));
    change.show();
    QCoreApplication::processEvents();
    shots.take(change, QStringLiteral("safety-password-change"));
    change.hide();

    PasswordDialog prompt;
    prompt.setPrompt(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));
    prompt.show();
    QCoreApplication::processEvents();
    shots.take(prompt, QStringLiteral("safety-password-prompt"));
    prompt.hide();

    MainWindow window;
    window.startUp();
    window.m_pageTabs->setCurrentIndex(MainWindow::SettingsPageIndex);
    window.show();
    QCoreApplication::processEvents();
    shots.take(window, QStringLiteral("safety-settings-page"));
    window.hide();
}

const ShotSet safety("safety", shootSafety);

} // namespace
