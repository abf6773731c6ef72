#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/SettingsPage.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "desk/ExchangeRatesPage.h"
#include "desk/PostCodesPage.h"
#include "desk/WorldClocksPage.h"
#include "safety/FeedbackDialog.h"
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
class TestDeskPages : public QObject
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
    void show(MainWindow::Page page) { m_window->m_pageTabs->setCurrentIndex(page); }

    BlockingInterceptor m_interceptor;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<MainWindow> m_window;
};

void TestDeskPages::initTestCase()
{
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_interceptor);
}

void TestDeskPages::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2024, 1, 15), QTime(8, 0), QTimeZone("Asia/Shanghai")));
    m_window = std::make_unique<MainWindow>();
    m_interceptor.requested.clear();
}

void TestDeskPages::cleanup()
{
    m_window.reset();
    m_clock.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestDeskPages::deskPagesLoadOnFirstShow()
{
    QVERIFY(m_window->startUp());
    QCOMPARE(m_window->m_postCodesPage->m_provinceCombo->count(), 0);
    QVERIFY(!m_window->m_worldClocksPage->places().isOpen());
    // The clocks ticked once at the end of the start-up.
    QCOMPARE(m_window->m_worldClocksPage->m_fixedTimeLabels.first()->text(), QStringLiteral("08:00:00"));

    show(MainWindow::PostCodePage);
    show(MainWindow::WorldClockPage);
    QVERIFY(m_window->m_postCodesPage->m_provinceCombo->findText(QStringLiteral("四川省")) >= 0);
    QVERIFY(m_window->m_postCodesPage->m_provinceCombo->currentText().isEmpty());
    QVERIFY(m_window->m_worldClocksPage->places().count() > 0);
    QCOMPARE(m_window->m_worldClocksPage->m_placeNameLabel->text(), m_window->m_worldClocksPage->places().text(QStringLiteral("AddName")));

    m_clock->advanceSeconds(1);
    m_window->clockTick();
    QCOMPARE(m_window->m_worldClocksPage->m_fixedTimeLabels.first()->text(), QStringLiteral("08:00:01"));
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestDeskPages::postCodesQueriedOnFirstShowOnly()
{
    QVERIFY(m_window->startUp());
    Recordset &rows = m_window->m_postCodesPage->postCodes();
    QVERIFY(!rows.isOpen());

    show(MainWindow::PostCodePage);
    QCOMPARE(rows.count(), m_folder->database().queryValue(QStringLiteral("Select count(*) from YBQH")).toInt());

    m_window->m_postCodesPage->m_areaEdit->setText(QStringLiteral("成都"));
    m_window->m_postCodesPage->queryPostCodes();
    const int chengdu = rows.count();
    show(MainWindow::WorkPage);
    show(MainWindow::PostCodePage);
    QCOMPARE(rows.count(), chengdu);
}

void TestDeskPages::automaticBackupReloadsTheDeskPages()
{
    QVERIFY(m_window->startUp());
    show(MainWindow::PostCodePage);
    show(MainWindow::WorldClockPage);
    PostCodesPage *postCodes = m_window->m_postCodesPage;
    postCodes->m_provinceCombo->setEditText(QStringLiteral("四川省"));
    postCodes->queryPostCodes();
    const int sichuan = postCodes->postCodes().count();
    QVERIFY(sichuan > 0);
    const int places = m_window->m_worldClocksPage->places().count();
    QVERIFY(places > 0);

    QVERIFY(m_window->runAutoBackup(m_folder->filePath(QStringLiteral("Bak"))));

    QCOMPARE(postCodes->m_provinceCombo->currentText(), QStringLiteral("四川省"));
    QCOMPARE(postCodes->postCodes().count(), sichuan);
    QCOMPARE(m_window->m_worldClocksPage->places().count(), places);
    QVERIFY(postCodes->m_provinceCombo->findText(QStringLiteral("四川省")) >= 0);
}

void TestDeskPages::clockFacesOnFirstShow()
{
    QImage face(40, 40, QImage::Format_RGB32);
    face.fill(Qt::yellow);
    QVERIFY(face.save(m_folder->filePath(QStringLiteral("Images/Clock1.bmp")), "BMP"));
    QVERIFY(m_window->startUp());
    QVERIFY(m_window->m_worldClocksPage->m_placeClock->face().isNull());

    show(MainWindow::WorldClockPage);

    QList<AnalogClock *> clocks = m_window->m_worldClocksPage->m_fixedClocks;
    clocks.append(m_window->m_worldClocksPage->m_placeClock);
    QCOMPARE(clocks.size(), 9);
    for (AnalogClock *clock : clocks)
        QCOMPARE(clock->face().size(), QSize(40, 40));
}

void TestDeskPages::exchangeRatesOnFirstShowAndEveryHalfHour()
{
    QVERIFY(m_window->startUp());
    m_window->m_trayIcon->setAvailable(true);
    m_window->halfHourTick(); // before the page was ever shown: only the icon
    QVERIFY(!m_window->m_exchangeRatesPage->m_browser);
    QVERIFY(m_window->m_trayIcon->isShown());

    m_window->show();
    show(MainWindow::ExchangeRatePage);
    QVERIFY(m_window->m_exchangeRatesPage->m_browser);
    QTRY_COMPARE_WITH_TIMEOUT(m_interceptor.requested.size(), 1, 30000);
    QCOMPARE(m_interceptor.requested.constFirst(), ExchangeRatesPage::quotationAddress());
    QCOMPARE(ExchangeRatesPage::quotationAddress().path(),
             QStringLiteral("/ICBCDynamicSite/Optimize/Quotation/QuotationListIframe.aspx"));

    m_window->m_trayIcon->removeIcon();
    m_window->halfHourTick();

    QVERIFY(m_window->m_trayIcon->isShown());
    QTRY_COMPARE_WITH_TIMEOUT(m_interceptor.requested.size(), 2, 30000);
    QCOMPARE(m_interceptor.requested.constLast(), ExchangeRatesPage::quotationAddress());
}

void TestDeskPages::deskToolButtons_data()
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

void TestDeskPages::deskToolButtons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, calls);
    QFETCH(QString, shown);
    QTemporaryDir bare;
    qputenv("XDG_DATA_HOME", bare.path().toUtf8());
    qputenv("XDG_DATA_DIRS", bare.path().toUtf8());
    QVERIFY(m_window->startUp());
    const qsizetype startUpCalls = m_shell->calls().size(); // the autostart entry
    m_prompter->answerNo();

    QPushButton *pressed = nullptr;
    for (QPushButton *candidate : m_window->m_settingsPage->findChildren<QPushButton *>()) {
        if (candidate->text() == button)
            pressed = candidate;
    }
    QVERIFY(pressed);
    pressed->click();

    QCOMPARE(m_shell->calls().mid(startUpCalls), calls);
    QCOMPARE(m_prompter->shown(), shown.isEmpty() ? QStringList{} : QStringList{shown});
}

void TestDeskPages::feedbackWindowFromItsButton()
{
    QVERIFY(m_window->startUp());
    QString title;
    QTimer closer; // closes the modal window once it is up
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<FeedbackDialog *>(QApplication::activeModalWidget())) {
            title = window->windowTitle();
            closer.stop();
            window->m_exitButton->click();
        }
    });
    closer.start();

    m_window->m_settingsPage->m_feedbackButton->click();

    QCOMPARE(title, QStringLiteral("Zorvik[Oribel] BUG/建议提交"));
}

PANDREL_TEST_MAIN(TestDeskPages)
#include "tst_deskpages.moc"
