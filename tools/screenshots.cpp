// Renders every page of the main window and every dialog offscreen into PNG files, so they
// can be looked at without a display: screenshots <output folder>.
#include "app/AppFont.h"
#include "app/TfrmInitSys.h"
#include "app/TfrmWorkMain.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"
#include "safety/TfrmPassInput.h"
#include "document/DocumentStore.h"
#include "document/FindDialog.h"
#include "work/TfrmEditAWork.h"
#include "document/TfrmEspChar.h"
#include "document/TfrmPreviewDocExd.h"
#include "work/TfrmWorkClass.h"
#include "work/TfrmWorkHint.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextStream>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::Files);
    for (const QFileInfo &file : entries) {
        if (!QFile::copy(file.filePath(), QDir(to).filePath(file.fileName())))
            return false;
    }
    return true;
}

// A program folder of its own: the template database and the build's pictures and help.
bool prepareFolder(const QString &folder)
{
    const QDir build(QStringLiteral(PANDREL_PROGRAM_DIR));
    QDir root(folder);
    return root.mkpath(QStringLiteral("db")) && root.mkpath(QStringLiteral("Bak"))
           && QFile::copy(QStringLiteral(PANDREL_TEMPLATE_DB), root.filePath(QStringLiteral("db/DOZA.dat")))
           && QFile::setPermissions(root.filePath(QStringLiteral("db/DOZA.dat")), QFile::ReadOwner | QFile::WriteOwner)
           && copyFolder(build.filePath(QStringLiteral("Images")), root.filePath(QStringLiteral("Images")))
           && copyFolder(build.filePath(QStringLiteral("Help")), root.filePath(QStringLiteral("Help")));
}

class Shots
{
public:
    explicit Shots(const QString &folder) : m_folder(folder) { QDir().mkpath(folder); }

    void take(QWidget &widget, const QString &name)
    {
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (widget.grab().save(path))
            m_written.append(path);
        else
            m_failed.append(path);
    }

    int report() const
    {
        QTextStream out(stdout);
        for (const QString &path : m_written)
            out << path << '\n';
        for (const QString &path : m_failed)
            out << "could not write " << path << '\n';
        return m_failed.isEmpty() ? 0 : 1;
    }

private:
    QString m_folder;
    QStringList m_written;
    QStringList m_failed;
};

void shootMainWindow(Shots &shots)
{
    TfrmWorkMain window;
    window.FormCreate();
    window.show();
    for (int page = 0; page < TfrmWorkMain::PageCount; ++page) {
        window.PageControl1->setCurrentIndex(page);
        QCoreApplication::processEvents();
        shots.take(window, QStringLiteral("page-%1").arg(page + 1, 2, 10, QChar('0')));
    }
    window.resize(1366, 740); // as maximised on a common laptop screen
    window.PageControl1->setCurrentIndex(TfrmWorkMain::SettingsPageIndex);
    QCoreApplication::processEvents();
    shots.take(window, QStringLiteral("page-10-large"));
    window.hide();
}

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

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    applyChineseFont();
    if (argc != 2) {
        QTextStream(stderr) << "usage: screenshots <output folder>\n";
        return 2;
    }
    QTemporaryDir folder;
    if (!prepareFolder(folder.path())) {
        QTextStream(stderr) << "screenshots: cannot prepare a program folder\n";
        return 1;
    }
    setProgramFolder(folder.path());
    TDM dm;
    dm.DataModuleCreate();

    Shots shots(QString::fromLocal8Bit(argv[1]));
    shootMainWindow(shots);
    shootDialogs(shots);
    return shots.report();
}
