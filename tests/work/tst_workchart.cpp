#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "WidgetPlaces.h"

#include "data/Recordset.h"
#include "work/WorkChartData.h"
#include "work/WorkChartPanel.h"
#include "work/WorkListPage.h"
#include "widgets/DataGrid.h"

#include <QChartView>
#include <QComboBox>
#include <QRandomGenerator>
#include <QToolButton>
#include <numeric>

// The numbers behind the work charts, against counts made row by row, and the charts on the
// work page: built when asked for, following the list.
class TestWorkChart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void byTypeMatchesRowByRowCounts_data();
    void byTypeMatchesRowByRowCounts();
    void finishedPerWeek_data();
    void finishedPerWeek();
    void finishedPerWeekMatchesRowByRowCounts();

    void toggleLeavesTheLayoutAlone();
    void chartFollowsTheList();

private:
    Database &database() { return m_folder->database(); }
    void generate(int count);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
};

void TestWorkChart::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
    QVERIFY(database().execute(QStringLiteral("Delete from TWork")));
}

void TestWorkChart::cleanup()
{
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

// Items of five types (one a prefix of another, one with a quote, one empty), states 0 to 5,
// both priorities, end dates set, empty or missing, over twenty weeks.
void TestWorkChart::generate(int count)
{
    QRandomGenerator random(4711);
    const QStringList types{"客户", "客户拜访", "O'Neil's 办公", "", "办公事务"};
    QVERIFY(database().inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            const QDateTime saved = QDateTime(QDate(2026, 8, 1), QTime(0, 0)).addSecs(random.bounded(140 * 86400));
            const int endKind = random.bounded(3);
            const QVariant end = endKind == 0 ? QVariant()
                                : endKind == 1 ? QVariant(QStringLiteral("1899-12-30 00:00:00"))
                                               : QVariant(saved.addSecs(random.bounded(-10 * 86400, 10 * 86400))
                                                              .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            if (!database().execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeEnd, LastUpTime) "
                                                   "values ('事务', ?, ?, ?, ?, ?)"),
                                    {types.at(random.bounded(types.size())), random.bounded(0, 6), random.bounded(2), end,
                                     saved.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}))
                return false;
        }
        return true;
    }));
}

void TestWorkChart::byTypeMatchesRowByRowCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("priority");

    QTest::newRow("no item") << 0 << "" << -1;
    QTest::newRow("one item") << 1 << "" << -1;
    QTest::newRow("every item") << 2000 << "" << -1;
    QTest::newRow("type prefix") << 2000 << "客户" << -1;
    QTest::newRow("quoted type, urgent") << 2000 << "O'Neil" << 1;
}

void TestWorkChart::byTypeMatchesRowByRowCounts()
{
    QFETCH(int, count);
    QFETCH(QString, type);
    QFETCH(int, priority);
    generate(count);
    WorkFilter filter;
    filter.workType = type;
    filter.priority = priority;
    filter.states = {false, false, true, false}; // the charts count every state regardless

    const std::optional<QList<WorkTypeStates>> types = workItemsByType(database(), filter);
    QVERIFY(types);

    QMap<QString, std::array<int, 4>> expected;
    Recordset rows(database());
    QVERIFY(rows.open(QStringLiteral("Select WorkType, FinStu, ZY from TWork")));
    for (int row = 0; row < rows.count(); ++row) {
        const QString itemType = rows.valueAt(row, 0).toString();
        const int state = rows.valueAt(row, 1).toInt();
        if (!itemType.startsWith(type) || (priority >= 0 && rows.valueAt(row, 2).toInt() != priority))
            continue;
        expected[itemType][size_t(state >= 1 && state <= 3 ? state - 1 : 3)] += 1;
    }
    QCOMPARE(types->size(), expected.size());
    for (int at = 0; at < types->size(); ++at) {
        const WorkTypeStates &counted = types->at(at);
        QCOMPARE(counted.counts, expected.value(counted.type));
        if (at > 0)
            QVERIFY(types->at(at - 1).total() >= counted.total());
    }
}

void TestWorkChart::finishedPerWeek_data()
{
    QTest::addColumn<QVariant>("end");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("week"); // -1: none of the twelve

    // Thursday 2026-12-10: this week began on Monday 12-07, the first of the twelve on 09-21.
    QTest::newRow("end date this week") << QVariant("2026-12-07 00:00:00") << "2026-01-01 00:00:00" << 11;
    QTest::newRow("end date a Sunday") << QVariant("2026-12-06 23:59:59") << "2026-12-08 00:00:00" << 10;
    QTest::newRow("first day") << QVariant("2026-09-21") << "2026-12-08 00:00:00" << 0;
    QTest::newRow("day before") << QVariant("2026-09-20 23:00:00") << "2026-12-08 00:00:00" << -1;
    QTest::newRow("after this week") << QVariant("2026-12-14 08:00:00") << "2026-12-08 00:00:00" << -1;
    QTest::newRow("no end date: saved") << QVariant() << "2026-11-30 12:00:00" << 10;
    QTest::newRow("zero end date: saved") << QVariant("1899-12-30 00:00:00") << "2026-10-01 12:00:00" << 1;
    QTest::newRow("day 100 is empty") << QVariant("1900-04-09 00:00:00") << "2026-10-01 12:00:00" << 1;
}

