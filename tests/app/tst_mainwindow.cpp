#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/HelpBrowser.h"
#include "app/SettingsPage.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "data/Settings.h"
#include "desk/CalendarPage.h"
#include "safety/PasswordHash.h"
#include "safety/PasswordDialog.h"
#include "document/RichTextEditor.h"
#include "work/WorkBody.h"
#include "work/WorkListPage.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

// Each case: its own program folder, scripted prompts, a recording shell, and a main window
// created the way the program entry creates it.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pagesInOrder();
    void settingsLoadIntoTheControls();
    void backupFolderShown_data();
    void backupFolderShown();
    void missingBackupFolderIsNotStored();
    void passwordChangeSurvivesLaterSaves();
    void emptySettingsTableKeepsDefaults();
    void noSavingBeforeReady();
    void autostartFollowsTheSetting_data();
    void autostartFollowsTheSetting();
    void autoHideAfterStart();
    void userActivityCancelsAutoHide_data();
    void userActivityCancelsAutoHide();
    void minimiseGoesToNotificationArea();
    void withoutNotificationAreaMinimiseStaysOnTaskbar();
    void iconIsRegisteredAgain();
    void activationSetsCalendarToToday();
    void ctrlFOnlyOnWorkPage();
    void helpPageLoadsOnce();
    void aboutPictureLoadsOnFirstShow();
    void startupPassword_data();
    void startupPassword();
    void exitSavesDocumentAndRemovesIcon();
    void missingDatabaseStillOpensWindow();
    void damagedSettingsStillStart_data();
    void damagedSettingsStillStart();
    void savedListWidthIsRestored();
    void maximisedWindowOpensMaximised();
    void trayClicks_data();
    void trayClicks();

private:
    void setStoredSettings(const QString &assignments);
    bool create();
    // A key pressed by the user: it arrives at the focused control.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_window = std::make_unique<MainWindow>();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestMainWindow::setStoredSettings(const QString &assignments)
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set ") + assignments));
}

bool TestMainWindow::create()
{
    return m_window->startUp();
}

void TestMainWindow::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : m_window.get(), key, modifiers);
}

void TestMainWindow::pagesInOrder()
{
    QStringList captions;
    for (int i = 0; i < m_window->m_pageTabs->count(); ++i)
        captions.append(m_window->m_pageTabs->tabText(i));

    QCOMPARE(captions, (QStringList{" 事务跟踪 ", " 客户跟踪 ", " 联系人 ", " 常用文件夹 ", " 常用搜索 ",
                                    " 外汇牌价 ", " 邮政编码 ", " 万年历 ", " 世界时钟 ", "其他功能", "使用说明"}));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("   Zorvik [Oribel]"));
    QCOMPARE(m_window->size(), QSize(979, 563));
}

void TestMainWindow::settingsLoadIntoTheControls()
{
    setStoredSettings(QStringLiteral("AutoHide=1, AutoBak=0, UsePassLog=0, StartWithWIn=1, ColorWorkFin=123, LastDocWidth=333"));

    QVERIFY(create());

    SettingsPage *page = m_window->m_settingsPage;
    QVERIFY(page->m_autoHideCheck->isChecked());
    QVERIFY(!page->m_autoBackupCheck->isChecked());
    QVERIFY(!page->m_usePasswordCheck->isChecked());
    QVERIFY(page->m_startWithSystemCheck->isChecked());
    QCOMPARE(m_window->settings().finishedWorkColor, 123);
    QCOMPARE(m_window->settings().workListWidth, 333);
    QVERIFY(m_window->isReady());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestMainWindow::backupFolderShown_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown"); // relative to the program folder

    QTest::newRow("empty means the program's Bak") << "" << "Bak";
    QTest::newRow("stored folder") << "/srv/备份" << "/srv/备份";
}

void TestMainWindow::backupFolderShown()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set AutoBakPath=?"), {stored}));

    QVERIFY(create());

    const QString expected = shown.startsWith('/') ? shown : m_folder->path() + shown;
    QCOMPARE(m_window->m_settingsPage->m_autoBackupFolderEdit->text(), expected);
}

void TestMainWindow::missingBackupFolderIsNotStored()
{
    QVERIFY(create());
    m_window->m_settingsPage->m_autoBackupFolderEdit->setText(m_folder->filePath(QStringLiteral("没有这个文件夹")));
    m_window->m_settingsPage->m_autoHideCheck->click(); // any change saves the settings
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select AutoBakPath from TPara")), QString());

    m_window->m_settingsPage->m_autoBackupFolderEdit->setText(m_folder->filePath(QStringLiteral("Bak")));
    m_window->m_settingsPage->m_autoHideCheck->click();
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select AutoBakPath from TPara")), m_folder->filePath(QStringLiteral("Bak")));
}

