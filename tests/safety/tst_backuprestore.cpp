#include "ReadOnlyFolder.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Settings.h"
#include "data/Sqlite.h"
#include "safety/DataSafety.h"
#include "safety/DataSafetyCommands.h"
#include "safety/PasswordHash.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

// Backup, restore and clearing as the user runs them from the settings page, on the real
// database of a program folder of their own.
class TestBackupRestore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void backupProposesTodaysNameInBak();
    void backupIsTheDatabaseByteForByte();
    void backupFailureKeepsTheDatabase_data();
    void backupFailureKeepsTheDatabase();
    void restoreBringsBackSettingsPasswordAndRows();
    void restoredOlderBackupIsUpgradedAgain();
    void restoreRefusesWhatIsNoBackupOfOurs_data();
    void restoreRefusesWhatIsNoBackupOfOurs();
    void restoreCancelledChangesNothing();
    void restoreReplacesADamagedDatabase();
    void clearingAsksTwice_data();
    void clearingAsksTwice();
    void clearingIsAllOrNothing();
    void undoCopyThatFailsReplacesNothing_data();
    void undoCopyThatFailsReplacesNothing();
    void restoreWhileAnotherProgramReadsKeepsTheLastUndo();

    void pruningTouchesOnlyTheProgramsOwnBackups_data();
    void pruningTouchesOnlyTheProgramsOwnBackups();
    void roomForABackup_data();
    void roomForABackup();
    void automaticBackupNeedsRoom_data();
    void automaticBackupNeedsRoom();

    void checkingABackupChangesNothing_data();
    void checkingABackupChangesNothing();

private:
    QByteArray databaseBytes() const;
    QString count(const QString &table);
    // The row counts of the given tables, "TWork=15 TGoods=12 ...".
    QString counts(const QStringList &tables);
    QString backupPath(const QString &name) const { return m_folder->filePath(QStringLiteral("Bak/") + name); }

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

namespace {

const QString kBackupDone = QStringLiteral("备份数据成功！\n软件将自动退出并重新启动本软件。");
const QString kBackupFailed = QStringLiteral("确认目标位置可读写！");
const QString kRestoreWarning = QStringLiteral("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！\n"
                                               "建议在还原之前先备份数据库！\n请谨慎使用本功能！");
const QString kRestoreDone = QStringLiteral("还原数据成功！\n软件将自动退出并重新启动本软件。");
const QString kRestoreFailed = QStringLiteral("还原数据文件发生错误！");
const QString kClearFirst = QStringLiteral("本功能仅应用于正式开始使用本系统前的范例数据清除！\n"
                                           "如果已经有自己录入的数据，建议先执行[备份数据库]功能，再执行数据清除！\n"
                                           "执行本功能所引起的数据丢失，软件提供方不为此负担任何责任！");
const QString kClearSecond = QStringLiteral("您确认清除[Oribel]中所有自定义数据吗？\n包括事务、客户/商品记录、常用文件夹、联系人档案等。");
const QString kClearDone = QStringLiteral("清除数据成功！\n软件将自动退出并重新启动本软件。");
const QStringList kShippedTables{"TPara", "TCTrackStep", "TNetSearch", "YBQH", "TTimeZone"};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

// A database of the program's shape keyed with `key` (empty: not encrypted at all).
void writeForeignDatabase(const QString &path, const QByteArray &key)
{
    SqliteConnection db;
    QVERIFY(db.open(path, key, SqliteConnection::Access::CreateIfMissing));
    QVERIFY(db.execute(QStringLiteral("create table TPara (ID integer primary key, LogPass text)")));
    QVERIFY(db.execute(QStringLiteral("insert into TPara (LogPass) values ('')")));
}

} // namespace

void TestBackupRestore::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TestBackupRestore::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
}

QByteArray TestBackupRestore::databaseBytes() const
{
    return contentOf(m_folder->databasePath());
}

QString TestBackupRestore::count(const QString &table)
{
    return m_folder->database().queryValue(QStringLiteral("Select count(*) from ") + table);
}

QString TestBackupRestore::counts(const QStringList &tables)
{
    QStringList parts;
    for (const QString &table : tables)
        parts.append(table + '=' + count(table));
    return parts.join(' ');
}

