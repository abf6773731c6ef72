// The dialogs of the start-up and of the work page.
#include "Shots.h"

#include "app/TfrmInitSys.h"
#include "data/ProgramFolder.h"
#include "document/DocumentStore.h"
#include "document/FindDialog.h"
#include "document/TfrmEspChar.h"
#include "document/TfrmPreviewDocExd.h"
#include "safety/TfrmPassInput.h"
#include "work/TfrmEditAWork.h"
#include "work/TfrmWorkClass.h"
#include "work/TfrmWorkHint.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTextDocument>

namespace {

void shootDialogs(Shots &shots)
{
    TfrmInitSys splash;
    for (int tick = 0; tick < 255; ++tick)
        splash.tmrShowBitmapTimer();
    shots.take(splash, QStringLiteral("dialog-splash"));

    TfrmPassInput password;
    password.setPrompt(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));
    password.EditPass->setText(QStringLiteral("secret"));
    password.adjustSize();
    shots.take(password, QStringLiteral("dialog-password"));

    TfrmWorkClass workTypes;
    workTypes.ReadyData();
    workTypes.show();
    QCoreApplication::processEvents();
    shots.take(workTypes, QStringLiteral("dialog-worktypes"));

    TfrmEditAWork workItem(5, QString()); // a sample item with a formatted body
    workItem.ReadyData();
    workItem.show();
    QCoreApplication::processEvents();
    shots.take(workItem, QStringLiteral("dialog-workitem"));

    TfrmWorkHint reminder(12);
    reminder.ReadyData();
    reminder.show();
    QCoreApplication::processEvents();
    shots.take(reminder, QStringLiteral("dialog-reminder"));
    reminder.hide();

    TfrmEspChar specialChars;
    specialChars.show();
    QCoreApplication::processEvents();
    shots.take(specialChars, QStringLiteral("dialog-specialchars"));

    FindDialog find;
    find.editText->setText(QStringLiteral("合同"));
    find.adjustSize();
    shots.take(find, QStringLiteral("dialog-find"));

    QTextDocument sample;
    sample.setHtml(QStringLiteral("<h2 align=center>年终客户答谢会安排</h2><p>时间：2026年12月28日 18:00</p>"
                                  "<p>地点：粤海大酒店三楼宴会厅</p><ul><li>确认嘉宾名单</li><li>准备礼品与资料</li></ul>"));
    const QString samplePath = programFolder() + QStringLiteral("tmp.rvf");
    saveDocumentFile(sample, samplePath);
    TfrmPreviewDocExd preview;
    preview.loadFile(samplePath);
    preview.show();
    QCoreApplication::processEvents();
    shots.take(preview, QStringLiteral("dialog-printpreview"));
}

const ShotSet dialogs("dialogs", shootDialogs);

} // namespace
