#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "data/Settings.h"

#include <QRegularExpression>

// The settings row and the upgrade of database files written by older versions.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void upgradeAddsMissingColumnsOnce();
    void loadReadsTheRow();
    void loadWithoutTheRow_data();
    void loadWithoutTheRow();
    void missingColumnKeepsTheOthers();
    void saveKeepsThePassword();
    void saveCreatesTheMissingRow();

private:
    // Turns the copy's TPara and TWork back into the shape of an older version.
    static void makeOldFile(Database &database);
};

void TestSettings::makeOldFile(Database &database)
{
    QVERIFY(database.execute(QStringLiteral("Drop table TPara")));
    QVERIFY(database.execute(QStringLiteral(
        "Create table TPara (ID INTEGER PRIMARY KEY AUTOINCREMENT, LogPass TEXT, UsePassLog BOOLEAN, "
        "ColorWorkNoDeal INTEGER, ColorWorkNowDeal INTEGER, ColorWorkFin INTEGER, ColorWorkWaste INTEGER, "
        "LastDocWidth INTEGER, StartWithWIn BOOLEAN)")));
    QVERIFY(database.execute(QStringLiteral("Insert into TPara (LogPass, UsePassLog, LastDocWidth, StartWithWIn) values ('', 0, 300, 0)")));
    QVERIFY(database.execute(QStringLiteral("Drop table TWork")));
    QVERIFY(database.execute(QStringLiteral("Create table TWork (ID INTEGER PRIMARY KEY AUTOINCREMENT, Title TEXT, FinStu INTEGER, UseTimeHint INTEGER, TimeHint DATETIME)")));
    QVERIFY(database.execute(QStringLiteral("Insert into TWork (Title, FinStu) values ('旧事务一', 1), ('旧事务二', 3)")));
    QVERIFY(database.execute(QStringLiteral("Drop table TTimeZone")));
    QVERIFY(database.execute(QStringLiteral("Create table TTimeZone (ID INTEGER PRIMARY KEY AUTOINCREMENT, AddName TEXT, AddTimes REAL)")));
    QVERIFY(database.execute(QStringLiteral("Insert into TTimeZone (AddName, AddTimes) values ('纽约', -5), ('贝克岛', -12)")));
}

void TestSettings::upgradeAddsMissingColumnsOnce()
{
    TestProgramFolder folder;
    Database &database = folder.database();
    QVERIFY(upgradeSchema(database, folder.path()).isEmpty()); // a current file needs nothing
    QCOMPARE(loadSettings(database)->autoBackupKeep, 30); // a new installation keeps the last 30 backups
    makeOldFile(database);

    const QStringList ran = upgradeSchema(database, folder.path());

    QCOMPARE(ran.filter(QStringLiteral("alter table")).size(), 10);
    Recordset para(database);
    QVERIFY(para.open(QStringLiteral("Select * from TPara")));
    QCOMPARE(para.integer(QStringLiteral("AutoHide")), 1);
    QCOMPARE(para.integer(QStringLiteral("AutoBak")), 1);
    QCOMPARE(para.text(QStringLiteral("AutoBakPath")), folder.path() + QStringLiteral("Bak/"));
    QCOMPARE(para.text(QStringLiteral("AutoBakTYpe")), QStringLiteral("0,12:30"));
    QCOMPARE(para.integer(QStringLiteral("LastDocWidth")), 300);
    QCOMPARE(para.integer(QStringLiteral("WinMaximized")), 0);
    QCOMPARE(para.integer(QStringLiteral("AutoBakKeep")), 0); // an existing installation keeps every backup
    QCOMPARE(database.queryValue(QStringLiteral("Select group_concat(HasHinted) from TWork")), QStringLiteral("0,0"));
    QCOMPARE(database.queryValue(QStringLiteral("Select count(*) from TWork where RRule is null")), QStringLiteral("2"));
    // Every older item gets its own lasting UID, of the form calendar programs expect.
    const QRegularExpression uuid(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
    const QStringList uids = database.queryValue(QStringLiteral("Select group_concat(UID) from TWork")).split(',');
    QCOMPARE(uids.size(), 2);
    QVERIFY(uids.at(0) != uids.at(1));
    for (const QString &uid : uids)
        QVERIFY2(uuid.match(uid).hasMatch(), qPrintable(uid));
    QCOMPARE(database.queryValue(QStringLiteral("Select count(*) from sqlite_master where name='IX_TWork_PendingReminder'")),
             QStringLiteral("1"));
    QCOMPARE(database.queryValue(QStringLiteral("Select group_concat(AddName || ':' || ifnull(ZoneName, '-')) from TTimeZone")),
             QStringLiteral("纽约:America/New_York,贝克岛:-"));
    QVERIFY(upgradeSchema(database, folder.path()).isEmpty());
}

void TestSettings::loadReadsTheRow()
{
    TestProgramFolder folder;
    QVERIFY(folder.database().execute(QStringLiteral(
        "Update TPara Set LogPass='secret', UsePassLog=1, AutoHide=1, AutoBak=0, AutoBakPath='/srv/备份', "
        "AutoBakType='1,4,16:00', ColorWorkNoDeal=1, ColorWorkNowDeal=2, ColorWorkFin=3, ColorWorkWaste=4, "
        "LastDocWidth=512, StartWithWIn=1, WinMaximized=1, AutoBakKeep=12")));

    const std::optional<Settings> settings = loadSettings(folder.database());

    QVERIFY(settings);
    QCOMPARE(settings->loginPassword, QStringLiteral("secret"));
    QVERIFY(settings->requirePassword && settings->hideAtStart && !settings->autoBackup && settings->startAtLogin
            && settings->windowMaximized);
    QCOMPARE(settings->autoBackupFolder, QStringLiteral("/srv/备份"));
    QCOMPARE(settings->autoBackupSchedule, QStringLiteral("1,4,16:00"));
    QCOMPARE(QList<int>({settings->pendingWorkColor, settings->inProgressWorkColor, settings->finishedWorkColor,
                         settings->abandonedWorkColor, settings->workListWidth, settings->autoBackupKeep}),
             QList<int>({1, 2, 3, 4, 512, 12}));
}

void TestSettings::loadWithoutTheRow_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("loads");

    QTest::newRow("empty table gives defaults") << "Delete from TPara" << true;
    QTest::newRow("missing table") << "Drop table TPara" << false;
}

