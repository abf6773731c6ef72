#include "RecordingShell.h"
#include "TestMain.h"

#include "desk/ExchangeRatesPage.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

// The exchange-rate page on a local page written by the test: nothing reaches the network.
class TestExchangeRates : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void browserStartsWithTheFirstLoad();
    void halfHourlyReloadOnlyOnceStarted();
    void noContextMenu();
    void bankLabelOpensTheBank();

private:
    void writePage(const QString &title);
    // Waits for the browser's next finished load; its success.
    bool loaded(QSignalSpy &finished);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ExchangeRatesPage> m_page;
};

void TestExchangeRates::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writePage(QStringLiteral("牌价一"));
    m_shell = std::make_unique<RecordingShell>();
    m_page = std::make_unique<ExchangeRatesPage>(QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("rates.html"))));
    m_page->resize(640, 400);
    m_page->show();
}

void TestExchangeRates::cleanup()
{
    m_page.reset();
    m_shell.reset();
    m_dir.reset();
}

void TestExchangeRates::writePage(const QString &title)
{
    QFile file(m_dir->filePath(QStringLiteral("rates.html")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<html><head><meta charset=utf-8><title>%1</title></head>"
                              "<body style='margin:0'><div style='height:100%'>USD 7.10</div></body></html>")
                   .arg(title)
                   .toUtf8());
}

bool TestExchangeRates::loaded(QSignalSpy &finished)
{
    if (finished.isEmpty() && !finished.wait(30000))
        return false;
    return finished.takeFirst().constFirst().toBool();
}

// Whether the browser engine's library is in this process.
static bool engineLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

void TestExchangeRates::browserStartsWithTheFirstLoad()
{
    QVERIFY(!m_page->m_browser); // no browser engine at start-up
    QVERIFY(!engineLoaded());

    const WId nativeWindow = m_page->winId();

    m_page->m_refreshButton->click(); // "刷新" before the page was ever loaded

    QVERIFY(m_page->m_browser);
    QVERIFY(engineLoaded()); // from the plugin
    QSignalSpy finished(m_page->m_browser, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded(finished));
    QCOMPARE(m_page->m_browser->property("title").toString(), QStringLiteral("牌价一"));
    QCOMPARE(m_page->m_browser->parentWidget(), m_page.get());
    // A window recreated for composing on the graphics card shows black meanwhile.
    QCOMPARE(m_page->winId(), nativeWindow);
    QCOMPARE(m_page->windowHandle()->surfaceType(), QSurface::RasterSurface);

    writePage(QStringLiteral("牌价二"));
    m_page->m_refreshButton->click();
    QVERIFY(loaded(finished));
    QCOMPARE(m_page->m_browser->property("title").toString(), QStringLiteral("牌价二"));
}

void TestExchangeRates::halfHourlyReloadOnlyOnceStarted()
{
    m_page->reloadIfStarted();
    QVERIFY(!m_page->m_browser); // an unseen page is loaded fresh when first shown

    m_page->loadRates();
    QSignalSpy finished(m_page->m_browser, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded(finished));
    writePage(QStringLiteral("半小时后"));

    m_page->reloadIfStarted();

    QVERIFY(loaded(finished));
    QCOMPARE(m_page->m_browser->property("title").toString(), QStringLiteral("半小时后"));
}

void TestExchangeRates::noContextMenu()
{
    m_page->loadRates();
    QSignalSpy finished(m_page->m_browser, SIGNAL(loadFinished(bool)));
    QVERIFY(loaded(finished));
    QWidget *surface = m_page->m_browser->focusProxy();
    QVERIFY(surface);

    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(50, 50));
    QTest::qWait(500); // the page answers a right click asynchronously

    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestExchangeRates::bankLabelOpensTheBank()
{
    QCOMPARE(m_page->m_bankLabel->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(m_page->m_bankLabel, Qt::LeftButton);

    QCOMPARE(m_shell->calls(), QStringList{QStringLiteral("url https://www.icbc.com.cn/")});
    QVERIFY(!m_page->m_browser);
}

PANDREL_TEST_MAIN(TestExchangeRates)
#include "tst_exchangerates.moc"
