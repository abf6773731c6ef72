#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "desk/WorldClocks.h"
#include "desk/WorldClocksPage.h"
#include "widgets/AnalogClock.h"

#include <QLabel>
#include <QTimeZone>

// The clocks at fixed moments, given in whatever zone the computer might run on.
class TestWorldClocks : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void beforeTheFirstTick();
    void fixedCitiesShowTheirRealTime_data();
    void fixedCitiesShowTheirRealTime();
    void workingHoursColour_data();
    void workingHoursColour();
    void chosenPlaceFollowsItsZone_data();
    void chosenPlaceFollowsItsZone();
    void unreadablePlacesLeaveTheFixedClocksRunning();

private:
    int cityIndex(const QString &caption) const;
    bool choosePlace(const QString &name);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<WorldClocksPage> m_page;
};

namespace {

QDateTime beijing(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, QTimeZone("Asia/Shanghai"));
}

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

void TestWorldClocks::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>();
    m_page = std::make_unique<WorldClocksPage>();
}

void TestWorldClocks::cleanup()
{
    m_page.reset();
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

int TestWorldClocks::cityIndex(const QString &caption) const
{
    const QList<FixedCity> &cities = fixedCities();
    for (int i = 0; i < cities.size(); ++i) {
        if (cities.at(i).caption == caption)
            return i;
    }
    return -1;
}

bool TestWorldClocks::choosePlace(const QString &name)
{
    Recordset &places = m_page->places();
    for (int row = 0; row < places.count(); ++row) {
        if (places.valueAt(row, places.fieldIndex(QStringLiteral("AddName"))).toString() == name)
            return places.moveTo(row);
    }
    return false;
}

void TestWorldClocks::beforeTheFirstTick()
{
    for (QLabel *time : m_page->m_fixedTimeLabels)
        QCOMPARE(time->text(), QStringLiteral("00:00:00"));
    QCOMPARE(m_page->m_placeTimeLabel->text(), QStringLiteral("00:00:00"));
    QCOMPARE(m_page->m_placeNameLabel->text(), QStringLiteral("开罗"));

    QVERIFY(m_page->loadPlaces()); // opening the list shows its first place at once
    QCOMPARE(m_page->m_placeNameLabel->text(), m_page->places().text(QStringLiteral("AddName")));
    QVERIFY(m_page->m_placeNameLabel->text() != QStringLiteral("开罗"));
}

void TestWorldClocks::fixedCitiesShowTheirRealTime_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("shown");

    const QDateTime winter = beijing(QDate(2024, 1, 15), QTime(8, 0));
    const QDateTime summer = beijing(QDate(2024, 7, 15), QTime(8, 0));
    // The same winter moment on a computer that runs on Californian time.
    const QDateTime winterInCalifornia = winter.toTimeZone(QTimeZone("America/Los_Angeles"));

    QTest::newRow("winter Beijing") << winter << "北京" << "08:00:00";
    QTest::newRow("winter Paris") << winter << "巴黎" << "01:00:00";
    QTest::newRow("winter New York, the day before") << winter << "纽约" << "19:00:00";
    QTest::newRow("winter London") << winter << "伦敦" << "00:00:00";
    QTest::newRow("Dubai keeps no summer time") << summer << "拜迪" << "04:00:00";
    QTest::newRow("summer Paris") << summer << "巴黎" << "02:00:00";
    QTest::newRow("summer Berlin") << summer << "柏林" << "02:00:00";
    QTest::newRow("summer Rome") << summer << "罗马" << "02:00:00";
    QTest::newRow("summer London") << summer << "伦敦" << "01:00:00";
    QTest::newRow("summer New York") << summer << "纽约" << "20:00:00";
    QTest::newRow("summer Cairo") << summer << "开罗" << "03:00:00";
    QTest::newRow("another zone: Beijing") << winterInCalifornia << "北京" << "08:00:00";
    QTest::newRow("another zone: Paris") << winterInCalifornia << "巴黎" << "01:00:00";
}

void TestWorldClocks::fixedCitiesShowTheirRealTime()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, city);
    QFETCH(QString, shown);
    m_clock->set(now);

    m_page->clockTick();

    const int index = cityIndex(city);
    QVERIFY(index >= 0);
    QCOMPARE(m_page->m_fixedTimeLabels.at(index)->text(), shown);
    QCOMPARE(m_page->m_fixedClocks.at(index)->time(), QTime::fromString(shown, QStringLiteral("HH:mm:ss")));
}

