#include "TestMain.h"

#include "widgets/LunarMonthView.h"

#include <QImage>

namespace {

const QRgb TodayEdge = qRgb(0xe8, 0x7b, 0x00);

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

} // namespace

class TestLunarMonthView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheMonthOfItsDate_data();
    void showsTheMonthOfItsDate();
    void settingTheSameDateTurnsBackToItsMonth();
    void todayIsMarkedOnlyWhereItIsShown();
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

PANDREL_TEST_MAIN(TestLunarMonthView)
#include "tst_lunarmonthview.moc"