void TestMainWindow::passwordChangeSurvivesLaterSaves()
{
    QVERIFY(create());
    const QString stored = hashPassword(QStringLiteral("新密码"));
    QVERIFY(saveLoginPassword(m_folder->database(), stored));

    m_window->m_settingsPage->m_usePasswordCheck->click();

    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select LogPass || '/' || UsePassLog from TPara")),
             stored + QStringLiteral("/1"));
}

void TestMainWindow::emptySettingsTableKeepsDefaults()
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TPara")));

    QVERIFY(create());
    QVERIFY(!m_window->m_settingsPage->m_autoHideCheck->isChecked());
    QVERIFY(!m_window->m_settingsPage->m_usePasswordCheck->isChecked());

    m_window->m_settingsPage->m_autoBackupCheck->click();
    m_window->m_settingsPage->m_autoHideCheck->click();
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) || AutoHide || AutoBak from TPara")),
             QStringLiteral("111"));
}

void TestMainWindow::noSavingBeforeReady()
{
    setStoredSettings(QStringLiteral("AutoHide=0, LastDocWidth=222"));
    m_window->m_settingsPage->m_autoHideCheck->click(); // before the window is created: nothing is written
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select AutoHide from TPara")), QStringLiteral("0"));
}

void TestMainWindow::autostartFollowsTheSetting_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("calls");
    QTest::addColumn<bool>("entry");

    QTest::newRow("off: written, then removed") << 0 << 2 << false;
    QTest::newRow("on: written") << 1 << 1 << true;
}

void TestMainWindow::autostartFollowsTheSetting()
{
    QFETCH(int, stored);
    QFETCH(int, calls);
    QFETCH(bool, entry);
    setStoredSettings(QStringLiteral("StartWithWIn=%1").arg(stored));
    const QString command = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Pandrel"));

    QVERIFY(create());

    QCOMPARE(m_shell->calls().size(), calls);
    QCOMPARE(m_shell->calls().first(), QStringLiteral("autostart SMVey ") + command);
    QCOMPARE(m_shell->autostartCommand(QStringLiteral("SMVey")).isEmpty(), !entry);

    m_window->m_settingsPage->m_startWithSystemCheck->click(); // the user turns it round
    QCOMPARE(m_shell->autostartCommand(QStringLiteral("SMVey")).isEmpty(), entry);
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select StartWithWIn from TPara")), QString::number(entry ? 0 : 1));
}

void TestMainWindow::autoHideAfterStart()
{
    setStoredSettings(QStringLiteral("AutoHide=1"));
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(true);
    m_window->show();
    QVERIFY(m_window->startHidePending());

    m_window->hideAtStartTick();

    QVERIFY(m_window->isHiddenAway());
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->startHidePending());
}

void TestMainWindow::userActivityCancelsAutoHide_data()
{
    QTest::addColumn<bool>("key");
    QTest::newRow("a key") << true;
    QTest::newRow("a click on a tab") << false;
}

void TestMainWindow::userActivityCancelsAutoHide()
{
    QFETCH(bool, key);
    setStoredSettings(QStringLiteral("AutoHide=1"));
    QVERIFY(create());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    if (key) {
        press(Qt::Key_A);
    } else {
        QTabBar *tabs = m_window->m_pageTabs->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    }

    QVERIFY(!m_window->startHidePending());
    QVERIFY(!m_window->isHiddenAway());
}

void TestMainWindow::minimiseGoesToNotificationArea()
{
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    m_window->showMinimized();

    QTRY_VERIFY(!m_window->isVisible());
    QVERIFY(m_window->isHiddenAway());
    m_window->toggleHidden(); // double-click on the icon
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
    QVERIFY(!m_window->isHiddenAway());
}

void TestMainWindow::withoutNotificationAreaMinimiseStaysOnTaskbar()
{
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(false);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    m_window->m_settingsPage->m_minimiseButton->click();

    QVERIFY(m_window->isHiddenAway());
    QVERIFY(m_window->isVisible()); // still on the taskbar, so it can be found again
    QVERIFY(m_window->isMinimized());
    m_window->toggleHidden();
    QVERIFY(!m_window->isMinimized());
    QVERIFY(!m_window->isHiddenAway());
}

void TestMainWindow::iconIsRegisteredAgain()
{
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(m_window->m_trayIcon->isShown());

    m_window->m_trayIcon->removeIcon(); // the shell lost it, say after a restart of the panel
    m_window->refreshTrayIconTick();

    QVERIFY(m_window->m_trayIcon->isShown());
}

