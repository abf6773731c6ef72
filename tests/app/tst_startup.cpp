#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/SplashScreen.h"
#include "platform/Prompter.h"

#include <QDialogButtonBox>
#include <QLocalServer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <iostream>
#include <string>

namespace {

const char kCopyArgument[] = "--run-as-copy";
const QString kRunningMessage = QStringLiteral("Zorvik[Oribel]软件已在运行中，不能重复运行！");

// This test program started again as a copy of the program, as far as its start goes: it
// sets up as the program does, runs the running-copy check, reports each message box
// ("message|title|text"), says "started" and keeps running until its input closes.
int runAsCopy(const QString &programFolder)
{
    setUpApplication();
    ScriptedPrompter prompter;
    SingleInstance instance(programFolder);
    instance.warnAndClaim();
    for (int i = 0; i < prompter.shown().size(); ++i)
        std::cout << "message|" << prompter.titles().at(i).toStdString() << '|' << prompter.shown().at(i).toStdString() << '\n';
    std::cout << "started" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

// A running copy on `programFolder`, once it has started; its message boxes in `said`.
struct Copy {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QStringList said;

    explicit Copy(const QString &programFolder)
    {
        process->start(QCoreApplication::applicationFilePath(), {QLatin1String(kCopyArgument), programFolder});
        QByteArray output;
        while (!output.contains("started\n") && process->waitForReadyRead(20000))
            output += process->readAllStandardOutput();
        for (const QString &line : QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("message|")))
                said.append(line.mid(8));
        }
    }
    ~Copy()
    {
        process->closeWriteChannel();
        process->waitForFinished(10000);
    }
    bool started() const { return process->state() == QProcess::Running; }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void runningCopyIsFoundOnItsFolderOnly();
    void everyRunningCopyAnswers();
    void copiesBeforeGoOnAfterTheMessage();
    void setUpSpeaksChineseAndKeepsCaptions();
    void splashFadesInAndStaysShown();
};

void TestStartup::runningCopyIsFoundOnItsFolderOnly()
{
    QTemporaryDir one;
    QTemporaryDir other;
    SingleInstance first(one.path());
    QVERIFY(!first.otherCopyRunning());
    QVERIFY(first.claim());

    QVERIFY(SingleInstance(one.path()).otherCopyRunning());
    QVERIFY(!SingleInstance(other.path()).otherCopyRunning());
}

void TestStartup::everyRunningCopyAnswers()
{
    QTemporaryDir folder;
    const QStringList warned{QStringLiteral("|") + kRunningMessage}; // a box with an empty title
    auto first = std::make_unique<Copy>(folder.path());
    QVERIFY(first->started());
    QCOMPARE(first->said, QStringList());

    Copy second(folder.path());
    QVERIFY(second.started());
    QCOMPARE(second.said, warned);

    first.reset(); // the old copy closes; the second runs on
    Copy third(folder.path());
    QVERIFY(third.started());
    QCOMPARE(third.said, warned);
}

void TestStartup::copiesBeforeGoOnAfterTheMessage()
{
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstance>(folder.path());
    QVERIFY(first->claim());
    SingleInstance second(folder.path());
    QVERIFY(second.claim()); // both answer now
    QVERIFY(first->otherCopyRunning());

    first.reset();
    QVERIFY(second.claim());
    QVERIFY(!second.otherCopyRunning()); // alone: its own answer does not count
    QVERIFY(SingleInstance(folder.path()).otherCopyRunning());
}

void TestStartup::setUpSpeaksChineseAndKeepsCaptions()
{
    setUpApplication();
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);

    // Untitled message boxes show the application title; Qt has no display name of its own
    // to append to every window's caption.
    QCOMPARE(platform::applicationTitle(), QStringLiteral("Kelan [ZorvikOribel]"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());

    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("是(&Y)"));
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

void TestStartup::splashFadesInAndStaysShown()
{
    SplashScreen splash;
    QCOMPARE(splash.alpha(), 0);
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));

    splash.fadeInTick();
    QCOMPARE(splash.alpha(), 1);
    for (int tick = 0; tick < 400; ++tick)
        splash.fadeInTick();

    QCOMPARE(splash.alpha(), 255);
}

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kCopyArgument) == 0)
        return runAsCopy(QString::fromLocal8Bit(argv[2]));
    applyChineseFont();
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