void TestBackupRestore::backupProposesTodaysNameInBak()
{
    QVERIFY(QDir(m_folder->filePath(QStringLiteral("Bak"))).removeRecursively());
    m_prompter->answerCancel();

    QCOMPARE(backupByUser(m_folder->database(), QDate(2024, 3, 15)), CommandOutcome::Cancelled);

    QCOMPARE(m_prompter->fileRequests().size(), 1);
    const platform::Prompter::FileRequest &request = m_prompter->fileRequests().first();
    QCOMPARE(request.title, QStringLiteral("备份文件"));
    QCOMPARE(request.fileName, m_folder->filePath(QStringLiteral("Bak/20240315.WBK")));
    QCOMPARE(QDir(request.folder), QDir(m_folder->filePath(QStringLiteral("Bak"))));
    QCOMPARE(request.filter, QStringLiteral("ZorvikOribel备份文件(*.WBK)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("WBK"));
    QVERIFY(request.confirmOverwrite);
    QVERIFY(QFileInfo(m_folder->filePath(QStringLiteral("Bak"))).isDir()); // made again for the dialog
    QVERIFY(m_prompter->shown().isEmpty());
    QVERIFY(QDir(m_folder->filePath(QStringLiteral("Bak"))).isEmpty());
}

void TestBackupRestore::backupIsTheDatabaseByteForByte()
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set Title='备份前的标题' where ID=1")));
    m_prompter->answerText(backupPath(QStringLiteral("20240315.WBK")));

    QCOMPARE(backupByUser(m_folder->database(), QDate(2024, 3, 15)), CommandOutcome::Done);

    QCOMPARE(m_prompter->shown(), QStringList{kBackupDone});
    QCOMPARE(contentOf(backupPath(QStringLiteral("20240315.WBK"))), databaseBytes());
    QVERIFY(isProgramDatabase(backupPath(QStringLiteral("20240315.WBK"))));
    QVERIFY(m_folder->database().isOpen());
}

void TestBackupRestore::backupFailureKeepsTheDatabase_data()
{
    QTest::addColumn<QString>("target"); // relative to the program folder unless absolute

    QTest::newRow("the database itself") << "db/DOZA.dat";
    QTest::newRow("the database under another name") << "Bak/../db/DOZA.dat";
    QTest::newRow("read-only folder") << "locked/20240315.WBK";
    QTest::newRow("folder that does not exist") << "nowhere/20240315.WBK";
    QTest::newRow("disk full") << "/dev/full";
}

void TestBackupRestore::backupFailureKeepsTheDatabase()
{
    QFETCH(QString, target);
    const ReadOnlyFolder locked(m_folder->filePath(QStringLiteral("locked")));
    if (target.startsWith(QLatin1String("locked")) && !locked.isReadOnly())
        QSKIP("this machine cannot make a folder read-only for the superuser");
    const QByteArray before = databaseBytes();
    m_prompter->answerText(target.startsWith('/') ? target : m_folder->filePath(target));

    QCOMPARE(backupByUser(m_folder->database(), QDate(2024, 3, 15)), CommandOutcome::Failed);

    QCOMPARE(m_prompter->shown(), QStringList{kBackupFailed});
    QCOMPARE(databaseBytes(), before);
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(count(QStringLiteral("TWork")), QStringLiteral("15"));
}

void TestBackupRestore::restoreBringsBackSettingsPasswordAndRows()
{
    const QString saved = hashPassword(QStringLiteral("备份时的密码"));
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set LogPass=?, UsePassLog=1"), {saved}));
    QVERIFY(backupDatabase(m_folder->database(), backupPath(QStringLiteral("20240315.WBK"))));
    const QByteArray backup = databaseBytes();
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set LogPass=?, UsePassLog=0"), {hashPassword(QStringLiteral("后来的密码"))}));
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork")));
    m_prompter->answerText(backupPath(QStringLiteral("20240315.WBK")));

    QCOMPARE(restoreByUser(m_folder->database()), CommandOutcome::Done);

    QCOMPARE(m_prompter->shown(), (QStringList{kRestoreWarning, kRestoreDone}));
    const platform::Prompter::FileRequest &request = m_prompter->fileRequests().first();
    QCOMPARE(request.title, QStringLiteral("选择文件还原数据库"));
    QCOMPARE(request.filter, QStringLiteral("ZorvikOribel备份文件(*WBK)"));
    QCOMPARE(QDir(request.folder), QDir(m_folder->filePath(QStringLiteral("Bak"))));
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(databaseBytes(), backup);
    const std::optional<Settings> settings = loadSettings(m_folder->database());
    QVERIFY(settings);
    QVERIFY(passwordMatches(settings->loginPassword, QStringLiteral("备份时的密码")));
    QVERIFY(settings->requirePassword);
    QCOMPARE(count(QStringLiteral("TWork")), QStringLiteral("15"));
    QVERIFY(!QFile::exists(m_folder->databasePath() + QStringLiteral(".restore")));
}

void TestBackupRestore::restoredOlderBackupIsUpgradedAgain()
{
    // An older version's file: the settings row without the columns added since.
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral(
        "create table TParaOld as select ID, LogPass, UsePassLog, ColorWorkNoDeal, ColorWorkNowDeal, ColorWorkFin, "
        "ColorWorkWaste, LastDocWidth, StartWithWIn from TPara")));
    QVERIFY(dm.execute(QStringLiteral("drop table TPara")));
    QVERIFY(dm.execute(QStringLiteral("alter table TParaOld rename to TPara")));
    QVERIFY(backupDatabase(dm, backupPath(QStringLiteral("old.WBK"))));
    QVERIFY(!upgradeSchema(dm, m_folder->path()).isEmpty()); // today's columns again
    m_prompter->answerText(backupPath(QStringLiteral("old.WBK")));

    QCOMPARE(restoreByUser(dm), CommandOutcome::Done);

    const std::optional<Settings> restored = loadSettings(dm); // as restored, the newer columns are missing
    QVERIFY(restored && !restored->autoBackup && restored->autoBackupSchedule.isEmpty());
    QCOMPARE(upgradeSchema(dm, m_folder->path()).size(), 12); // what the restarted program runs
    const std::optional<Settings> settings = loadSettings(dm);
    QVERIFY(settings);
    QVERIFY(settings->autoBackup);
    QCOMPARE(settings->autoBackupSchedule, QStringLiteral("0,12:30"));
}

