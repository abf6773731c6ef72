#include "TestMain.h"

#include "platform/DesktopShell.h"

#include <QDesktopServices>
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
    void executableDocumentIsOpenedNotRun();

public slots:
    // Stands in for the desktop's default application of local files.
    void openedWithDefaultApplication(const QUrl &url) { m_opened.append(url); }

private:
    QList<QUrl> m_opened;
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

void TestDesktopShell::executableDocumentIsOpenedNotRun()
{
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("报价单.doc")); // from a FAT stick: every file executable
    const QString ran = dir.filePath(QStringLiteral("ran"));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(ran).toUtf8());
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openedWithDefaultApplication");

    platform::DesktopShell().openPath(document);
    QTest::qWait(300);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(document)});
    QVERIFY(!QFile::exists(ran));
}

PANDREL_TEST_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
