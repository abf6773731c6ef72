#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"

#include <QLabel>
#include <QMenu>

#include "work/Reminders.h"
#include "work/ReminderWindow.h"
#include "work/WorkListPage.h"

// The minute tick over the reminder cache, with the clock set by the test.
class TestReminders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dueComparesMinuteTexts_data();
    void dueComparesMinuteTexts();
    void oneReminderPerTickInCacheOrder();
    void pastReminderComesAfterTheReload();
    void itemsInProgressAreNeverReminded();
    void failedMarkIsRemindedAfterReload();
    void snoozedReminderComesBackOnce_data();
    void snoozedReminderComesBackOnce();
    void reminderWithoutTimeIsNeverDue_data();
    void reminderWithoutTimeIsNeverDue();
    void nextOccurrenceIsRemindedAtItsTime();
    void unfinishedSeriesRemindsEveryOccurrence();

private:
    QString hinted();
    // The reminder windows open now, by the subject they show.
    QStringList reminderWindows();
    void tickAt(const QDateTime &now);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<MainWindow> m_window;
};

void TestReminders::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork")));
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, UseTimeHint, TimeHint, HasHinted) values "
        "(7, '第一', '办公事务', 1, 0, 1, '2026-12-10 09:00:00', 0), "
        "(3, '第二', '办公事务', 1, 0, 1, '2026-12-10 09:00:00', 0), "
        "(9, '第三', '办公事务', 1, 0, 1, '2026-12-10 09:00:59', 0), "
        "(4, '进行中', '办公事务', 2, 0, 1, '2026-12-10 08:00:00', 0), "
        "(5, '以后', '办公事务', 1, 0, 1, '2026-12-10 09:01:00', 0)")));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
    m_window = std::make_unique<MainWindow>();
    QVERIFY(m_window->startUp());
}

void TestReminders::cleanup()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ReminderWindow *>(window))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window.reset();
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

QString TestReminders::hinted()
{
    return m_folder->database().queryValue(QStringLiteral("Select group_concat(ID) from (Select ID from TWork where HasHinted=1 Order by ID)"));
}

QStringList TestReminders::reminderWindows()
{
    QStringList subjects;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *hint = qobject_cast<ReminderWindow *>(window); hint && hint->isVisible())
            subjects.append(hint->m_subjectLabel->text());
    }
    subjects.sort();
    return subjects;
}

void TestReminders::tickAt(const QDateTime &now)
{
    m_clock->set(now);
    m_window->minuteTick();
}

void TestReminders::dueComparesMinuteTexts_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("due");

    QTest::newRow("a minute early") << QTime(8, 59, 59) << -1;
    QTest::newRow("the exact minute") << QTime(9, 0, 0) << 0;
    QTest::newRow("seconds do not count") << QTime(9, 0, 30) << 0;
    QTest::newRow("overdue") << QTime(17, 45) << 0;
}

void TestReminders::dueComparesMinuteTexts()
{
    QFETCH(QTime, now);
    QFETCH(int, due);
    const QList<ReminderEntry> cache{{1, QDateTime(QDate(2026, 12, 10), QTime(9, 0, 40)), false}};

    QCOMPARE(dueReminder(cache, QDateTime(QDate(2026, 12, 10), now)), due);
}

void TestReminders::oneReminderPerTickInCacheOrder()
{
    const QDateTime nine(QDate(2026, 12, 10), QTime(9, 0, 5));
    tickAt(nine);
    QCOMPARE(hinted(), QStringLiteral("3")); // the cache comes in the table's order, here by ID
    QCOMPARE(reminderWindows(), QStringList{QStringLiteral("第二")});
    tickAt(nine.addSecs(60));
    QCOMPARE(hinted(), QStringLiteral("3,5")); // 09:01 has come, and 5 stands before 7
    tickAt(nine.addSecs(120));
    QCOMPARE(hinted(), QStringLiteral("3,5,7"));
    tickAt(nine.addSecs(180));
    QCOMPARE(hinted(), QStringLiteral("3,5,7,9"));
    tickAt(nine.addSecs(240));
    QCOMPARE(hinted(), QStringLiteral("3,5,7,9"));
    QCOMPARE(reminderWindows().size(), 4);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ReminderWindow *>(window))
            window->close();
    }
}

void TestReminders::pastReminderComesAfterTheReload()
{
    tickAt(QDateTime(QDate(2026, 12, 10), QTime(8, 30)));
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, UseTimeHint, TimeHint, HasHinted) values "
        "(1, '补记的', '办公事务', 1, 0, 1, '2026-12-01 10:00:00', 0)")));
    tickAt(QDateTime(QDate(2026, 12, 10), QTime(8, 31)));
    QCOMPARE(hinted(), QString()); // saved elsewhere: not in the cache yet

    m_window->m_workPage->loadList();
    tickAt(QDateTime(QDate(2026, 12, 10), QTime(8, 32)));

    QCOMPARE(hinted(), QStringLiteral("1"));
}

void TestReminders::itemsInProgressAreNeverReminded()
{
    for (int minute = 0; minute < 10; ++minute)
        tickAt(QDateTime(QDate(2026, 12, 10), QTime(10, minute)));
    QVERIFY(!hinted().split(',').contains(QStringLiteral("4")));
}

void TestReminders::failedMarkIsRemindedAfterReload()
{
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Create trigger refuse before update of HasHinted on TWork when new.ID=3 begin select raise(abort, 'refused'); end")));
    const QDateTime nine(QDate(2026, 12, 10), QTime(9, 0));
    tickAt(nine);
    QCOMPARE(m_window->m_workPage->reminders().at(0).shown, true); // shown once, in memory
    tickAt(nine.addSecs(60));
    QCOMPARE(hinted(), QStringLiteral("5"));

    m_window->m_workPage->loadList();

    QCOMPARE(m_window->m_workPage->reminders().at(0).id, 3);
    QCOMPARE(m_window->m_workPage->reminders().at(0).shown, false); // due again
}