void TestBackupRestore::restoreRefusesWhatIsNoBackupOfOurs_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("garbage") << "garbage";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("truncated in the middle of a page") << "half";
    QTest::newRow("truncated at a page boundary") << "pages";
    QTest::newRow("another key") << "otherkey";
    QTest::newRow("not encrypted") << "plain";
    QTest::newRow("our key, but only the settings table") << "settingsonly";
    QTest::newRow("the database itself") << "database";
    QTest::newRow("missing file") << "missing";
}

void TestBackupRestore::restoreRefusesWhatIsNoBackupOfOurs()
{
    QFETCH(QString, kind);
    QVERIFY(backupDatabase(m_folder->database(), backupPath(QStringLiteral("good.WBK"))));
    const QByteArray good = contentOf(backupPath(QStringLiteral("good.WBK")));
    QString source = backupPath(QStringLiteral("bad.WBK"));
    if (kind == QLatin1String("garbage"))
        writeFile(source, QByteArray(good.size(), '\x5a'));
    else if (kind == QLatin1String("empty"))
        writeFile(source, {});
    else if (kind == QLatin1String("half"))
        writeFile(source, good.left(good.size() / 2 + 100));
    else if (kind == QLatin1String("pages"))
        writeFile(source, good.left(good.size() - 8 * 1024));
    else if (kind == QLatin1String("otherkey"))
        writeForeignDatabase(source, QByteArrayLiteral("another-key"));
    else if (kind == QLatin1String("plain"))
        writeForeignDatabase(source, {});
    else if (kind == QLatin1String("settingsonly"))
        writeForeignDatabase(source, databaseKey());
    else if (kind == QLatin1String("database"))
        source = m_folder->databasePath();
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set Title='还原前' where ID=1")));
    const QByteArray before = databaseBytes();
    m_prompter->answerText(source);

    QCOMPARE(restoreByUser(m_folder->database()), CommandOutcome::Failed);

    QCOMPARE(m_prompter->shown(), (QStringList{kRestoreWarning, kRestoreFailed}));
    QCOMPARE(databaseBytes(), before);
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select Title from TWork where ID=1")), QStringLiteral("还原前"));
    QCOMPARE(QDir(m_folder->filePath(QStringLiteral("db"))).entryList(QDir::Files), QStringList{"DOZA.dat"});
    QVERIFY2(!QFile::exists(undoFilePath()), "a refused file took the place of the last undo");
}

