#include "TestMain.h"

#include "data/DbDates.h"

class TestDbDates : public QObject
{
    Q_OBJECT

private slots:
    void readsStoredValues_data();
    void readsStoredValues();
    void emptyDateRule_data();
    void emptyDateRule();
    void serialNumbersRoundTrip_data();
    void serialNumbersRoundTrip();
    void writesDateTimesInTheStoredForm_data();
    void writesDateTimesInTheStoredForm();
};

void TestDbDates::readsStoredValues_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QDateTime>("expected");

    QTest::newRow("date-time") << QVariant("2024-03-15 12:30:05") << QDateTime(QDate(2024, 3, 15), QTime(12, 30, 5));
    QTest::newRow("date") << QVariant("2024-02-29") << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
    QTest::newRow("without seconds") << QVariant("2024-03-15 08:05") << QDateTime(QDate(2024, 3, 15), QTime(8, 5));
    QTest::newRow("day number") << QVariant(45366.5) << QDateTime(QDate(2024, 3, 15), QTime(12, 0));
    QTest::newRow("NULL") << QVariant() << QDateTime();
    QTest::newRow("not a date") << QVariant("下周一") << QDateTime();
    QTest::newRow("impossible day") << QVariant("2023-02-29") << QDateTime();
}

void TestDbDates::readsStoredValues()
{
    QFETCH(QVariant, stored);
    QFETCH(QDateTime, expected);
    QCOMPARE(dbdates::fromValue(stored), expected);
}

void TestDbDates::emptyDateRule_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("empty");

    QTest::newRow("NULL") << QVariant() << true;
    QTest::newRow("day 0 as written for no date") << QVariant(dbdates::toText(QDateTime())) << true;
    QTest::newRow("day 100, 1900-04-09") << QVariant("1900-04-09 00:00:00") << true;
    QTest::newRow("an hour after day 100") << QVariant("1900-04-09 01:00:00") << false;
    QTest::newRow("day 101") << QVariant("1900-04-10") << false;
    QTest::newRow("number 100") << QVariant(100.0) << true;
    QTest::newRow("ordinary date") << QVariant("2026-12-10") << false;
    QTest::newRow("unreadable text") << QVariant("--") << true;
}

void TestDbDates::emptyDateRule()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, empty);
    QCOMPARE(dbdates::isEmpty(stored), empty);
}

void TestDbDates::serialNumbersRoundTrip_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<double>("serial");

    QTest::newRow("day 0") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("a Sunday in 1980") << QDateTime(QDate(1980, 1, 13), QTime(0, 0)) << 29233.0;
    QTest::newRow("noon") << QDateTime(QDate(2024, 3, 15), QTime(12, 0)) << 45366.5;
    QTest::newRow("a minute before midnight") << QDateTime(QDate(2024, 3, 15), QTime(23, 59)) << 45366.0 + 1439.0 / 1440.0;
}

void TestDbDates::serialNumbersRoundTrip()
{
    QFETCH(QDateTime, value);
    QFETCH(double, serial);

    QCOMPARE(dbdates::toSerial(value), serial);
    QCOMPARE(dbdates::fromSerial(serial), value);
    QCOMPARE(dbdates::fromValue(dbdates::toText(value)), value);
}

void TestDbDates::writesDateTimesInTheStoredForm_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("no date") << QDateTime() << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("local time") << QDateTime(QDate(2026, 12, 1), QTime(9, 5, 7)) << QStringLiteral("2026-12-01 09:05:07");
    QTest::newRow("milliseconds are not written") << QDateTime(QDate(2026, 12, 1), QTime(23, 59, 59, 999))
                                                   << QStringLiteral("2026-12-01 23:59:59");
    QTest::newRow("a wall clock kept as UTC") << QDateTime(QDate(2027, 2, 6), QTime(0, 0), Qt::UTC)
                                               << QStringLiteral("2027-02-06 00:00:00");
    QTest::newRow("day 0") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("year 999") << QDateTime(QDate(999, 1, 2), QTime(3, 4), Qt::UTC) << QStringLiteral("0999-01-02 03:04:00");
    QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 2), QTime(3, 4), Qt::UTC)
                                << QStringLiteral("10000-01-02 03:04:00");
}

void TestDbDates::writesDateTimesInTheStoredForm()
{
    QFETCH(QDateTime, value);
    QFETCH(QString, text);

    QCOMPARE(dbdates::toText(value), text);
}

PANDREL_TEST_MAIN(TestDbDates)
#include "tst_dbdates.moc"