void TestWorkChart::finishedPerWeek()
{
    QFETCH(QVariant, end);
    QFETCH(QString, saved);
    QFETCH(int, week);
    for (int state : {2, 3}) {
        QVERIFY(database().execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeEnd, LastUpTime) "
                                                  "values ('事务', '办公事务', ?, 0, ?, ?)"),
                                   {state, end, saved}));
    }

    const std::optional<QList<WorkWeekColumn>> weeks = ::finishedPerWeek(database(), WorkFilter{}, QDate(2026, 12, 10));
    QVERIFY(weeks);

    QCOMPARE(weeks->size(), 12);
    QCOMPARE(weeks->constFirst().monday, QDate(2026, 9, 21));
    QCOMPARE(weeks->constLast().monday, QDate(2026, 12, 7));
    for (int at = 0; at < 12; ++at)
        QCOMPARE(weeks->at(at).count, at == week ? 1 : 0);
}

void TestWorkChart::finishedPerWeekMatchesRowByRowCounts()
{
    generate(3000);
    WorkFilter urgentClients;
    urgentClients.workType = QStringLiteral("客户");
    urgentClients.priority = 1;

    const std::optional<QList<WorkWeekColumn>> weeks = ::finishedPerWeek(database(), urgentClients, QDate(2026, 12, 10));
    QVERIFY(weeks);

    QList<int> expected(12, 0);
    Recordset rows(database());
    QVERIFY(rows.open(QStringLiteral("Select TimeEnd, LastUpTime from TWork where FinStu=3 and ZY=1 and WorkType like '客户%'")));
    for (int row = 0; row < rows.count(); ++row) {
        const QDateTime end = rows.valueAt(row, 0).isNull() ? QDateTime() : QDateTime::fromString(rows.valueAt(row, 0).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QDate done = end.isValid() && end.date() > QDate(1900, 4, 9)
            ? end.date()
            : QDateTime::fromString(rows.valueAt(row, 1).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss")).date();
        const qint64 week = QDate(2026, 9, 21).daysTo(done);
        if (week >= 0 && week < 84)
            ++expected[int(week / 7)];
    }
    QList<int> counted;
    for (const WorkWeekColumn &column : *weeks)
        counted.append(column.count);
    QCOMPARE(counted, expected);
    QVERIFY(std::accumulate(expected.begin(), expected.end(), 0) > 0);
}

void TestWorkChart::toggleLeavesTheLayoutAlone()
{
    generate(50);
    WorkListPage page;
    page.resize(971, 520);
    page.loadList();
    page.show();
    QCoreApplication::processEvents();
    const auto geometries = [&page] { return visibleWidgetPlaces(page, page.m_chartToggle); };
    const QStringList before = geometries();
    QVERIFY(page.findChildren<QChartView *>().isEmpty());

    QVERIFY(takesNoRoom(page, page.m_chartToggle));

    page.m_chartToggle->click();
    QCoreApplication::processEvents();
    QVERIFY(page.m_workChart && page.m_workChart->isVisible());
    QVERIFY(page.m_workGrid->height() < 300);
    page.m_chartToggle->click();
    QTRY_COMPARE(geometries(), before);
}

void TestWorkChart::chartFollowsTheList()
{
    QVERIFY(database().execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, LastUpTime) values "
        "(1, 'a', '客户拜访', 1, 0, '2026-12-08 09:00:00'), (2, 'b', '客户拜访', 2, 1, '2026-12-08 09:00:00'), "
        "(3, 'c', '办公事务', 3, 0, '2026-12-08 09:00:00')")));
    WorkListPage page;
    page.fillWorkTypes();
    page.loadList();
    page.m_chartToggle->click();
    WorkChartPanel &panel = *page.m_workChart;
    QCOMPARE(panel.types().size(), 2);
    QCOMPARE(panel.types().constFirst().type, "客户拜访");
    QCOMPARE(panel.types().constFirst().counts, (std::array<int, 4>{1, 1, 0, 0}));

    // A quick state change from the list's menu shows at once.
    QVERIFY(page.workItems().locate(1));
    page.changeItemState(3);
    QCOMPARE(panel.types().constFirst().counts, (std::array<int, 4>{0, 1, 1, 0}));

    // The priority filter applies.
    page.m_priorityCombo->setCurrentIndex(1);
    page.loadList();
    QCOMPARE(panel.types().size(), 1);
    QCOMPARE(panel.types().constFirst().counts, (std::array<int, 4>{0, 1, 0, 0}));

    panel.m_chartCombo->setCurrentIndex(WorkChartPanel::FinishedWeeks);
    page.m_priorityCombo->setCurrentIndex(2);
    page.loadList();
    QCOMPARE(panel.weeks().constLast().count, 2);
}

PANDREL_TEST_MAIN(TestWorkChart)
#include "tst_workchart.moc"
