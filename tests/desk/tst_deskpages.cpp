#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/SettingsPage.h"
#include "app/TfrmWorkMain.h"
#include "app/TrayIcon.h"
#include "desk/ExchangeRatesPage.h"
#include "desk/PostCodesPage.h"
#include "desk/WorldClocksPage.h"
#include "safety/TfrmBug.h"
#include "widgets/AnalogClock.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeZone>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// Keeps every address the browser asks for and lets none of them out.
class BlockingInterceptor final : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        requested.append(info.requestUrl());
        info.block(true);
    }
    QList<QUrl> requested;
};

} // namespace

// The desk pages as the main window loads them at start-up and on their first show.
class TestDeskMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void deskPagesLoadOnFirstShow();
    void postCodesQueriedOnFirstShowOnly();
    void automaticBackupReloadsTheDeskPages();
    void clockFacesOnFirstShow();
    void exchangeRatesOnFirstShowAndEveryHalfHour();
    void deskToolButtons_data();
    void deskToolButtons();
    void feedbackWindowFromItsButton();

private:
    void show(TfrmWorkMain::Page page) { m_window->PageControl1->setCurrentIndex(page); }

    BlockingInterceptor m_interceptor;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<TfrmWorkMain> m_window;
};

void TestDeskMain::initTestCase()
{
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_interceptor);
}

void TestDeskMain::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2024, 1, 15), QTime(8, 0), QTimeZone("Asia/Shanghai")));
    m_window = std::make_unique<TfrmWorkMain>();
    m_interceptor.requested.clear();
}