void TestBackupRestore::restoreCancelledChangesNothing()
{
    const QByteArray before = databaseBytes();
    m_prompter->answerCancel();

    QCOMPARE(restoreByUser(m_folder->database()), CommandOutcome::Cancelled);

    QCOMPARE(m_prompter->shown(), QStringList{kRestoreWarning});
    QCOMPARE(databaseBytes(), before);
    QVERIFY(m_folder->database().isOpen());
}

void TestBackupRestore::restoreReplacesADamagedDatabase()
{
    QVERIFY(backupDatabase(m_folder->database(), backupPath(QStringLiteral("good.WBK"))));
    m_folder->database().close();
    // Damaged, with the journal of a write that never finished: it must not be played back
    // onto the restored file.
    writeFile(m_folder->databasePath(), QByteArray(40000, '\x11'));
    writeFile(m_folder->databasePath() + QStringLiteral("-journal"), QByteArray(5000, '\x22'));
    QVERIFY(!m_folder->database().open());
    m_prompter->answerText(backupPath(QStringLiteral("good.WBK")));

    QCOMPARE(restoreByUser(m_folder->database()), CommandOutcome::Done);

    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(databaseBytes(), contentOf(backupPath(QStringLiteral("good.WBK"))));
    QCOMPARE(count(QStringLiteral("TWork")), QStringLiteral("15"));
    QVERIFY(!QFile::exists(m_folder->databasePath() + QStringLiteral("-journal")));
}

void TestBackupRestore::clearingAsksTwice_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("No to the first question") << QList<bool>{false} << false;
    QTest::newRow("No to the second question") << QList<bool>{true, false} << false;
    QTest::newRow("Yes to both") << QList<bool>{true, true} << true;
}

void TestBackupRestore::clearingAsksTwice()
{
    QFETCH(QList<bool>, answers);
    QFETCH(bool, cleared);
    const QString userData = counts(userDataTables());
    const QString shipped = counts(kShippedTables);
    for (bool yes : answers)
        yes ? m_prompter->answerYes() : m_prompter->answerNo();

    QCOMPARE(clearDataByUser(m_folder->database()), cleared ? CommandOutcome::Done : CommandOutcome::Cancelled);

    QStringList expected{kClearFirst, kClearSecond};
    if (cleared)
        expected.append(kClearDone);
    QCOMPARE(m_prompter->shown(), expected.mid(0, cleared ? 3 : answers.size()));
    QStringList empty;
    for (const QString &table : userDataTables())
        empty.append(table + QStringLiteral("=0"));
    QCOMPARE(counts(userDataTables()), cleared ? empty.join(' ') : userData);
    QCOMPARE(counts(kShippedTables), shipped);
}

void TestBackupRestore::clearingIsAllOrNothing()
{
    // The eleventh of the thirteen deletes fails.
    QVERIFY(m_folder->database().execute(
        QStringLiteral("create trigger KeepWork before delete on TWork begin select raise(abort, 'kept'); end")));
    const QString userData = counts(userDataTables());

    QCOMPARE(clearDataByUser(m_folder->database()), CommandOutcome::Failed);

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("清除数据过程中发生错误！"));
    QCOMPARE(counts(userDataTables()), userData);
}

void TestBackupRestore::undoCopyThatFailsReplacesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("restore") << "restore";
    QTest::newRow("clearing") << "clear";
}

void TestBackupRestore::undoCopyThatFailsReplacesNothing()
{
    QFETCH(QString, command);
    const QString elsewhere = m_folder->filePath(QStringLiteral("elsewhere.WBK"));
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TGoods")));
    QVERIFY(backupDatabase(m_folder->database(), elsewhere));
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set Title='撤销前' where ID=1")));
    const QByteArray before = databaseBytes();
    const ReadOnlyFolder locked(m_folder->filePath(QStringLiteral("Bak")));
    if (!locked.isReadOnly())
        QSKIP("this machine cannot make a folder read-only for the superuser");
    m_prompter->answerText(elsewhere);

    const CommandOutcome outcome = command == QLatin1String("restore") ? restoreByUser(m_folder->database())
                                                                        : clearDataByUser(m_folder->database());

    QCOMPARE(outcome, CommandOutcome::Failed);
    QVERIFY(m_prompter->lastShown().startsWith(QStringLiteral("无法保存撤销用的数据（撤销前的数据.WBK），数据没有改动：\n")));
    QCOMPARE(databaseBytes(), before);
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select Title from TWork where ID=1")), QStringLiteral("撤销前"));
}

