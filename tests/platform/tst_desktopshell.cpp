#include "TestMain.h"

#include "platform/DesktopShell.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// The autostart entries of the real desktop shell, written into a temporary folder.
class TestDesktopShell : public QObject
{
    Q_OBJECT

private slots:
    void defaultFolderIsTheUsersAutostart();
    void autostartEntryIsWrittenAndRemoved_data();
    void autostartEntryIsWrittenAndRemoved();
    void unwritableFolderFails();
    void launchesTheFoundEntry_data();
    void launchesTheFoundEntry();
};

void TestDesktopShell::defaultFolderIsTheUsersAutostart()
{
    QVERIFY(platform::defaultAutostartFolder().endsWith(QLatin1String("/autostart")));
}

void TestDesktopShell::autostartEntryIsWrittenAndRemoved_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("exec");

    // Always one quoted argument; the reserved characters escaped as the desktop entry
    // format wants them (a backslash in the file is read as half of one).
    QTest::newRow("plain path") << "/opt/pandrel/Pandrel" << "\"/opt/pandrel/Pandrel\"";
    QTest::newRow("path with spaces") << "/home/王 明/Pandrel" << "\"/home/王 明/Pandrel\"";
    QTest::newRow("dollar and quote") << "/home/a$b \"c\"/Pandrel" << "\"/home/a\\\\$b \\\\\"c\\\\\"/Pandrel\"";
    QTest::newRow("backslash and percent") << "/srv/x\\y 100%/Pandrel" << "\"/srv/x\\\\\\\\y 100%%/Pandrel\"";
}

void TestDesktopShell::autostartEntryIsWrittenAndRemoved()
{
    QFETCH(QString, command);
    QFETCH(QString, exec);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("autostart"));
    platform::DesktopShell shell(folder);
    const QString entry = folder + QStringLiteral("/SMVey.desktop");

    QVERIFY(shell.setAutostart(QStringLiteral("SMVey"), command));

    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    QCOMPARE(desktop.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    QCOMPARE(desktop.value(QStringLiteral("Name")).toString(), QStringLiteral("SMVey"));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(QStringLiteral("\nExec=") + exec + '\n'));

    QVERIFY(shell.removeAutostart(QStringLiteral("SMVey")));
    QVERIFY(!QFile::exists(entry));
    QVERIFY(shell.removeAutostart(QStringLiteral("SMVey"))); // nothing there is fine
}

void TestDesktopShell::unwritableFolderFails()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    platform::DesktopShell shell(blocker.fileName());

    QVERIFY(!shell.setAutostart(QStringLiteral("SMVey"), QStringLiteral("/opt/Pandrel")));
}

// A desktop laid out in a temporary folder whose programs are scripts that write down how
// they were started: the shell really starts them, and nothing else is launched.
void TestDesktopShell::launchesTheFoundEntry_data()
{
    QTest::addColumn<QString>("target");   // "document", "folder", "address" or "entry"
    QTest::addColumn<QString>("keys");     // of the one installed entry; empty: none
    QTest::addColumn<bool>("terminal");    // the desktop has x-terminal-emulator
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("ran");      // what the scripts wrote; %1 the document, %2 the folder

    QTest::newRow("document opened by its program, not run")
        << "document" << "MimeType=application/msword;" << false << true << "editor %1";
    QTest::newRow("document without a program")
        << "document" << "MimeType=image/png;" << false << false << "";
    QTest::newRow("folder opened by the file manager")
        << "folder" << "MimeType=inode/directory;" << false << true << "editor %2";
    QTest::newRow("folder without a file manager") << "folder" << "" << false << false << "";
    QTest::newRow("address opened by the browser")
        << "address" << "MimeType=x-scheme-handler/https;" << false << true << "editor https://www.baidu.com/s?wd=%E5%A4%A9";
    QTest::newRow("browser known by the pages it shows")
        << "address" << "MimeType=text/html;" << false << true << "editor https://www.baidu.com/s?wd=%E5%A4%A9";
    QTest::newRow("no browser") << "address" << "MimeType=image/png;" << false << false << "";
    QTest::newRow("program in a window") << "entry" << "" << false << true << "editor";
    QTest::newRow("terminal program in the desktop's terminal")
        << "entry" << "Terminal=true" << true << true << "terminal -e PROGRAM";
    QTest::newRow("terminal program, no terminal") << "entry" << "Terminal=true" << false << false << "";
}

