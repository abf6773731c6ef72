#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Sqlite.h"
#include "safety/DataSafety.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

// Backup, restore, clearing and the automatic backup run in a child process that is killed
// (SIGKILL) at random moments of the command; each time the database must open, pass the
// integrity check and hold every committed row: for a restore the old database or the backup,
// whole; for a clearing all the rows or none of them. The copy kept for the undo is the older
// one or the whole database, and the one the data was replaced after; the automatic backup
// removes older backups only after its own is whole, oldest first, each one whole or gone.
class TestKillSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedCommandLeavesTheDatabaseSound_data();
    void killedCommandLeavesTheDatabaseSound();
};

namespace {

constexpr int kKills = 100;

enum class Outcome { Untouched, Replaced, Cleared };

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The database of the program folder as the program finds it at its next start.
class Aftermath
{
public:
    explicit Aftermath(const QString &path) { m_opened = m_db.open(path, databaseKey()); }

    bool opened() const { return m_opened; }
    QString value(const QString &sql)
    {
        SqliteStatement query(m_db, sql);
        return query.next() ? query.value(0).toString() : QString();
    }
    QString counts(const QStringList &tables)
    {
        QStringList parts;
        for (const QString &table : tables)
            parts.append(value(QStringLiteral("Select count(*) from ") + table));
        return parts.join(',');
    }

private:
    SqliteConnection m_db;
    bool m_opened = false;
};

const QStringList kShippedTables{"TPara", "TCTrackStep", "TNetSearch", "YBQH", "TTimeZone"};

} // namespace

void TestKillSafety::killedCommandLeavesTheDatabaseSound_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("backup") << "backup";
    QTest::newRow("restore") << "restore";
    QTest::newRow("clearing") << "clear";
    QTest::newRow("automatic backup keeping two") << "autobackup";
}

