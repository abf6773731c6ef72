#include "TestMain.h"

#include "util/PinyinInitials.h"

class TestPinyinInitials : public QObject
{
    Q_OBJECT

private slots:
    void initialOfCode_data();
    void initialOfCode();
    void initialsOfText_data();
    void initialsOfText();
};

void TestPinyinInitials::initialOfCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QChar>("initial");

    QTest::newRow("first of A") << 0xB0A1 << QChar('A');
    QTest::newRow("last of A") << 0xB0C4 << QChar('A');
    QTest::newRow("first of B") << 0xB0C5 << QChar('B');
    QTest::newRow("last of H, before J") << 0xBBF6 << QChar('H');
    QTest::newRow("first of J, no I") << 0xBBF7 << QChar('J');
    QTest::newRow("last of T") << 0xCDD9 << QChar('T');
    QTest::newRow("first of W, no U or V") << 0xCDDA << QChar('W');
    QTest::newRow("last of level 1") << 0xD7F9 << QChar('Z');
    QTest::newRow("just before level 1") << 0xB0A0 << QChar(' ');
    QTest::newRow("just after level 1") << 0xD7FA << QChar(' ');
    QTest::newRow("ideographic comma") << 0xA1A2 << QChar(' ');
    QTest::newRow("full-width A") << 0xA3C1 << QChar(' ');
    QTest::newRow("level 2") << 0xD8A1 << QChar(' ');
}

void TestPinyinInitials::initialOfCode()
{
    QFETCH(int, code);
    QFETCH(QChar, initial);
    QCOMPARE(pinyinInitial(quint16(code)), initial);
}

void TestPinyinInitials::initialsOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initials");

    QTest::newRow("Chinese then ASCII") << "北京ab" << "BJab";
    QTest::newRow("ASCII kept with case, digits, blanks") << "Ab 1-2" << "Ab 1-2";
    QTest::newRow("company name") << "上海华联Co.,Ltd" << "SHHLCo.,Ltd";
    QTest::newRow("Chinese punctuation gives spaces") << "，。！" << "   ";
    QTest::newRow("level-2 character") << "亍" << " ";
    QTest::newRow("emoji outside GBK") << "王😀五" << "W W";
    QTest::newRow("invisible zero-width space keeps its place") << QString("王") + QChar(0x200B) + "五" << "W W";
    QTest::newRow("single-byte euro sign as last lead byte") << "a€" << "a ";
    QTest::newRow("empty") << "" << "";
}

void TestPinyinInitials::initialsOfText()
{
    QFETCH(QString, text);
    QFETCH(QString, initials);
    QCOMPARE(pinyinInitials(text), initials);
}

PANDREL_TEST_MAIN(TestPinyinInitials)
#include "tst_pinyininitials.moc"