void TestSettings::loadWithoutTheRow()
{
    QFETCH(QString, change);
    QFETCH(bool, loads);
    TestProgramFolder folder;
    for (const QString &statement : change.split(QStringLiteral("; ")))
        QVERIFY(folder.database().execute(statement));

    const std::optional<Settings> settings = loadSettings(folder.database());

    QCOMPARE(bool(settings), loads);
    if (loads) {
        QVERIFY(settings->loginPassword.isEmpty());
        QVERIFY(!settings->requirePassword && !settings->hideAtStart);
    }
}

void TestSettings::missingColumnKeepsTheOthers()
{
    TestProgramFolder folder;
    for (const char *statement : {"Update TPara Set LogPass='stored', UsePassLog=1, LastDocWidth=300",
                                  "Create table T2 as Select ID, LogPass, UsePassLog, LastDocWidth from TPara",
                                  "Drop table TPara", "Alter table T2 rename to TPara"})
        QVERIFY(folder.database().execute(QLatin1String(statement)));

    const std::optional<Settings> settings = loadSettings(folder.database());

    QVERIFY(settings);
    QCOMPARE(settings->loginPassword, QStringLiteral("stored"));
    QVERIFY(settings->requirePassword);
    QCOMPARE(settings->workListWidth, 300);
    QVERIFY(!settings->hideAtStart && !settings->startAtLogin);
}

void TestSettings::saveKeepsThePassword()
{
    TestProgramFolder folder;
    QVERIFY(saveLoginPassword(folder.database(), QStringLiteral("stored-hash")));
    Settings settings = *loadSettings(folder.database());
    settings.loginPassword = QStringLiteral("not written by a settings save");
    settings.workListWidth = 640;

    QCOMPARE(saveSettings(folder.database(), settings), SaveResult::Saved);

    QCOMPARE(folder.database().queryValue(QStringLiteral("Select LogPass || '/' || LastDocWidth from TPara")),
             QStringLiteral("stored-hash/640"));
}

void TestSettings::saveCreatesTheMissingRow()
{
    TestProgramFolder folder;
    QVERIFY(folder.database().execute(QStringLiteral("Delete from TPara")));
    Settings settings;
    settings.autoBackup = true;

    QCOMPARE(saveSettings(folder.database(), settings), SaveResult::Saved);

    QCOMPARE(folder.database().queryValue(QStringLiteral("Select count(*) || AutoBak from TPara")), QStringLiteral("11"));
    QVERIFY(folder.database().execute(QStringLiteral("Drop table TPara")));
    QCOMPARE(saveSettings(folder.database(), settings), SaveResult::Unreadable);
}

PANDREL_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