void TestReminders::snoozedReminderComesBackOnce_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("minutes");

    QTest::newRow("5 minutes") << "5分钟后再提醒" << 5;
    QTest::newRow("an hour, across the hour") << "1小时后再提醒" << 60;
}

void TestReminders::snoozedReminderComesBackOnce()
{
    QFETCH(QString, choice);
    QFETCH(int, minutes);
    const QDateTime shown(QDate(2026, 12, 10), QTime(9, 0, 40));
    tickAt(shown);
    ReminderWindow *hint = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *candidate = qobject_cast<ReminderWindow *>(window); candidate && candidate->isVisible())
            hint = candidate;
    }
    QVERIFY(hint);
    QAction *later = nullptr;
    for (QAction *action : hint->m_snoozeMenu->actions()) {
        if (action->text() == choice)
            later = action;
    }
    QVERIFY(later);

    later->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(reminderWindows(), QStringList());
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select TimeHint||'/'||HasHinted from TWork where ID=3")),
             shown.addSecs(minutes * 60).toString(QStringLiteral("yyyy-MM-dd HH:mm:00/0")));
    // The other items due by then come first, one a tick; then item 3 once, at its minute.
    for (int tick = 1; tick <= minutes + 5; ++tick)
        tickAt(shown.addSecs(tick * 60));
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select HasHinted from TWork where ID=3")), QStringLiteral("1"));
    QCOMPARE(reminderWindows().count(QStringLiteral("第二")), 1);
}

void TestReminders::reminderWithoutTimeIsNeverDue_data()
{
    QTest::addColumn<QVariant>("time");
    QTest::newRow("no time") << QVariant();
    QTest::newRow("the zero date") << QVariant(QStringLiteral("1899-12-30 00:00:00"));
}

void TestReminders::reminderWithoutTimeIsNeverDue()
{
    QFETCH(QVariant, time);
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork")));
    QVERIFY(m_folder->database().execute(QStringLiteral("Insert into TWork (ID, Title, WorkType, FinStu, ZY, UseTimeHint, TimeHint, HasHinted) "
                                                  "values (1, '没有时间', '办公事务', 1, 0, 1, ?, 0)"), {time}));
    m_window->m_workPage->loadList();

    tickAt(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));

    QVERIFY(!reminderWindows().contains(QStringLiteral("没有时间")));
    QCOMPARE(hinted(), QString());
}

void TestReminders::nextOccurrenceIsRemindedAtItsTime()
{
    // A rule the editor cannot show (the last of Monday and Friday: Fridays) still repeats.
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, UseTimeHint, TimeHint, HasHinted, RRule, UID) values "
        "(20, '周报', '办公事务', 1, 0, 1, '2026-12-04 17:00:00', 1, 'FREQ=WEEKLY;BYDAY=MO,FR;BYSETPOS=-1', 'weekly-report')")));
    WorkListPage *page = m_window->m_workPage;
    page->loadList();
    QVERIFY(page->workItems().locate(20));

    page->m_listMenu->actions().at(2)->trigger(); // 已完成

    tickAt(QDateTime(QDate(2026, 12, 11), QTime(16, 59)));
    QCOMPARE(reminderWindows(), QStringList());
    tickAt(QDateTime(QDate(2026, 12, 11), QTime(17, 0)));
    QCOMPARE(reminderWindows(), QStringList{QStringLiteral("周报")});
    QCOMPARE(dm.queryValue(QStringLiteral("Select RRule from TWork where TimeHint='2026-12-11 17:00:00'")),
             QStringLiteral("FREQ=WEEKLY;BYDAY=MO,FR;BYSETPOS=-1"));
}

void TestReminders::unfinishedSeriesRemindsEveryOccurrence()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, TimeStart, UseTimeHint, TimeHint, HasHinted, RRule, UID) values "
        "(20, '周报', '办公事务', 1, 0, '2026-12-11 00:00:00', 1, '2026-12-11 17:00:00', 0, 'FREQ=WEEKLY;BYDAY=FR', 'weekly-report')")));
    WorkListPage *page = m_window->m_workPage;
    page->loadList();
    const QString series = QStringLiteral("Select group_concat(TimeHint || '/' || FinStu || '/' || HasHinted, ' ') from "
                                          "(Select TimeHint, FinStu, HasHinted from TWork Order by TimeHint)");

    // Never finished: each Friday still reminds, and the list holds the one to come.
    tickAt(QDateTime(QDate(2026, 12, 11), QTime(17, 0)));
    QCOMPARE(dm.queryValue(series), QStringLiteral("2026-12-11 17:00:00/1/1 2026-12-18 17:00:00/1/0"));
    QCOMPARE(page->workItems().count(), 2);
    tickAt(QDateTime(QDate(2026, 12, 18), QTime(17, 0)));
    QCOMPARE(reminderWindows(), (QStringList{QStringLiteral("周报"), QStringLiteral("周报")}));
    QCOMPARE(dm.queryValue(series),
             QStringLiteral("2026-12-11 17:00:00/1/1 2026-12-18 17:00:00/1/1 2026-12-25 17:00:00/1/0"));

    // Finishing the first one late finds its follower there already.
    QVERIFY(page->workItems().locate(20));
    page->m_listMenu->actions().at(2)->trigger(); // 已完成
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("3"));
    QCOMPARE(dm.queryValue(QStringLiteral("Select FinStu from TWork where ID=20")), QStringLiteral("3"));
}

PANDREL_TEST_MAIN(TestReminders)
#include "tst_reminders.moc"
