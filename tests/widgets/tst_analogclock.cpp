#include "TestMain.h"

#include "widgets/AnalogClock.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

// The hands are checked on the rendered picture, at points along each hand's direction.
class TestAnalogClock : public QObject
{
    Q_OBJECT

private slots:
    void handsPointAtTheTime_data();
    void handsPointAtTheTime();
    void facePictureUnderTheHands();
};

namespace {

// The clock drawn at `side` logical pixels and `ratio` device pixels per logical pixel.
QImage render(AnalogClock &clock, int side, qreal ratio)
{
    clock.setFixedSize(side, side);
    QImage image(QSize(side, side) * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    clock.render(&image);
    return image;
}

// The colours around a point of the 200 × 200 logical dial, (0, 0) in its centre: a thin
// hand may fall between two pixels.
QList<QColor> dialPixels(const QImage &image, int side, qreal ratio, QPointF dial)
{
    const QPoint centre = ((QPointF(side / 2.0, side / 2.0) + dial * (side / 200.0)) * ratio).toPoint();
    QList<QColor> colours;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy)
            colours.append(image.pixelColor(centre + QPoint(dx, dy)));
    }
    return colours;
}

bool near(const QColor &seen, const QColor &expected)
{
    return qAbs(seen.red() - expected.red()) < 40 && qAbs(seen.green() - expected.green()) < 40
           && qAbs(seen.blue() - expected.blue()) < 40;
}

// A thin red hand blends with what lies under it, but red stays the strongest part.
bool reddish(const QColor &seen)
{
    return seen.red() > seen.green() + 80 && seen.red() > seen.blue() + 80;
}

bool shows(const QList<QColor> &pixels, const QColor &expected)
{
    if (expected == QColor(Qt::red))
        return std::any_of(pixels.begin(), pixels.end(), reddish);
    return std::any_of(pixels.begin(), pixels.end(), [&](const QColor &seen) { return near(seen, expected); });
}

bool onlyShows(const QList<QColor> &pixels, const QColor &expected)
{
    return std::all_of(pixels.begin(), pixels.end(), [&](const QColor &seen) { return near(seen, expected); });
}

} // namespace

void TestAnalogClock::handsPointAtTheTime_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<qreal>("ratio");

    QTest::newRow("normal screen") << 200 << 1.0;
    QTest::newRow("small clock") << 100 << 1.0;
    QTest::newRow("HiDPI screen") << 120 << 2.0;
}

void TestAnalogClock::handsPointAtTheTime()
{
    QFETCH(int, side);
    QFETCH(qreal, ratio);
    AnalogClock clock;
    clock.setTime(QTime(3, 0, 45)); // hour hand right, minute hand up, second hand left

    const QImage image = render(clock, side, ratio);

    const QColor grey(Qt::gray), silver(0xC0, 0xC0, 0xC0), red(Qt::red), white(Qt::white);
    QVERIFY(shows(dialPixels(image, side, ratio, {35, 0}), grey));
    QVERIFY(shows(dialPixels(image, side, ratio, {4, -55}), silver));
    QVERIFY(shows(dialPixels(image, side, ratio, {-60, 0}), red));
    QVERIFY(!shows(dialPixels(image, side, ratio, {-35, 0}), grey)); // the second hand, not the hour hand
    QVERIFY(onlyShows(dialPixels(image, side, ratio, {0, 60}), white));
}

void TestAnalogClock::facePictureUnderTheHands()
{
    QPixmap face(50, 50); // any size: it fills the dial
    face.fill(Qt::green);
    AnalogClock clock;
    clock.setFace(Picture::image(face.toImage()));
    clock.setTime(QTime(12, 0, 0));

    const QImage image = render(clock, 160, 1.0);

    QVERIFY(onlyShows(dialPixels(image, 160, 1.0, {60, 60}), QColor(Qt::green)));
    QVERIFY(shows(dialPixels(image, 160, 1.0, {0, -60}), QColor(Qt::red))); // the second hand over it
}

PANDREL_TEST_MAIN(TestAnalogClock)
#include "tst_analogclock.moc"