void TestBackupRestore::restoreWhileAnotherProgramReadsKeepsTheLastUndo()
{
    QVERIFY(backupDatabase(m_folder->database(), backupPath(QStringLiteral("good.WBK"))));
    const QByteArray lastUndo("the undo of the last command");
    writeFile(undoFilePath(), lastUndo);
    const QByteArray before = databaseBytes();
    // Its read transaction lets a copy read the database, but not replace it.
    SqliteConnection reader;
    QVERIFY(reader.open(m_folder->databasePath(), databaseKey()));
    QVERIFY(reader.execute(QStringLiteral("begin")));
    SqliteStatement reading(reader, QStringLiteral("Select count(*) from TWork"));
    QVERIFY(reading.next());
    m_prompter->answerText(backupPath(QStringLiteral("good.WBK")));

    QCOMPARE(restoreByUser(m_folder->database()), CommandOutcome::Failed);

    QCOMPARE(m_prompter->lastShown(), kRestoreFailed);
    QCOMPARE(contentOf(undoFilePath()), lastUndo);
    QCOMPARE(databaseBytes(), before);
}

void TestBackupRestore::pruningTouchesOnlyTheProgramsOwnBackups_data()
{
    QTest::addColumn<int>("keep");
    QTest::addColumn<QStringList>("removed");

    QTest::newRow("keep 2: the newest and one more") << 2 << QStringList{"2024031001.WBK", "2024031023.WBK"};
    QTest::newRow("keep 4: nothing to remove") << 4 << QStringList{};
    QTest::newRow("keep 1: only the new one") << 1 << QStringList{"2024031001.WBK", "2024031023.WBK", "2024031109.WBK"};
    QTest::newRow("keep 0: all of them") << 0 << QStringList{};
}

void TestBackupRestore::pruningTouchesOnlyTheProgramsOwnBackups()
{
    QFETCH(int, keep);
    QFETCH(QStringList, removed);
    const QString folder = m_folder->filePath(QStringLiteral("auto"));
    QVERIFY(QDir().mkpath(folder));
    const QStringList own{"2024031001.WBK", "2024031023.WBK", "2024031109.WBK", "2024031512.WBK"};
    // The user's own files, some of them close to the program's names.
    const QStringList others{"20240310.WBK", "2024031099.WBK", "2024031002.wbk", "my2024031003.WBK",
                             "2024031004.WBK.bak", "20240310051.WBK", "备注.txt", "2024031006.WBK.part",
                             "撤销前的数据.WBK", "２０２４０３１００７.WBK"};
    for (const QString &name : own + others)
        writeFile(QDir(folder).filePath(name), name.toUtf8());
    QVERIFY(QDir(folder).mkdir(QStringLiteral("2024030101.WBK")));
    QVERIFY(QFile::link(QDir(folder).filePath(QStringLiteral("备注.txt")), QDir(folder).filePath(QStringLiteral("2024030102.WBK"))));

    QCOMPARE(automaticBackups(folder), own);
    QCOMPARE(pruneAutomaticBackups(folder, keep, QDir(folder).filePath(QStringLiteral("2024031512.WBK"))), removed);

    QStringList left = own + others + QStringList{"2024030101.WBK", "2024030102.WBK"};
    for (const QString &name : removed)
        left.removeAll(name);
    left.sort();
    QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    found.sort();
    QCOMPARE(found, left);
}

void TestBackupRestore::roomForABackup_data()
{
    QTest::addColumn<qint64>("available");
    QTest::addColumn<qint64>("databaseSize");
    QTest::addColumn<bool>("room");

    QTest::newRow("a tenth to spare") << qint64(220) << qint64(200) << true;
    QTest::newRow("a byte short of it") << qint64(219) << qint64(200) << false;
    QTest::newRow("just the size") << qint64(200) << qint64(200) << false;
    QTest::newRow("the tenth rounds up") << qint64(11) << qint64(9) << true;
    QTest::newRow("a 200 MB database on a 210 MB disk") << (qint64(210) << 20) << (qint64(200) << 20) << false;
    QTest::newRow("unknown free space") << qint64(-1) << qint64(200) << true;
}

void TestBackupRestore::roomForABackup()
{
    QFETCH(qint64, available);
    QFETCH(qint64, databaseSize);
    QFETCH(bool, room);
    QCOMPARE(hasRoomForBackup(available, databaseSize), room);
}

