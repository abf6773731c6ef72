#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "app/SingleInstance.h"
#include "app/TfrmInitSys.h"

#include <QLocalServer>
#include <QTemporaryDir>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void runningCopyIsFoundOnItsFolderOnly();
    void secondCopyGoesOnAfterTheMessage();
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

void TestStartup::secondCopyGoesOnAfterTheMessage()
{
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstance>(folder.path());
    QVERIFY(first->claim());
    ScriptedPrompter prompter;
    SingleInstance second(folder.path());
    second.warnAndClaim();
    QCOMPARE(prompter.shown(), QStringList{QStringLiteral("Zorvik[Oribel]软件已在运行中，不能重复运行！")});
    QVERIFY(!second.claim()); // the first copy still answers

    first.reset(); // the old copy has closed
    SingleInstance third(folder.path());
    third.warnAndClaim();
    QCOMPARE(prompter.shown().size(), 1);
    QVERIFY(SingleInstance(folder.path()).otherCopyRunning());
}

void TestStartup::splashFadesInAndStaysShown()
{
    TfrmInitSys splash;
    QCOMPARE(splash.alpha(), 0);
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));

    splash.tmrShowBitmapTimer();
    QCOMPARE(splash.alpha(), 1);
    for (int tick = 0; tick < 400; ++tick)
        splash.tmrShowBitmapTimer();

    QCOMPARE(splash.alpha(), 255);
}

PANDREL_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
