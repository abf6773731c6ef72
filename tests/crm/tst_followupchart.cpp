#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "WidgetPlaces.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/FollowUpChartData.h"
#include "crm/FollowUpChartPanel.h"
#include "crm/FollowUpValues.h"
#include "data/Recordset.h"
#include "output/ChartView.h"
#include "util/AmountCapitals.h"
#include "widgets/DataGrid.h"

#include <QAbstractBarSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QToolButton>

// One generated follow-up: the client, the step, the amount and the virtual value as
// entered, the record time.
struct GeneratedFollowUp {
    qint64 clientId;
    qint64 stepId;
    QString total;
    QString stepTotal;
    QString recTime;
};
Q_DECLARE_METATYPE(QList<GeneratedFollowUp>)

// The numbers behind the follow-up charts, against sums worked out row by row, and the
// charts on the client page: built when asked for, following the list, narrowing it.
class TestFollowUpChart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void byStepMatchesRowByRowSums_data();
    void byStepMatchesRowByRowSums();
    void byMonthMatchesRowByRowSums_data();
    void byMonthMatchesRowByRowSums();
    void yuanText_data();
    void yuanText();

    void chartIsBuiltOnlyWhenAskedFor();
    void toggleLeavesTheLayoutAlone();
    void chartFollowsTheClientAndCategory();
    void clickingAStepBarNarrowsTheList();

private:
    Database &database() { return m_folder->database(); }
    void store(const QList<GeneratedFollowUp> &rows);
    ClientListPage &shownPage();

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ClientListPage> m_page;
};

namespace {

// Fen of a stored amount, read the way the editor writes it: decimal text rounded to fen.
qint64 fenOf(const QVariant &stored)
{
    QString text = roundedToFen(plainNumber(stored.toDouble()));
    return text.remove(QLatin1Char('.')).toLongLong();
}

struct Sums {
    int count = 0;
    qint64 amount = 0;
    qint64 value = 0;
};

// Every TCTrack row with its client's category, read one by one.
QList<QVariantList> allFollowUps(Database &database)
{
    Recordset rows(database);
    rows.open(QStringLiteral("Select TCTrack.ClientID, TClient.TypeCode, TCTrack.StepID, TCTrack.Total, "
                             "TCTrack.StepTotal, TCTrack.RecTime from TCTrack left join TClient on TClient.ID=TCTrack.ClientID"));
    QList<QVariantList> all;
    for (int row = 0; row < rows.count(); ++row) {
        QVariantList values;
        for (int column = 0; column < rows.fieldCount(); ++column)
            values.append(rows.valueAt(row, column));
        all.append(values);
    }
    return all;
}

bool inScope(const QVariantList &row, const FollowUpScope &scope)
{
    switch (scope.kind) {
    case FollowUpScope::Client: return row.at(0).toLongLong() == scope.clientId;
    case FollowUpScope::Category: return row.at(1).toString() == scope.categoryCode;
    case FollowUpScope::Everyone: return true;
    }
    return false;
}

// Amounts with cents whose binary sum drifts: 0.1 + 0.2 and the like, a few thousand times.
QList<GeneratedFollowUp> manyWithCents(int count)
{
    QRandomGenerator random(20261211);
    QList<GeneratedFollowUp> rows;
    for (int i = 0; i < count; ++i) {
        const qint64 fen = random.bounded(1, 5000000);
        const QString total = QStringLiteral("%1.%2").arg(fen / 100).arg(fen % 100, 2, 10, QLatin1Char('0'));
        const QString rate = QStringLiteral("%1").arg(random.bounded(0, 101));
        rows.append({qint64(random.bounded(1, 11)), qint64(random.bounded(1, 9)), total,
                     roundedToFen(decimalProduct(total, rate, 2)),
                     QDate(2025, 11, 1).addDays(random.bounded(0, 420)).toString(Qt::ISODate) + QStringLiteral(" 10:00:00")});
    }
    return rows;
}

} // namespace

