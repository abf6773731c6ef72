#include "ReadOnlyFolder.h"
#include "TestMain.h"

#include "data/Sqlite.h"
#include "data/Database.h"
#include "safety/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

// The byte copy under backup and restore, on real files.
class TestFileCopy : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void copiesEveryByteAndNoMore_data();
    void copiesEveryByteAndNoMore();
    void sourceItselfIsRefusedBeforeWriting_data();
    void sourceItselfIsRefusedBeforeWriting();
    void failedCopyLeavesNoPartialFile_data();
    void failedCopyLeavesNoPartialFile();
    void sourceInTheMiddleOfAWriteIsRefused();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QByteArray write(const QString &name, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace

void TestFileCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QByteArray TestFileCopy::write(const QString &name, const QByteArray &content)
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the fixture %s", qPrintable(name));
    return content;
}

void TestFileCopy::copiesEveryByteAndNoMore_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qsizetype>("oldTargetSize"); // -1: no target yet

    QTest::newRow("empty file") << qsizetype(0) << qsizetype(-1);
    QTest::newRow("not a whole number of buffers") << qsizetype(3 * 1024 * 1024 + 17) << qsizetype(-1);
    QTest::newRow("over a longer file") << qsizetype(4096) << qsizetype(1024 * 1024);
    QTest::newRow("over a shorter file") << qsizetype(70000) << qsizetype(10);
}

void TestFileCopy::copiesEveryByteAndNoMore()
{
    QFETCH(qsizetype, size);
    QFETCH(qsizetype, oldTargetSize);
    const QByteArray content = write(QStringLiteral("source"), randomBytes(size));
    if (oldTargetSize >= 0)
        write(QStringLiteral("备份 目标.WBK"), QByteArray(oldTargetSize, 'x'));

    const FileResult result = copyFileBytes(path(QStringLiteral("source")), path(QStringLiteral("备份 目标.WBK")));

    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(contentOf(path(QStringLiteral("备份 目标.WBK"))), content);
}

void TestFileCopy::sourceItselfIsRefusedBeforeWriting_data()
{
    QTest::addColumn<QString>("target"); // how the source is named as the target

    QTest::newRow("same path") << "data.dat";
    QTest::newRow("through another folder") << "sub/../data.dat";
    QTest::newRow("symbolic link") << "link.dat";
    QTest::newRow("hard link") << "hard.dat";
}

void TestFileCopy::sourceItselfIsRefusedBeforeWriting()
{
    QFETCH(QString, target);
    const QByteArray content = write(QStringLiteral("data.dat"), randomBytes(50000));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QFile::link(path(QStringLiteral("data.dat")), path(QStringLiteral("link.dat"))));
    QCOMPARE(::link(qPrintable(path(QStringLiteral("data.dat"))), qPrintable(path(QStringLiteral("hard.dat")))), 0);

    const FileResult result = copyFileBytes(path(QStringLiteral("data.dat")), path(target));

    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contentOf(path(QStringLiteral("data.dat"))), content);
}

void TestFileCopy::failedCopyLeavesNoPartialFile_data()
{
    QTest::addColumn<QString>("source"); // relative to the case's folder
    QTest::addColumn<QString>("target"); // absolute when it starts with '/'

    QTest::newRow("disk full") << "source" << "/dev/full";
    QTest::newRow("read-only folder") << "source" << "locked/copy.WBK";
    QTest::newRow("folder that does not exist") << "source" << "nowhere/copy.WBK";
    QTest::newRow("missing source") << "missing" << "copy.WBK";
    QTest::newRow("folder as source") << "locked" << "copy.WBK";
    QTest::newRow("named pipe as source") << "pipe" << "copy.WBK";
    QTest::newRow("named pipe as target") << "source" << "pipe";
}

void TestFileCopy::failedCopyLeavesNoPartialFile()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    const QByteArray content = write(QStringLiteral("source"), randomBytes(2 * 1024 * 1024));
    QCOMPARE(::mkfifo(qPrintable(path(QStringLiteral("pipe"))), 0600), 0);
    const ReadOnlyFolder locked(path(QStringLiteral("locked")));
    if (target.startsWith(QLatin1String("locked")) && !locked.isReadOnly())
        QSKIP("this machine cannot make a folder read-only for the superuser");
    const QString targetPath = target.startsWith('/') ? target : path(target);

    const FileResult result = copyFileBytes(path(source), targetPath);

    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    if (!target.startsWith('/') && target != QLatin1String("pipe"))
        QVERIFY(!QFile::exists(targetPath));
    QVERIFY(!QFile::exists(targetPath + QStringLiteral(".part")));
    QCOMPARE(contentOf(path(QStringLiteral("source"))), content);
}

void TestFileCopy::sourceInTheMiddleOfAWriteIsRefused()
{
    // A program writing a database holds SQLite's locks on it; a copy made meanwhile could
    // mix pages from before and after the write.
    SqliteConnection writer;
    QVERIFY(writer.open(path(QStringLiteral("busy.dat")), databaseKey(), SqliteConnection::Access::CreateIfMissing));
    QVERIFY(writer.execute(QStringLiteral("create table T (ID integer primary key, Name text)")));
    QVERIFY(writer.execute(QStringLiteral("begin immediate")));
    QVERIFY(writer.execute(QStringLiteral("insert into T (Name) values ('写了一半')")));

    QVERIFY(!copyFileBytes(path(QStringLiteral("busy.dat")), path(QStringLiteral("copy.WBK"))).ok);

    QVERIFY(writer.execute(QStringLiteral("commit")));
    QVERIFY(copyFileBytes(path(QStringLiteral("busy.dat")), path(QStringLiteral("copy.WBK"))).ok);
}

PANDREL_TEST_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
