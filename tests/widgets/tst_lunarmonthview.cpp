#include "TestMain.h"

#include "widgets/LunarMonthView.h"

#include <QAbstractItemModel>
#include <QImage>
#include <QTableView>

namespace {

const QRgb TodayEdge = qRgb(0xe8, 0x7b, 0x00);
const QRgb FestivalInk = qRgb(0xd0, 0x2b, 0x2b);

int pixelsOf(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (line[x] & 0xffffff) == (colour & 0xffffff);
    }
    return count;
}

QImage rendered(LunarMonthView &view)
{
    view.resize(700, 480);
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The picture of a day's cell in a month view showing `date`'s month, as drawn on screen.
QImage cellOf(LunarMonthView &view, const QDate &date)
{
    const QImage whole = rendered(view);
    auto *table = view.findChild<QTableView *>();
    const QAbstractItemModel *model = table->model();
    // The day's number appears twice at most: in its own month, and in a neighbour's row at
    // the top (a late day) or the bottom (an early day).
    QRect cell;
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index).toInt() != date.day())
                continue;
            const bool inTopRows = row <= 2;
            if (cell.isNull() && (date.day() > 20) != inTopRows)
                cell = table->visualRect(index).translated(table->viewport()->mapTo(&view, QPoint()));
        }
    }
    return cell.isNull() ? QImage() : whole.copy(cell);
}

} // namespace

class TestLunarMonthView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheMonthOfItsDate_data();
    void showsTheMonthOfItsDate();
    void settingTheSameDateTurnsBackToItsMonth();
    void todayIsMarkedOnlyWhereItIsShown();
    void newYearsEveIsDrawnOnItsDay();
};

void TestLunarMonthView::showsTheMonthOfItsDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("current");

    QTest::newRow("a day") << QDate(2023, 3, 22) << QDate(2023, 3, 22);
    QTest::newRow("leap day") << QDate(2024, 2, 29) << QDate(2024, 2, 29);
    QTest::newRow("before the first year") << QDate(1900, 6, 1) << QDate(1901, 1, 1);
    QTest::newRow("after the last year") << QDate(2100, 1, 1) << QDate(2099, 12, 31);
}

void TestLunarMonthView::showsTheMonthOfItsDate()
{
    QFETCH(QDate, date);
    QFETCH(QDate, current);
    LunarMonthView view;
    view.setCurrentDate(QDate(2010, 6, 15));
    view.setCurrentDate(date);
    QCOMPARE(view.currentDate(), current);
    QCOMPARE(view.yearShown(), current.year());
    QCOMPARE(view.monthShown(), current.month());
}

void TestLunarMonthView::settingTheSameDateTurnsBackToItsMonth()
{
    LunarMonthView view;
    view.setCurrentDate(QDate(2024, 2, 10));
    view.showNextMonth();
    view.showNextMonth();
    QCOMPARE(view.monthShown(), 4);
    view.setCurrentDate(QDate(2024, 2, 10));
    QCOMPARE(view.monthShown(), 2);
}

void TestLunarMonthView::todayIsMarkedOnlyWhereItIsShown()
{
    LunarMonthView view;
    view.setCurrentDate(QDate(2024, 2, 10));
    view.setToday(QDate(2024, 2, 14));
    QVERIFY(pixelsOf(rendered(view), TodayEdge) > 100);

    view.setToday(QDate(2024, 5, 14));
    QCOMPARE(pixelsOf(rendered(view), TodayEdge), 0);
}

void TestLunarMonthView::newYearsEveIsDrawnOnItsDay()
{
    // The new moon of 2027-02-06 falls at 23:56 in China time: that Saturday is 春节 and the
    // Friday before it 除夕, the only red on a weekday of that week.
    LunarMonthView view;
    view.setCurrentDate(QDate(2027, 2, 15));
    QVERIFY(pixelsOf(cellOf(view, QDate(2027, 2, 5)), FestivalInk) > 20);
    QCOMPARE(pixelsOf(cellOf(view, QDate(2027, 2, 3)), FestivalInk), 0);
}

PANDREL_TEST_MAIN(TestLunarMonthView)
#include "tst_lunarmonthview.moc"
