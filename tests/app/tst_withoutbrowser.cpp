#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"
#include "desk/ExchangeRatesPage.h"

#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

// An installation whose browser plugin is missing: a process of its own, because a process
// looks for the plugin once.
class TestWithoutBrowser : public QObject
{
    Q_OBJECT

private slots:
    void everyPageShowsAndTheRatesPageSaysWhy();
};

void TestWithoutBrowser::everyPageShowsAndTheRatesPageSaysWhy()
{
    QTemporaryDir noPlugins;
    platform::setWebViewPluginFolder(noPlugins.path());
    TestProgramFolder folder;
    QVERIFY(folder.isValid());
    ScriptedPrompter prompter;
    RecordingShell shell;
    MainWindow window;
    QVERIFY(window.startUp());
    window.show();

    for (int page = 0; page < MainWindow::PageCount; ++page) {
        window.m_pageTabs->setCurrentIndex(page);
        QCoreApplication::processEvents();
        QCOMPARE(window.m_pageTabs->currentWidget()->isVisible(), true);
    }
    window.m_pageTabs->setCurrentIndex(MainWindow::ExchangeRatePage);
    window.m_exchangeRatesPage->m_refreshButton->click();
    window.halfHourTick();

    ExchangeRatesPage *rates = window.m_exchangeRatesPage;
    QVERIFY(!rates->m_browser);
    QVERIFY(rates->m_missingBrowserLabel && rates->m_missingBrowserLabel->isVisible());
    QCOMPARE(rates->m_missingBrowserLabel->text(), QStringLiteral("没有安装网页显示组件，本页面无法显示。"));
    QVERIFY(prompter.shown().isEmpty());
    QCOMPARE(rates->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).size(), 3); // one note, not one a click
}

PANDREL_TEST_MAIN(TestWithoutBrowser)
#include "tst_withoutbrowser.moc"