void TestMainWindow::activationSetsCalendarToToday()
{
    ManualClock clock(QDateTime(QDate(2023, 3, 22), QTime(8, 0)));
    QVERIFY(create());
    m_window->m_calendarPage->setCurrentDate(QDate(1990, 5, 1));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(m_window->m_calendarPage->currentDate(), QDate(2023, 3, 22));

    // Back from another window the next day.
    m_window->m_calendarPage->setCurrentDate(QDate(1990, 5, 1));
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    clock.set(QDateTime(QDate(2023, 3, 23), QTime(8, 0)));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(m_window->m_calendarPage->currentDate(), QDate(2023, 3, 23));
}

void TestMainWindow::ctrlFOnlyOnWorkPage()
{
    QVERIFY(create());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QSignalSpy find(m_window.get(), &MainWindow::findInDocumentRequested);

    press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(find.count(), 1);
    press(Qt::Key_F);
    m_window->m_pageTabs->setCurrentIndex(MainWindow::FolderPage);
    press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(find.count(), 1);
}

void TestMainWindow::helpPageLoadsOnce()
{
    auto writeHelp = [this](const QString &text) {
        QFile file(m_folder->filePath(QStringLiteral("Help/Help.htm")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("<html><body><p>%1</p></body></html>").arg(text).toUtf8());
    };
    writeHelp(QStringLiteral("第一版说明"));
    QVERIFY(create());

    m_window->m_pageTabs->setCurrentIndex(MainWindow::HelpPage);
    QVERIFY(m_window->m_helpBrowser->toPlainText().contains(QStringLiteral("第一版说明")));
    writeHelp(QStringLiteral("第二版说明"));
    m_window->m_pageTabs->setCurrentIndex(MainWindow::WorkPage);
    m_window->m_pageTabs->setCurrentIndex(MainWindow::HelpPage);

    QVERIFY(m_window->m_helpBrowser->toPlainText().contains(QStringLiteral("第一版说明")));
}

void TestMainWindow::aboutPictureLoadsOnFirstShow()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(m_folder->filePath(QStringLiteral("Images/Vey1.bmp"))));
    QVERIFY(create());
    QVERIFY(m_window->m_settingsPage->m_aboutPictureLabel->pixmap().isNull());

    m_window->m_pageTabs->setCurrentIndex(MainWindow::SettingsPageIndex);

    QCOMPARE(m_window->m_settingsPage->m_aboutPictureLabel->pixmap().size(), QSize(40, 30));
    QCOMPARE(m_window->m_settingsPage->m_versionLabel->text(), QStringLiteral("Zorvik [Oribel] V1.101"));
}

void TestMainWindow::startupPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("starts");

    QTest::newRow("right password") << hashPassword(QStringLiteral("Abc123")) << "Abc123" << true;
    QTest::newRow("wrong case") << hashPassword(QStringLiteral("Abc123")) << "abc123" << false;
    QTest::newRow("no password, empty answer") << "" << "" << true;
    QTest::newRow("no password, an answer") << "" << "x" << false;
}

void TestMainWindow::startupPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, answer);
    QFETCH(bool, starts);
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set UsePassLog=1, LogPass=?"), {stored}));
    QString asked;
    QTimer::singleShot(0, [&] {
        auto *prompt = qobject_cast<PasswordDialog *>(QApplication::activeModalWidget());
        QVERIFY(prompt);
        asked = prompt->m_promptLabel->text();
        prompt->m_passwordEdit->setText(answer);
        prompt->m_okButton->click();
    });

    QCOMPARE(create(), starts);

    QCOMPARE(asked, QStringLiteral("请输入登陆密码："));
    QCOMPARE(m_window->isReady(), starts);
    QCOMPARE(m_prompter->shown(), starts ? QStringList() : QStringList{QStringLiteral("密码错误！")});
}

void TestMainWindow::exitSavesDocumentAndRemovesIcon()
{
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(true);
    m_window->show();
    m_window->m_trayIcon->addIcon();
    const qint64 item = m_window->m_workPage->documentOwner();
    QVERIFY(item > 0);
    QTextCursor typing = m_window->m_workPage->m_documentEditor->m_textEdit->textCursor();
    typing.select(QTextCursor::Document);
    typing.insertText(QStringLiteral("退出前写下的内容"));
    QSignalSpy closed(m_window.get(), &MainWindow::closed);

    m_window->m_trayIcon->m_exitAction->trigger();

    QTextDocument stored;
    workbody::load(m_folder->database(), item, stored);
    QCOMPARE(stored.toPlainText(), QStringLiteral("退出前写下的内容"));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->m_trayIcon->isShown());
}

void TestMainWindow::missingDatabaseStillOpensWindow()
{
    m_window.reset();
    m_folder = std::make_unique<TestProgramFolder>(TestProgramFolder::DatabaseSetup::Missing);
    m_folder->database().openAtStartup();
    m_window = std::make_unique<MainWindow>();

    QVERIFY(create());
    m_window->show();

    QVERIFY(m_window->isVisible());
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！")});
}