void TestDesktopShell::launchesTheFoundEntry()
{
    QFETCH(QString, target);
    QFETCH(QString, keys);
    QFETCH(bool, terminal);
    QFETCH(bool, started);
    QFETCH(QString, ran);
    QTemporaryDir root;
    const QString log = root.filePath(QStringLiteral("ran"));
    const auto script = [&](const QString &name, const QString &word) {
        const QString path = root.filePath(QStringLiteral("bin/") + name);
        QDir().mkpath(root.filePath(QStringLiteral("bin")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho %1 \"$@\" >> '%2'\n").arg(word, log).toUtf8());
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    };
    script(QStringLiteral("editor"), QStringLiteral("editor"));
    if (terminal)
        script(QStringLiteral("x-terminal-emulator"), QStringLiteral("terminal"));
    const QString entry = root.filePath(QStringLiteral("data/applications/editor.desktop"));
    QDir().mkpath(QFileInfo(entry).path());
    QFile entryFile(entry);
    QVERIFY(entryFile.open(QIODevice::WriteOnly));
    entryFile.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\nExec=%1 %U\n%2\n")
                        .arg(root.filePath(QStringLiteral("bin/editor")), keys)
                        .toUtf8());
    entryFile.close();
    if (keys.isEmpty() && target != QLatin1String("entry"))
        QVERIFY(entryFile.remove());
    // The system's type database is found before the data folders point at the fake desktop.
    QVERIFY(QMimeDatabase().mimeTypeForName(QStringLiteral("application/msword")).isValid());
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("data"))));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath(QStringLiteral("none"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root.filePath(QStringLiteral("none"))));
    qputenv("PATH", QFile::encodeName(root.filePath(QStringLiteral("bin"))) + ":/usr/bin:/bin");

    // From a FAT stick every document is executable; it must be opened, never run.
    const QString document = root.filePath(QStringLiteral("报价单.doc"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\necho RUN >> '%1'\n").arg(log).toUtf8());
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));

    platform::DesktopShell shell(root.filePath(QStringLiteral("autostart")));
    bool result = false;
    if (target == QLatin1String("document"))
        result = shell.openPath(document);
    else if (target == QLatin1String("folder"))
        result = shell.openPath(root.path());
    else if (target == QLatin1String("address"))
        result = shell.openUrl(QUrl(QStringLiteral("https://www.baidu.com/s?wd=%E5%A4%A9")));
    else
        result = shell.startApplication(entry);
    qputenv("PATH", savedPath);

    QCOMPARE(result, started);
    QString written;
    if (started) {
        QTRY_VERIFY(QFile::exists(log));
        QTest::qWait(100);
        QFile read(log);
        QVERIFY(read.open(QIODevice::ReadOnly));
        written = QString::fromUtf8(read.readAll()).trimmed();
    } else {
        QTest::qWait(100);
        QVERIFY(!QFile::exists(log));
    }
    QCOMPARE(written, QString(ran).replace(QStringLiteral("PROGRAM"), root.filePath(QStringLiteral("bin/editor")))
                          .replace(QStringLiteral("%1"), QUrl::fromLocalFile(document).toString(QUrl::FullyEncoded))
                          .replace(QStringLiteral("%2"), QUrl::fromLocalFile(root.path()).toString(QUrl::FullyEncoded)));
}

PANDREL_TEST_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
