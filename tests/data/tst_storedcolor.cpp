#include "TestMain.h"

#include "data/StoredColor.h"

class TestStoredColor : public QObject
{
    Q_OBJECT

private slots:
    void readsStoredColours_data();
    void readsStoredColours();
};

void TestStoredColor::readsStoredColours_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<QColor>("color");

    QTest::newRow("red in the lowest byte") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("the urgent pink") << qint64(15395839) << QColor(255, 235, 234);
    QTest::newRow("blue in the third byte") << qint64(0xC08000) << QColor(0, 128, 192);
    QTest::newRow("a system colour") << qint64(0xFF000008) << QColor(Qt::darkMagenta);
    QTest::newRow("a system colour read as a signed number") << qint64(int(0xFF000008)) << QColor(Qt::darkMagenta);
}

void TestStoredColor::readsStoredColours()
{
    QFETCH(qint64, stored);
    QFETCH(QColor, color);
    const QColor system(Qt::darkMagenta); // stands for the desktop's text colour

    QCOMPARE(fromStoredColor(stored, system), color);
    if ((quint32(stored) >> 24) != 0xFF)
        QCOMPARE(toStoredColor(color), stored);
}

PANDREL_TEST_MAIN(TestStoredColor)
#include "tst_storedcolor.moc"