void TestMainWindow::damagedSettingsStillStart_data()
{
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<bool>("passwordAsked");

    QTest::newRow("settings table unreadable") << QStringList{"Drop table TPara"} << false;
    QTest::newRow("a column missing") << QStringList{"Update TPara Set UsePassLog=1, LogPass='secret'",
                                                     "Create table T2 as Select ID, LogPass, UsePassLog from TPara",
                                                     "Drop table TPara", "Alter table T2 rename to TPara"}
                                      << true;
}

void TestMainWindow::damagedSettingsStillStart()
{
    QFETCH(QStringList, damage);
    QFETCH(bool, passwordAsked);
    for (const QString &statement : damage)
        QVERIFY(m_folder->database().execute(statement));
    bool asked = false;
    // The answer goes with this case: a start-up that asks nothing leaves it pending.
    QObject answerer;
    QTimer::singleShot(0, &answerer, [&] {
        if (auto *prompt = qobject_cast<PasswordDialog *>(QApplication::activeModalWidget())) {
            asked = true;
            prompt->m_passwordEdit->setText(QStringLiteral("secret"));
            prompt->m_okButton->click();
        }
    });

    QVERIFY(create());

    QCOMPARE(asked, passwordAsked);
    QVERIFY(m_window->m_workPage->workItems().count() > 0); // the work list loaded all the same
}

void TestMainWindow::savedListWidthIsRestored()
{
    setStoredSettings(QStringLiteral("LastDocWidth=620"));
    QVERIFY(create());

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QCOMPARE(m_window->size(), QSize(979, 563));
    QCOMPARE(m_window->m_workPage->listWidth(), 620); // the editor's tool bar gives way
}

void TestMainWindow::maximisedWindowOpensMaximised()
{
    QVERIFY(create());
    m_window->showAsLastLeft();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(!m_window->isMaximized());

    m_window->showMaximized();
    QTRY_COMPARE(m_folder->database().queryValue(QStringLiteral("Select WinMaximized from TPara")), QStringLiteral("1"));

    // The next start opens maximised, and so does the way back from the notification area.
    m_window = std::make_unique<MainWindow>();
    QVERIFY(create());
    m_window->showAsLastLeft();
    QTRY_VERIFY(m_window->isMaximized());
    m_window->toggleHidden();
    m_window->toggleHidden();
    QTRY_VERIFY(m_window->isMaximized());

    m_window->showNormal();
    QTRY_COMPARE(m_folder->database().queryValue(QStringLiteral("Select WinMaximized from TPara")), QStringLiteral("0"));
}

void TestMainWindow::trayClicks_data()
{
    using Reasons = QList<int>;
    QTest::addColumn<bool>("hiddenBefore");
    QTest::addColumn<Reasons>("reasons");
    QTest::addColumn<bool>("hiddenAfter");

    const int single = QSystemTrayIcon::Trigger;
    const int twice = QSystemTrayIcon::DoubleClick;
    QTest::newRow("single click restores") << true << Reasons{single} << false;
    QTest::newRow("single click leaves a shown window") << false << Reasons{single} << false;
    QTest::newRow("double click where both arrive restores once") << true << Reasons{single, twice} << false;
    QTest::newRow("double click where both arrive hides") << false << Reasons{single, twice} << true;
    QTest::newRow("double click alone restores") << true << Reasons{twice} << false;
    QTest::newRow("double click alone hides") << false << Reasons{twice} << true;
    QTest::newRow("right click changes nothing") << true << Reasons{int(QSystemTrayIcon::Context)} << true;
}

void TestMainWindow::trayClicks()
{
    QFETCH(bool, hiddenBefore);
    QFETCH(QList<int>, reasons);
    QFETCH(bool, hiddenAfter);
    QVERIFY(create());
    m_window->m_trayIcon->setAvailable(true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    if (hiddenBefore)
        m_window->toggleHidden();

    for (int reason : reasons)
        emit m_window->m_trayIcon->systemIcon().activated(QSystemTrayIcon::ActivationReason(reason));

    QCOMPARE(m_window->isVisible(), !hiddenAfter);
    QCOMPARE(m_window->isHiddenAway(), hiddenAfter);
    if (hiddenBefore && !hiddenAfter) { // restored: centred on its screen
        const QRect screen = m_window->screen()->geometry();
        QCOMPARE(m_window->pos(), QPoint(screen.x() + (screen.width() - m_window->width()) / 2,
                                         screen.y() + (screen.height() - m_window->height()) / 2));
    }
}

PANDREL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