void TestBackupRestore::automaticBackupNeedsRoom_data()
{
    QTest::addColumn<int>("freePercent"); // of the database's size; -1 when the system cannot tell
    QTest::addColumn<bool>("taken");

    QTest::newRow("5 % more than the database") << 105 << false;
    QTest::newRow("20 % more") << 120 << true;
    QTest::newRow("unknown") << -1 << true;
}

void TestBackupRestore::automaticBackupNeedsRoom()
{
    QFETCH(int, freePercent);
    QFETCH(bool, taken);
    const QString folder = m_folder->filePath(QStringLiteral("auto"));
    QVERIFY(QDir().mkpath(folder));
    for (const char *older : {"2024031001.WBK", "2024031002.WBK"})
        writeFile(QDir(folder).filePath(QLatin1String(older)), older);
    const qint64 size = databaseBytes().size();
    QStringList asked;
    const FreeSpaceQuery freeSpace = [&](const QString &where) {
        asked.append(where);
        return freePercent < 0 ? qint64(-1) : size * freePercent / 100;
    };

    const QString problem = takeAutomaticBackup(m_folder->database(), folder, QDateTime(QDate(2024, 3, 15), QTime(12, 30)), 1, freeSpace);

    QCOMPARE(asked, QStringList{folder});
    QCOMPARE(problem.isEmpty(), taken);
    if (!taken)
        QVERIFY2(problem.startsWith(QStringLiteral("磁盘空间不足，自动备份没有进行：\n")), qPrintable(problem));
    // Keeping one: a backup taken replaces the older ones, a refused one leaves them.
    QCOMPARE(QDir(folder).entryList(QDir::Files), taken ? QStringList{"2024031512.WBK"}
                                                        : QStringList({"2024031001.WBK", "2024031002.WBK"}));
    QVERIFY(m_folder->database().isOpen());
}

void TestBackupRestore::checkingABackupChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected"); // a pattern of the message

    QTest::newRow("a backup of ours") << "good"
        << "^这个备份文件可以用来还原数据。\n文件：.*/Bak/check\\.WBK\n日期：2024-03-15 12:30\n大小：\\d+\\.\\d [KM]B\n"
           "其中有事务 14 条，客户 10 个。$";
    QTest::newRow("with the journal of an unfinished write beside it") << "journal"
        << "^这个备份文件可以用来还原数据。\n.*其中有事务 14 条";
    QTest::newRow("garbage") << "garbage" << "^这个文件不能用来还原数据：\n.*check\\.WBK\n不是本软件的备份文件，或者文件已经损坏$";
    QTest::newRow("our key, only the settings table") << "settingsonly" << "^这个文件不能用来还原数据：";
    QTest::newRow("missing") << "missing" << "^这个文件不能用来还原数据：\n.*\n.*check\\.WBK: ";
}

void TestBackupRestore::checkingABackupChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    const QString file = backupPath(QStringLiteral("check.WBK"));
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork where ID=1")));
    if (kind == QLatin1String("good") || kind == QLatin1String("journal"))
        QVERIFY(backupDatabase(m_folder->database(), file));
    else if (kind == QLatin1String("garbage"))
        writeFile(file, QByteArray(50000, '\x5a'));
    else if (kind == QLatin1String("settingsonly"))
        writeForeignDatabase(file, databaseKey());
    if (kind == QLatin1String("journal"))
        writeFile(file + QStringLiteral("-journal"), QByteArray(5000, '\x22'));
    if (QFile::exists(file)) {
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime(QDate(2024, 3, 15), QTime(12, 30)), QFileDevice::FileModificationTime));
    }
    const QByteArray backupBefore = contentOf(file);
    const QByteArray before = databaseBytes();
    m_prompter->answerText(file);

    checkBackupByUser();

    QCOMPARE(m_prompter->fileRequests().first().title, QStringLiteral("检查备份文件"));
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(QRegularExpression(expected, QRegularExpression::DotMatchesEverythingOption).match(m_prompter->lastShown()).hasMatch(),
             qPrintable(m_prompter->lastShown()));
    QCOMPARE(contentOf(file), backupBefore);
    QCOMPARE(databaseBytes(), before);
    QVERIFY(!QFile::exists(undoFilePath()));
}

PANDREL_TEST_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
