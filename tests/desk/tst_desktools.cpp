#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "desk/DeskTools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// The desk tools on a desktop laid out in a temporary folder: the XDG variables point there.
class TestDeskTools : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void programsOfTheDesktop_data();
    void programsOfTheDesktop();
    void webServices();
    void failedLaunchesAreSaid_data();
    void failedLaunchesAreSaid();
    void textEditorInAWindowFirst();
    void shutDownAsksFirst_data();
    void shutDownAsksFirst();

private:
    void install(const QString &id, const QString &keys);

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
};

void TestDeskTools::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    qputenv("XDG_CONFIG_HOME", m_root->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", m_root->filePath(QStringLiteral("etc")).toUtf8());
    qputenv("XDG_DATA_HOME", m_root->filePath(QStringLiteral("home")).toUtf8());
    qputenv("XDG_DATA_DIRS", m_root->filePath(QStringLiteral("usr")).toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
}

void TestDeskTools::cleanup()
{
    m_shell.reset();
    m_prompter.reset();
    m_root.reset();
}

void TestDeskTools::install(const QString &id, const QString &keys)
{
    QDir().mkpath(m_root->filePath(QStringLiteral("usr/applications")));
    QFile file(m_root->filePath(QStringLiteral("usr/applications/") + id));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=true\n%2\n").arg(id, keys).toUtf8());
}

void TestDeskTools::programsOfTheDesktop_data()
{
    QTest::addColumn<bool>("calculator"); // which button
    QTest::addColumn<QString>("installed"); // an entry's id, or none
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");

    QTest::newRow("calculator") << true << "galculator.desktop" << "Categories=Utility;Calculator;" << "";
    QTest::newRow("text editor") << false << "mousepad.desktop" << "MimeType=text/plain;" << "";
    QTest::newRow("no calculator") << true << "" << ""
                                   << "系统中没有找到计算器程序，请先安装一个计算器！";
    QTest::newRow("no text editor") << false << "viewer.desktop" << "MimeType=image/png;"
                                    << "系统中没有找到文本编辑程序，请先安装一个文本编辑器！";
}

void TestDeskTools::programsOfTheDesktop()
{
    QFETCH(bool, calculator);
    QFETCH(QString, installed);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    if (!installed.isEmpty())
        install(installed, keys);

    calculator ? callCalculator() : callTextEditor();

    if (message.isEmpty()) {
        QCOMPARE(m_shell->calls(), QStringList{QStringLiteral("start ") + m_root->filePath(QStringLiteral("usr/applications/") + installed)});
        QVERIFY(m_prompter->shown().isEmpty());
    } else {
        QVERIFY(m_shell->calls().isEmpty());
        QCOMPARE(m_prompter->shown(), QStringList{message});
    }
}

void TestDeskTools::webServices()
{
    openTranslator();
    openMap();

    QCOMPARE(m_shell->calls(), (QStringList{"url https://fanyi.baidu.com/", "url https://map.baidu.com/"}));
}

// The desktop had an entry or a browser, but nothing started: the user hears of it.
void TestDeskTools::failedLaunchesAreSaid_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("keys"); // of the one installed entry
    QTest::addColumn<QString>("message");

    QTest::newRow("translator") << "translator" << ""
                                << "无法打开网址：https://fanyi.baidu.com/\n系统中没有找到浏览器程序，请先安装一个浏览器！";
    QTest::newRow("map") << "map" << ""
                         << "无法打开网址：https://map.baidu.com/\n系统中没有找到浏览器程序，请先安装一个浏览器！";
    QTest::newRow("calculator") << "calculator" << "Categories=Utility;Calculator;"
                                << "找到的程序不能启动，请检查它是否完整安装！";
    QTest::newRow("terminal editor, no terminal")
        << "editor" << "MimeType=text/plain;\nTerminal=true"
        << "找到的程序需要在终端中运行，但系统中没有找到终端程序，请先安装一个终端！";
}

void TestDeskTools::failedLaunchesAreSaid()
{
    QFETCH(QString, tool);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    if (!keys.isEmpty())
        install(QStringLiteral("tool.desktop"), keys);
    m_shell->failLaunches();

    if (tool == QLatin1String("translator"))
        openTranslator();
    else if (tool == QLatin1String("map"))
        openMap();
    else
        tool == QLatin1String("calculator") ? callCalculator() : callTextEditor();

    QCOMPARE(m_shell->calls().size(), 1);
    QCOMPARE(m_prompter->shown(), QStringList{message});
}

// vim lists text/plain too, but started without a terminal nothing appears.
void TestDeskTools::textEditorInAWindowFirst()
{
    install(QStringLiteral("aaa-vim.desktop"), QStringLiteral("MimeType=text/plain;\nCategories=TextEditor;\nTerminal=true"));
    install(QStringLiteral("mousepad.desktop"), QStringLiteral("MimeType=text/plain;"));

    callTextEditor();

    QCOMPARE(m_shell->calls(), QStringList{QStringLiteral("start ") + m_root->filePath(QStringLiteral("usr/applications/mousepad.desktop"))});
}

void TestDeskTools::shutDownAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: nothing happens") << false;
    QTest::newRow("Yes: powered off") << true;
}

void TestDeskTools::shutDownAsksFirst()
{
    QFETCH(bool, yes);
    yes ? m_prompter->answerYes() : m_prompter->answerNo();

    shutDownComputerAsked();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("您确认关闭电脑吗?")});
    QCOMPARE(m_shell->calls(), yes ? QStringList{QStringLiteral("shutdown")} : QStringList{});
}

PANDREL_TEST_MAIN(TestDeskTools)
#include "tst_desktools.moc"