void TestKillSafety::killedCommandLeavesTheDatabaseSound()
{
    QFETCH(QString, command);
    TestProgramFolder folder(TestProgramFolder::DatabaseSetup::CopyOnly);
    QVERIFY(folder.isValid());
    const QString database = folder.databasePath();
    const QByteArray original = contentOf(database);
    const QString file = folder.filePath(QStringLiteral("Bak/2024031512.WBK"));
    const bool automatic = command == QLatin1String("autobackup");
    const QString undo = folder.filePath(QStringLiteral("Bak/撤销前的数据.WBK"));
    const QByteArray olderUndo = QByteArray("the undo of an earlier command ").repeated(1000);
    // The automatic backups already there, oldest first; keeping two leaves the last of them.
    // Enough of them that the removing takes its share of the kills.
    QList<std::pair<QString, QByteArray>> olderAutomatic;
    for (int hour = 0; hour < 300; ++hour) {
        const QString name = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(3600 * hour).toString(QStringLiteral("yyyyMMddhh"));
        olderAutomatic.append({folder.filePath(QStringLiteral("Bak/%1.WBK").arg(name)), name.toLatin1().repeated(100)});
    }

    // The backup a restore brings back: the same database with other rows.
    QByteArray backup;
    if (command == QLatin1String("restore")) {
        QVERIFY(QFile::copy(database, file));
        SqliteConnection db;
        QVERIFY(db.open(file, databaseKey()));
        QVERIFY(db.execute(QStringLiteral("Delete from TWork where ID > 3")));
        QVERIFY(db.execute(QStringLiteral("Update TPara Set LogPass='备份里的密码'")));
        db.close();
        backup = contentOf(file);
    }

    Aftermath before(database);
    QVERIFY(before.opened());
    const QString userRows = before.counts(userDataTables());
    const QString shippedRows = before.counts(kShippedTables);
    QString noRows = QStringLiteral("0");
    noRows = QStringList(userDataTables().size(), noRows).join(',');

    // A backup replaces an older one of the same name: whenever it is cut short, that file is
    // either the older backup or the whole new one, never a part of it.
    const QByteArray olderBackup = QByteArray("an older backup of the same name ").repeated(1000);
    auto reset = [&] {
        for (const QString &leftover : {database + QStringLiteral("-journal"), database + QStringLiteral(".restore"),
                                        database + QStringLiteral(".restore-journal")})
            QFile::remove(leftover);
        auto write = [](const QString &path, const QByteArray &content) {
            QFile::remove(path); // a restore cut short may have left two names of one file
            QFile older(path);
            QVERIFY(older.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(older.write(content), content.size());
        };
        if (command == QLatin1String("backup"))
            write(file, olderBackup);
        write(undo, olderUndo);
        if (automatic) {
            QFile::remove(file);
            for (const auto &[path, content] : olderAutomatic)
                write(path, content);
        }
        write(database, original);
    };
    // Runs the command; kills it `delayMicroseconds` after it has started, unless negative.
    // Returns how long it ran.
    auto run = [&](qint64 delayMicroseconds) -> qint64 {
        QProcess child;
        child.start(QStringLiteral(SAFETY_CHILD),
                    {command, folder.path(), automatic ? folder.filePath(QStringLiteral("Bak")) : file});
        while (!child.canReadLine()) {
            if (!child.waitForReadyRead(10000))
                return -1;
        }
        QElapsedTimer running;
        running.start();
        if (delayMicroseconds >= 0) {
            QThread::usleep(ulong(delayMicroseconds));
            child.kill();
        }
        child.waitForFinished(10000);
        return running.nsecsElapsed() / 1000;
    };
    int cutWhileRemoving = 0;
    auto automaticOutcome = [&]() -> std::optional<Outcome> {
        const bool taken = QFile::exists(file);
        if (contentOf(database) != original || (taken && contentOf(file) != original))
            return std::nullopt;
        bool keptOne = false;
        for (const auto &[path, content] : olderAutomatic) {
            if (QFile::exists(path)) {
                if (contentOf(path) != content)
                    return std::nullopt;
                keptOne = true;
            } else if (!taken || keptOne) {
                return std::nullopt; // removed before the new one was whole, or not the oldest
            }
        }
        if (!keptOne)
            return std::nullopt;
        if (!QFile::exists(olderAutomatic.first().first) && QFile::exists(olderAutomatic.at(olderAutomatic.size() - 2).first))
            ++cutWhileRemoving;
        return Outcome::Untouched;
    };
    auto outcome = [&]() -> std::optional<Outcome> {
        if (automatic)
            return automaticOutcome();
        if (QFile::exists(database + QStringLiteral("-journal")) && command != QLatin1String("clear"))
            return std::nullopt; // only a write into the database leaves a journal
        const QByteArray undoNow = contentOf(undo);
        if (command != QLatin1String("backup") && undoNow != olderUndo && undoNow != original)
            return std::nullopt;
        if (command == QLatin1String("backup") && contentOf(file) != olderBackup && contentOf(file) != original)
            return std::nullopt;
        const QByteArray now = contentOf(database);
        if (now == original)
            return Outcome::Untouched;
        if (undoNow != original)
            return std::nullopt; // replaced without the copy for the undo
        if (!backup.isEmpty() && now == backup)
            return Outcome::Replaced;
        if (command != QLatin1String("clear"))
            return std::nullopt;
        Aftermath after(database); // plays back the journal of a clearing cut short
        if (!after.opened() || after.value(QStringLiteral("PRAGMA integrity_check")) != QLatin1String("ok")
            || after.counts(kShippedTables) != shippedRows)
            return std::nullopt;
        const QString rows = after.counts(userDataTables());
        return rows == userRows ? std::optional(Outcome::Untouched)
               : rows == noRows ? std::optional(Outcome::Cleared)
                                : std::nullopt;
    };

    // One full run: how long the command takes, and that it does what it should.
    reset();
    const qint64 duration = run(-1);
    QVERIFY2(duration > 0, "the child process did not start its command");
    const Outcome full = command == QLatin1String("backup") || automatic ? Outcome::Untouched
                         : command == QLatin1String("restore") ? Outcome::Replaced
                                                                : Outcome::Cleared;
    QCOMPARE(outcome(), std::optional(full));
    if (command == QLatin1String("backup"))
        QCOMPARE(contentOf(file), original);
    else if (automatic)
        QCOMPARE(QDir(folder.filePath(QStringLiteral("Bak"))).entryList({QStringLiteral("20*.WBK")}),
                 (QStringList{"2024011311.WBK", "2024031512.WBK"}));
    else
        QCOMPARE(contentOf(undo), original);

    const quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch());
    QRandomGenerator random(seed);
    QMap<Outcome, int> seen;
    for (int kill = 0; kill < kKills; ++kill) {
        reset();
        const qint64 delay = random.bounded(duration + 1);
        QVERIFY2(run(delay) >= 0, "the child process did not start its command");
        const std::optional<Outcome> found = outcome();
        QVERIFY2(found, qPrintable(QStringLiteral("kill %1 after %2 µs (seed %3) left the database or the backup damaged")
                                       .arg(kill).arg(delay).arg(seed)));
        ++seen[*found];
    }
    qInfo("%s: %d kills, the command took %lld µs; untouched %d, replaced %d, cleared %d", qPrintable(command), kKills,
          duration, seen.value(Outcome::Untouched), seen.value(Outcome::Replaced), seen.value(Outcome::Cleared));
    if (automatic)
        qInfo("%d kills came while older backups were being removed", cutWhileRemoving);
}

PANDREL_TEST_MAIN(TestKillSafety)
#include "tst_killsafety.moc"
