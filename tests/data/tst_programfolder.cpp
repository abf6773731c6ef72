#include "TestMain.h"

#include "data/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Where the program keeps its data: beside a build's executable, or in the user's data
// folder for an installed program.
class TestFolderResolution : public QObject
{
    Q_OBJECT

private slots:
    void buildKeepsDataBesideTheProgram();
    void installationSeedsTheUsersFolder();

private:
    static void write(const QString &path, const QByteArray &content);
    static QByteArray read(const QString &path);
};

void TestFolderResolution::write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray TestFolderResolution::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFolderResolution::buildKeepsDataBesideTheProgram()
{
    QTemporaryDir build;
    QVERIFY(QDir(build.path()).mkpath(QStringLiteral("db")));

    QCOMPARE(resolveProgramFolder(build.path()), QDir(build.path()).absolutePath() + '/');
}

void TestFolderResolution::installationSeedsTheUsersFolder()
{
    QTemporaryDir prefix;
    const QString share = prefix.filePath(QStringLiteral("share/pandrel/"));
    write(share + QStringLiteral("DOZA.dat"), "template");
    write(share + QStringLiteral("Help/Help.htm"), "help v1");
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    const QString bin = prefix.filePath(QStringLiteral("bin"));

    const QString user = resolveProgramFolder(bin);
    QVERIFY(user.endsWith(QLatin1String("/Pandrel/")));
    QVERIFY(!user.startsWith(prefix.path()));
    QDir(user).removeRecursively(); // a first start of this installation
    QCOMPARE(resolveProgramFolder(bin), user);
    QCOMPARE(read(user + QStringLiteral("db/DOZA.dat")), QByteArray("template"));
    QCOMPARE(read(user + QStringLiteral("Help/Help.htm")), QByteArray("help v1"));
    QVERIFY(QFileInfo(user + QStringLiteral("Bak")).isDir());

    // The user's data stay; the help of a newer installation replaces the old one.
    write(user + QStringLiteral("db/DOZA.dat"), "the user's data");
    write(share + QStringLiteral("Help/Help.htm"), "help v2");
    QFile newer(share + QStringLiteral("Help/Help.htm"));
    QVERIFY(newer.open(QIODevice::ReadWrite));
    QVERIFY(newer.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    newer.close();
    resolveProgramFolder(bin);
    QCOMPARE(read(user + QStringLiteral("db/DOZA.dat")), QByteArray("the user's data"));
    QCOMPARE(read(user + QStringLiteral("Help/Help.htm")), QByteArray("help v2"));
    QDir(user).removeRecursively();
}

PANDREL_TEST_MAIN(TestFolderResolution)
#include "tst_programfolder.moc"
