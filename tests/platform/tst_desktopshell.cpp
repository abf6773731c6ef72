#include "TestMain.h"

#include "platform/DesktopShell.h"

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
};

void TestDesktopShell::defaultFolderIsTheUsersAutostart()
{
    QVERIFY(platform::defaultAutostartFolder().endsWith(QLatin1String("/autostart")));
}

void TestDesktopShell::autostartEntryIsWrittenAndRemoved_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain path") << "/opt/pandrel/Pandrel" << "/opt/pandrel/Pandrel";
    QTest::newRow("path with spaces") << "/home/王 明/Pandrel" << "\"/home/王 明/Pandrel\"";
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

PANDREL_TEST_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