void TestFollowUpChart::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
}

void TestFollowUpChart::cleanup()
{
    m_page.reset();
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestFollowUpChart::store(const QList<GeneratedFollowUp> &rows)
{
    QVERIFY(database().execute(QStringLiteral("Delete from TCTrack")));
    QVERIFY(database().inTransaction([&] {
        for (const GeneratedFollowUp &row : rows) {
            if (!database().execute(QStringLiteral("Insert into TCTrack (ClientID,GoodsName,Total,StepID,StepTotal,RecTime) "
                                                   "values (?,'纸',?,?,?,?)"),
                                    {row.clientId, row.total, row.stepId, row.stepTotal,
                                     row.recTime.isEmpty() ? QVariant() : QVariant(row.recTime)}))
                return false;
        }
        return true;
    }));
}

void TestFollowUpChart::byStepMatchesRowByRowSums_data()
{
    QTest::addColumn<QList<GeneratedFollowUp>>("rows");
    QTest::addColumn<int>("clientId"); // -1: the category 00010001; -2: everyone

    QTest::newRow("no follow-up") << QList<GeneratedFollowUp>{} << 1;
    QTest::newRow("one follow-up") << QList<GeneratedFollowUp>{{1, 3, "8400.00", "3360.00", "2026-10-28 14:50:00"}} << 1;
    QTest::newRow("a step gone from the model")
        << QList<GeneratedFollowUp>{{1, 99, "10.01", "1.00", ""}, {1, 98, "0.02", "0.00", ""}, {1, 2, "5.00", "1.00", ""}} << 1;
    QTest::newRow("cents, whole category") << manyWithCents(3000) << -1;
    QTest::newRow("cents, everyone") << manyWithCents(3000) << -2;
}

void TestFollowUpChart::byStepMatchesRowByRowSums()
{
    QFETCH(QList<GeneratedFollowUp>, rows);
    QFETCH(int, clientId);
    store(rows);
    const FollowUpScope scope = clientId >= 0 ? FollowUpScope{FollowUpScope::Client, clientId, {}}
                              : clientId == -1 ? FollowUpScope{FollowUpScope::Category, -1, QStringLiteral("00010001")}
                                               : FollowUpScope{};

    const std::optional<QList<FollowUpStepBar>> bars = followUpsByStep(database(), scope);
    QVERIFY(bars);

    const std::optional<TrackStepModel> model = readTrackSteps(database());
    QMap<qint64, Sums> expected; // by step; -1 for steps gone from the model
    for (const QVariantList &row : allFollowUps(database())) {
        if (!inScope(row, scope))
            continue;
        const qint64 step = model->indexOf(row.at(2).toLongLong()) >= 0 ? row.at(2).toLongLong() : -1;
        Sums &sums = expected[step];
        ++sums.count;
        sums.amount += fenOf(row.at(3));
        sums.value += fenOf(row.at(4));
    }
    // Every step of the model in its order, zero or not, then the lost steps when any.
    QCOMPARE(bars->size(), model->steps.size() + (expected.contains(-1) ? 1 : 0));
    for (int at = 0; at < bars->size(); ++at) {
        const FollowUpStepBar &bar = bars->at(at);
        QCOMPARE(bar.stepId, at < model->steps.size() ? model->steps.at(at).id : -1);
        if (bar.stepId >= 0)
            QCOMPARE(bar.title, model->steps.at(at).title);
        const Sums sums = expected.value(bar.stepId);
        QCOMPARE(bar.count, sums.count);
        QCOMPARE(bar.amountFen, sums.amount);
        QCOMPARE(bar.virtualFen, sums.value);
    }
}

void TestFollowUpChart::byMonthMatchesRowByRowSums_data()
{
    QTest::addColumn<QList<GeneratedFollowUp>>("rows");

    QTest::newRow("no follow-up") << QList<GeneratedFollowUp>{};
    // The first and last moments of the twelve months, and just outside them; no time at all.
    QTest::newRow("edges") << QList<GeneratedFollowUp>{{1, 6, "1.01", "1.01", "2026-01-01 00:00:00"},
                                                      {1, 6, "2.02", "2.02", "2025-12-31 23:59:59"},
                                                      {1, 3, "3.03", "1.21", "2026-12-31 23:59:59"},
                                                      {1, 3, "4.04", "1.62", "2027-01-01 00:00:00"},
                                                      {1, 7, "5.05", "0.00", ""}};
    QTest::newRow("cents, months with nothing") << manyWithCents(3000).mid(0, 40);
    QTest::newRow("cents") << manyWithCents(3000);
}

void TestFollowUpChart::byMonthMatchesRowByRowSums()
{
    QFETCH(QList<GeneratedFollowUp>, rows);
    store(rows);
    const FollowUpScope everyone;

    const std::optional<QList<FollowUpMonthColumn>> columns = followUpsByMonth(database(), everyone, QDate(2026, 12, 10));
    QVERIFY(columns);

    QCOMPARE(columns->size(), 12);
    QCOMPARE(columns->constFirst().month, QDate(2026, 1, 1));
    QCOMPARE(columns->constLast().month, QDate(2026, 12, 1));
    QMap<QDate, QPair<qint64, qint64>> expected; // won, other
    for (const QVariantList &row : allFollowUps(database())) {
        const QDateTime recorded = QDateTime::fromString(row.at(5).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!recorded.isValid())
            continue;
        const QDate month(recorded.date().year(), recorded.date().month(), 1);
        // Step 6, 成交回款, is the shipped model's closing step at 100 %.
        (row.at(2).toLongLong() == 6 ? expected[month].first : expected[month].second) += fenOf(row.at(3));
    }
    for (const FollowUpMonthColumn &column : *columns) {
        QCOMPARE(column.wonFen, expected.value(column.month).first);
        QCOMPARE(column.otherFen, expected.value(column.month).second);
    }
}

void TestFollowUpChart::yuanText_data()
{
    QTest::addColumn<qint64>("fen");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0.00";
    QTest::newRow("cents") << qint64(7) << "0.07";
    QTest::newRow("thousands") << qint64(123456789) << "1,234,567.89";
    QTest::newRow("exactly a thousand") << qint64(100000) << "1,000.00";
    QTest::newRow("negative") << qint64(-100001) << "-1,000.01";
}

void TestFollowUpChart::yuanText()
{
    QFETCH(qint64, fen);
    QFETCH(QString, text);
    QCOMPARE(::yuanText(fen), text);
}

ClientListPage &TestFollowUpChart::shownPage()
{
    m_page = std::make_unique<ClientListPage>();
    m_page->resize(971, 520);
    m_page->loadTree();
    // 上海华信贸易有限公司 in 上海客户: two follow-ups of the sample register.
    m_page->m_categoryTree->setCurrentItem(m_page->m_categoryTree->findNode("00010001"));
    m_page->clients().locate(1);
    m_page->show();
    QCoreApplication::processEvents();
    return *m_page;
}

void TestFollowUpChart::chartIsBuiltOnlyWhenAskedFor()
{
    ClientListPage &page = shownPage();
    page.m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
    QVERIFY(page.findChildren<QChartView *>().isEmpty());

    page.m_chartToggle->click();
    QVERIFY(page.m_followUpChart);
    QVERIFY(page.m_followUpChart->isVisible());
    QCOMPARE(page.findChildren<QChartView *>().size(), 1);
}

void TestFollowUpChart::toggleLeavesTheLayoutAlone()
{
    ClientListPage &page = shownPage();
    page.m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
    QCoreApplication::processEvents();
    const auto geometries = [&page] { return visibleWidgetPlaces(page, page.m_chartToggle); };
    const QStringList before = geometries();

    QVERIFY(takesNoRoom(page, page.m_chartToggle));

    page.m_chartToggle->click();
    QCoreApplication::processEvents();
    QVERIFY(page.m_followUpGrid->width() < page.m_detailTabs->parentWidget()->width() / 2);
    page.m_chartToggle->click();
    QCoreApplication::processEvents();
    QVERIFY(!page.m_followUpChart->isVisible());
    // The list's scroll bars settle on a posted layout request.
    QTRY_COMPARE(geometries(), before);
}

void TestFollowUpChart::chartFollowsTheClientAndCategory()
{
    ClientListPage &page = shownPage();
    page.m_chartToggle->click();
    FollowUpChartPanel &panel = *page.m_followUpChart;
    const auto countsOf = [](const QList<FollowUpStepBar> &bars) {
        QList<int> counts;
        for (const FollowUpStepBar &bar : bars)
            counts.append(bar.count);
        return counts;
    };
    // Client 1: one deal on 合同签订, one on 成交回款.
    QCOMPARE(countsOf(panel.stepBars()), (QList<int>{0, 0, 0, 0, 1, 1, 0}));
    QCOMPARE(panel.stepBars().at(5).amountFen, 1580000);

    page.clients().locate(2);
    QCOMPARE(countsOf(panel.stepBars()), (QList<int>{0, 0, 1, 0, 0, 0, 0}));

    panel.m_reachCombo->setCurrentIndex(FollowUpChartPanel::WholeCategory);
    QCOMPARE(countsOf(panel.stepBars()), (QList<int>{0, 0, 1, 0, 1, 1, 0}));

    // A follow-up deleted from the list leaves the chart at once.
    page.clients().locate(1);
    page.m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
    page.followUps().first(); // 激光打印机硒鼓, on 合同签订
    page.m_deleteDetailButton->click();
    QCOMPARE(countsOf(panel.stepBars()), (QList<int>{0, 0, 1, 0, 0, 1, 0}));

    panel.m_chartCombo->setCurrentIndex(FollowUpChartPanel::Months);
    qint64 won = 0;
    qint64 others = 0;
    for (const FollowUpMonthColumn &column : panel.monthColumns()) {
        won += column.wonFen;
        others += column.otherFen;
    }
    QCOMPARE(won, 1580000);
    QCOMPARE(others, 840000);
}

void TestFollowUpChart::clickingAStepBarNarrowsTheList()
{
    ClientListPage &page = shownPage();
    page.m_chartToggle->click();
    QCoreApplication::processEvents();
    QChart *chart = page.m_followUpChart->m_view->chart();
    auto *series = qobject_cast<QAbstractBarSeries *>(chart->series().constFirst());
    QVERIFY(series);
    // 成交回款, the sixth of seven steps: second from the bottom, worth all its 15 800.
    const QPointF bar = chart->mapToPosition(QPointF(15800.0 / 2, 1), series);
    QTest::mouseClick(page.m_followUpChart->m_view->viewport(), Qt::LeftButton, {},
                      page.m_followUpChart->m_view->mapFromScene(bar));

    QCOMPARE(page.followUps().count(), 1);
    QCOMPARE(page.followUps().text("StepTitle"), "成交回款");
    QVERIFY(page.m_followUpChart->m_filterLabel->isVisible());
    QCOMPARE(page.m_followUpChart->m_filterLabel->text(), "仅列出：成交回款");
    QCOMPARE(page.m_followUpGrid->footerText(7), "15800.00");

    page.m_followUpChart->m_showAllButton->click();
    QCOMPARE(page.followUps().count(), 2);
    QVERIFY(!page.m_followUpChart->m_filterLabel->isVisible());

    // Turning the chart off gives the whole list back.
    QTest::mouseClick(page.m_followUpChart->m_view->viewport(), Qt::LeftButton, {},
                      page.m_followUpChart->m_view->mapFromScene(bar));
    QCOMPARE(page.followUps().count(), 1);
    page.m_chartToggle->click();
    QCOMPARE(page.followUps().count(), 2);
}

PANDREL_TEST_MAIN(TestFollowUpChart)
#include "tst_followupchart.moc"