void TestDeskMain::cleanup()
{
    m_window.reset();
    m_clock.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestDeskMain::deskPagesLoadOnFirstShow()
{
    QVERIFY(m_window->FormCreate());
    QCOMPARE(m_window->postCodes->cmbSZM->count(), 0);
    QVERIFY(!m_window->worldClocks->dsTimeZone().isOpen());
    // The clocks ticked once at the end of the start-up.
    QCOMPARE(m_window->worldClocks->fixedTimes.first()->text(), QStringLiteral("08:00:00"));

    show(TfrmWorkMain::PostCodePage);
    show(TfrmWorkMain::WorldClockPage);
    QVERIFY(m_window->postCodes->cmbSZM->findText(QStringLiteral("四川省")) >= 0);
    QVERIFY(m_window->postCodes->cmbSZM->currentText().isEmpty());
    QVERIFY(m_window->worldClocks->dsTimeZone().count() > 0);
    QCOMPARE(m_window->worldClocks->Label28->text(), m_window->worldClocks->dsTimeZone().text(QStringLiteral("AddName")));

    m_clock->advanceSeconds(1);
    m_window->Timer1Timer();
    QCOMPARE(m_window->worldClocks->fixedTimes.first()->text(), QStringLiteral("08:00:01"));
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestDeskMain::postCodesQueriedOnFirstShowOnly()
{
    QVERIFY(m_window->FormCreate());
    Recordset &rows = m_window->postCodes->dsPostCode();
    QVERIFY(!rows.isOpen());

    show(TfrmWorkMain::PostCodePage);
    QCOMPARE(rows.count(), m_folder->dm().GetDataBySQL(QStringLiteral("Select count(*) from YBQH")).toInt());

    m_window->postCodes->EditAreaName->setText(QStringLiteral("成都"));
    m_window->postCodes->cmdQueryPostCodeClick();
    const int chengdu = rows.count();
    show(TfrmWorkMain::WorkPage);
    show(TfrmWorkMain::PostCodePage);
    QCOMPARE(rows.count(), chengdu);
}

void TestDeskMain::automaticBackupReloadsTheDeskPages()
{
    QVERIFY(m_window->FormCreate());
    show(TfrmWorkMain::PostCodePage);
    show(TfrmWorkMain::WorldClockPage);
    PostCodesPage *postCodes = m_window->postCodes;
    postCodes->cmbSZM->setEditText(QStringLiteral("四川省"));
    postCodes->cmdQueryPostCodeClick();
    const int sichuan = postCodes->dsPostCode().count();
    QVERIFY(sichuan > 0);
    const int places = m_window->worldClocks->dsTimeZone().count();
    QVERIFY(places > 0);

    QVERIFY(m_window->AutoBakData(m_folder->filePath(QStringLiteral("Bak"))));

    QCOMPARE(postCodes->cmbSZM->currentText(), QStringLiteral("四川省"));
    QCOMPARE(postCodes->dsPostCode().count(), sichuan);
    QCOMPARE(m_window->worldClocks->dsTimeZone().count(), places);
    QVERIFY(postCodes->cmbSZM->findText(QStringLiteral("四川省")) >= 0);
}

void TestDeskMain::clockFacesOnFirstShow()
{
    QImage face(40, 40, QImage::Format_RGB32);
    face.fill(Qt::yellow);
    QVERIFY(face.save(m_folder->filePath(QStringLiteral("Images/Clock1.bmp")), "BMP"));
    QVERIFY(m_window->FormCreate());
    QVERIFY(m_window->worldClocks->BmpClock9->face().isNull());

    show(TfrmWorkMain::WorldClockPage);

    QList<AnalogClock *> clocks = m_window->worldClocks->fixedClocks;
    clocks.append(m_window->worldClocks->BmpClock9);
    QCOMPARE(clocks.size(), 9);
    for (AnalogClock *clock : clocks)
        QCOMPARE(clock->face().size(), QSize(40, 40));
}

void TestDeskMain::exchangeRatesOnFirstShowAndEveryHalfHour()
{
    QVERIFY(m_window->FormCreate());
    m_window->tray->setAvailable(true);
    m_window->TimerWEBUpdateTimer(); // before the page was ever shown: only the icon
    QVERIFY(!m_window->exchangeRates->WebBrowser1);
    QVERIFY(m_window->tray->isShown());

    m_window->show();
    show(TfrmWorkMain::ExchangeRatePage);
    QVERIFY(m_window->exchangeRates->WebBrowser1);
    QTRY_COMPARE_WITH_TIMEOUT(m_interceptor.requested.size(), 1, 30000);
    QCOMPARE(m_interceptor.requested.constFirst(), ExchangeRatesPage::quotationAddress());
    QCOMPARE(ExchangeRatesPage::quotationAddress().path(),
             QStringLiteral("/ICBCDynamicSite/Optimize/Quotation/QuotationListIframe.aspx"));

    m_window->tray->RemoveIcon();
    m_window->TimerWEBUpdateTimer();

    QVERIFY(m_window->tray->isShown());
    QTRY_COMPARE_WITH_TIMEOUT(m_interceptor.requested.size(), 2, 30000);
    QCOMPARE(m_interceptor.requested.constLast(), ExchangeRatesPage::quotationAddress());
}

void TestDeskMain::deskToolButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("shown");

    QTest::newRow("translator") << "调用雅虎翻译器" << QStringList{"url https://fanyi.baidu.com/"} << "";
    QTest::newRow("map") << "调用电子地图" << QStringList{"url https://map.baidu.com/"} << "";
    QTest::newRow("shut down, answered No") << "关闭计算机" << QStringList{} << "您确认关闭电脑吗?";
    QTest::newRow("calculator on a bare desktop") << "调用计算器" << QStringList{}
                                                  << "系统中没有找到计算器程序，请先安装一个计算器！";
}

void TestDeskMain::deskToolButtons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, calls);
    QFETCH(QString, shown);
    QTemporaryDir bare;
    qputenv("XDG_DATA_HOME", bare.path().toUtf8());
    qputenv("XDG_DATA_DIRS", bare.path().toUtf8());
    QVERIFY(m_window->FormCreate());
    const qsizetype startUpCalls = m_shell->calls().size(); // the autostart entry
    m_prompter->answerNo();

    QPushButton *pressed = nullptr;
    for (QPushButton *candidate : m_window->TabSheet10->findChildren<QPushButton *>()) {
        if (candidate->text() == button)
            pressed = candidate;
    }
    QVERIFY(pressed);
    pressed->click();

    QCOMPARE(m_shell->calls().mid(startUpCalls), calls);
    QCOMPARE(m_prompter->shown(), shown.isEmpty() ? QStringList{} : QStringList{shown});
}

void TestDeskMain::feedbackWindowFromItsButton()
{
    QVERIFY(m_window->FormCreate());
    QString title;
    QTimer closer; // closes the modal window once it is up
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<TfrmBug *>(QApplication::activeModalWidget())) {
            title = window->windowTitle();
            closer.stop();
            window->cmdCancel->click();
        }
    });
    closer.start();

    m_window->TabSheet10->Button22->click();

    QCOMPARE(title, QStringLiteral("Zorvik[Oribel] BUG/建议提交"));
}

PANDREL_TEST_MAIN(TestDeskMain)
#include "tst_deskmain.moc"