void TestWorldClocks::workingHoursColour_data()
{
    QTest::addColumn<QTime>("beijingTime");
    QTest::addColumn<QColor>("beijingColour");
    QTest::addColumn<QColor>("parisColour");

    QTest::newRow("07:59:59") << QTime(7, 59, 59) << QColor(Qt::black) << QColor(Qt::black);
    QTest::newRow("08:00:00") << QTime(8, 0) << QColor(Qt::blue) << QColor(Qt::black);
    QTest::newRow("17:59:59") << QTime(17, 59, 59) << QColor(Qt::blue) << QColor(Qt::blue); // Paris 10:59
    QTest::newRow("18:00:00") << QTime(18, 0) << QColor(Qt::black) << QColor(Qt::blue);
}

void TestWorldClocks::workingHoursColour()
{
    QFETCH(QTime, beijingTime);
    QFETCH(QColor, beijingColour);
    QFETCH(QColor, parisColour);
    m_clock->set(beijing(QDate(2024, 1, 15), beijingTime));

    m_page->clockTick();

    QCOMPARE(textColour(m_page->m_fixedTimeLabels.at(cityIndex(QStringLiteral("北京")))), beijingColour);
    QCOMPARE(textColour(m_page->m_fixedTimeLabels.at(cityIndex(QStringLiteral("巴黎")))), parisColour);
}

void TestWorldClocks::chosenPlaceFollowsItsZone_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("unknownZone"); // stored in place of the shipped one, when set
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QColor>("colour");

    // At 08:00 in Beijing, 00:00 UTC.
    const QDate january(2024, 1, 15);
    const QDate july(2024, 7, 15);
    QTest::newRow("Hong Kong") << "香港" << january << QString() << "08:00:00" << QColor(Qt::blue);
    QTest::newRow("New Delhi, half an hour") << "新德里" << january << QString() << "05:30:00" << QColor(Qt::black);
    QTest::newRow("Kathmandu, a quarter hour") << "加德满都" << july << QString() << "05:45:00" << QColor(Qt::black);
    QTest::newRow("New York in winter") << "纽约" << january << QString() << "19:00:00" << QColor(Qt::black);
    QTest::newRow("New York in summer, as its fixed clock") << "纽约" << july << QString() << "20:00:00" << QColor(Qt::black);
    QTest::newRow("Sydney in its summer") << "悉尼" << january << QString() << "11:00:00" << QColor(Qt::blue);
    QTest::newRow("Sydney in its winter") << "悉尼" << july << QString() << "10:00:00" << QColor(Qt::blue);
    QTest::newRow("Baker Island keeps its offset") << "贝克岛" << july << QString() << "12:00:00" << QColor(Qt::blue);
    QTest::newRow("a zone this machine lacks: the row's offset")
        << "纽约" << july << "Atlantis/Capital" << "19:00:00" << QColor(Qt::black);
}

void TestWorldClocks::chosenPlaceFollowsItsZone()
{
    QFETCH(QString, place);
    QFETCH(QDate, date);
    QFETCH(QString, unknownZone);
    QFETCH(QString, shown);
    QFETCH(QColor, colour);
    if (!unknownZone.isEmpty())
        QVERIFY(m_folder->database().execute(QStringLiteral("Update TTimeZone Set ZoneName=? Where AddName=?"),
                                             {unknownZone, place}));
    m_clock->set(beijing(date, QTime(8, 0)).toTimeZone(QTimeZone("Europe/Moscow")));
    QVERIFY(m_page->loadPlaces());

    QVERIFY(choosePlace(place));
    QCOMPARE(m_page->m_placeNameLabel->text(), place);
    QCOMPARE(m_page->m_placeTimeLabel->text(), shown);
    QCOMPARE(m_page->m_placeClock->time(), QTime::fromString(shown, QStringLiteral("HH:mm:ss")));

    m_page->clockTick();
    QCOMPARE(m_page->m_placeTimeLabel->text(), shown);
    QCOMPARE(textColour(m_page->m_placeTimeLabel), colour);
}

void TestWorldClocks::unreadablePlacesLeaveTheFixedClocksRunning()
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Drop table TTimeZone")));
    m_clock->set(beijing(QDate(2024, 1, 15), QTime(9, 30)));

    QVERIFY(!m_page->loadPlaces());
    m_page->clockTick();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取地区时区信息发生错误！")});
    QCOMPARE(m_page->m_fixedTimeLabels.first()->text(), QStringLiteral("09:30:00"));
    QCOMPARE(m_page->m_placeNameLabel->text(), QStringLiteral("开罗"));
    QCOMPARE(m_page->m_placeTimeLabel->text(), QStringLiteral("00:00:00"));
}

PANDREL_TEST_MAIN(TestWorldClocks)
#include "tst_worldclocks.moc"
