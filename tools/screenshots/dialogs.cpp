// The dialogs of the start-up and of the work page.
#include "Shots.h"

#include "app/SplashScreen.h"
#include "data/ProgramFolder.h"
#include "document/DocumentStore.h"
#include "document/FindDialog.h"
#include "document/SpecialCharacterDialog.h"
#include "document/DocumentPreviewDialog.h"
#include "safety/PasswordDialog.h"
#include "work/WorkItemEditor.h"
#include "work/WorkTypesDialog.h"
#include "work/ReminderWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QSpinBox>
#include <QLineEdit>
#include <QTextDocument>

namespace {

void shootDialogs(Shots &shots)
{
    SplashScreen splash;
    for (int tick = 0; tick < 255; ++tick)
        splash.fadeInTick();
    shots.take(splash, QStringLiteral("dialog-splash"));

    PasswordDialog password;
    password.setPrompt(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));
    password.m_passwordEdit->setText(QStringLiteral("secret"));
    password.adjustSize();
    shots.take(password, QStringLiteral("dialog-password"));

    WorkTypesDialog workTypes;
    workTypes.loadTypes();
    workTypes.show();
    QCoreApplication::processEvents();
    shots.take(workTypes, QStringLiteral("dialog-worktypes"));

    WorkItemEditor workItem(5, QString()); // a sample item with a formatted body
    workItem.loadRecord();
    workItem.show();
    QCoreApplication::processEvents();
    shots.take(workItem, QStringLiteral("dialog-workitem"));
    // The repeat row filled in as a user would: every second week on two days, up to a day.
    workItem.m_repeatCombo->setCurrentIndex(3);
    workItem.m_intervalSpin->setValue(2);
    for (int day = 0; day < 7; ++day)
        workItem.m_weekdayChecks.at(day)->setChecked(day == 0 || day == 4);
    workItem.m_endCombo->setCurrentIndex(1);
    workItem.m_untilDateEdit->setDate(QDate(2027, 6, 30));
    QCoreApplication::processEvents();
    shots.take(workItem, QStringLiteral("dialog-workitem-repeat"));

    ReminderWindow reminder(12);
    reminder.loadItem();
    reminder.show();
    QCoreApplication::processEvents();
    shots.take(reminder, QStringLiteral("dialog-reminder"));
    reminder.hide();

    SpecialCharacterDialog specialChars;
    specialChars.show();
    QCoreApplication::processEvents();
    shots.take(specialChars, QStringLiteral("dialog-specialchars"));

    FindDialog find;
    find.m_textEdit->setText(QStringLiteral("合同"));
    find.adjustSize();
    shots.take(find, QStringLiteral("dialog-find"));

    QTextDocument sample;
    sample.setHtml(QStringLiteral("<h2 align=center>年终客户答谢会安排</h2><p>时间：2026年12月28日 18:00</p>"
                                  "<p>地点：粤海大酒店三楼宴会厅</p><ul><li>确认嘉宾名单</li><li>准备礼品与资料</li></ul>"));
    const QString samplePath = programFolder() + QStringLiteral("tmp.rvf");
    saveDocumentFile(sample, samplePath);
    DocumentPreviewDialog preview;
    preview.loadFile(samplePath);
    preview.show();
    QCoreApplication::processEvents();
    shots.take(preview, QStringLiteral("dialog-printpreview"));
}

const ShotSet dialogs("dialogs", shootDialogs);

} // namespace
