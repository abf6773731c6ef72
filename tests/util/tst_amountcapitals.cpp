#include "TestMain.h"

#include "util/AmountCapitals.h"

class TestAmountCapitals : public QObject
{
    Q_OBJECT

private slots:
    void writesCapitals_data();
    void writesCapitals();
    void amountsBelowOneYuan_data();
    void amountsBelowOneYuan();
    void readsDecimalTextExactly_data();
    void readsDecimalTextExactly();
    void normalisesAmountBox_data();
    void normalisesAmountBox();
    void multipliesAndRoundsDecimals_data();
    void multipliesAndRoundsDecimals();
};

void TestAmountCapitals::writesCapitals_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("capitals");

    const std::pair<const char *, const char *> examples[] = {
        {"1", "壹圆"},
        {"10", "壹拾圆"},
        {"10.05", "壹拾圆零伍分"},
        {"12.5", "壹拾贰圆伍角"},
        {"105", "壹佰零伍圆"},
        {"150", "壹佰伍拾圆"},
        {"1001", "壹仟零壹圆"},
        {"1010", "壹仟零壹拾圆"},
        {"1100.1", "壹仟壹佰圆壹角"},
        {"6000.60", "陆仟圆陆角"},
        {"10001", "壹万零壹圆"},
        {"20304.07", "贰万零叁佰零肆圆零柒分"},
        {"100000", "壹拾万圆"},
        {"101000", "壹拾万零壹仟圆"},
        {"110000", "壹拾壹万圆"},
        {"1050000", "壹佰零伍万圆"},
        {"10010000", "壹仟零壹万圆"},
        {"70000005", "柒仟万零伍圆"},
        {"100000000", "壹亿圆"},
        {"100010000", "壹亿零壹万圆"},
        {"123456789.12", "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖圆壹角贰分"},
        {"1010000000", "壹拾亿零壹仟万圆"},
        {"999999999999.99", "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分"},
        {"1000000000000", "壹万亿圆"},
        {"-25.3", "欠贰拾伍圆叁角"},
    };
    for (const auto &[amount, capitals] : examples)
        QTest::newRow(amount) << QString::fromUtf8(amount) << QString::fromUtf8(capitals);
}

void TestAmountCapitals::writesCapitals()
{
    QFETCH(QString, amount);
    QFETCH(QString, capitals);
    QCOMPARE(amountInCapitals(amount), capitals);
}

void TestAmountCapitals::amountsBelowOneYuan_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("capitals");

    QTest::newRow("tenths") << "0.5" << "伍角";
    QTest::newRow("fen only, no leading zero") << "0.05" << "伍分";
    QTest::newRow("jiao and fen") << "0.15" << "壹角伍分";
    QTest::newRow("zero") << "0" << "零圆";
    QTest::newRow("zero with decimals") << "0.00" << "零圆";
    QTest::newRow("negative tenths") << "-0.5" << "欠伍角";
    QTest::newRow("negative fen") << "-0.05" << "欠伍分";
    QTest::newRow("negative zero") << "-0" << "零圆";
    QTest::newRow("one yuan keeps its zero before fen") << "1.05" << "壹圆零伍分";
}

void TestAmountCapitals::amountsBelowOneYuan()
{
    QFETCH(QString, amount);
    QFETCH(QString, capitals);
    QCOMPARE(amountInCapitals(amount), capitals);
}

void TestAmountCapitals::readsDecimalTextExactly_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("capitals");

    // 0.125 and 1.005 lie just below the half as doubles.
    QTest::newRow("half up at the third decimal") << "0.125" << "壹角叁分";
    QTest::newRow("half up, binary-unfriendly") << "1.005" << "壹圆零壹分";
    QTest::newRow("below the half") << "0.1249" << "壹角贰分";
    QTest::newRow("carry into the yuan") << "9.995" << "壹拾圆";
    QTest::newRow("carry through nines") << "99999.999" << "壹拾万圆";
    QTest::newRow("largest amount, rounded down") << "9999999999999.994" << "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分";
    QTest::newRow("leading zeros") << "007.50" << "柒圆伍角";
    QTest::newRow("point only at the end") << "5." << "伍圆";
    QTest::newRow("no integer digits") << ".5" << "伍角";
    QTest::newRow("plus sign") << "+3" << "叁圆";
    QTest::newRow("surrounding blanks") << " 8 " << "捌圆";

    QTest::newRow("empty") << "" << "";
    QTest::newRow("letters") << "abc" << "";
    QTest::newRow("group separators") << "1,000" << "";
    QTest::newRow("exponent") << "1e3" << "";
    QTest::newRow("two points") << "1.2.3" << "";
    QTest::newRow("sign alone") << "-" << "";
    QTest::newRow("full-width digits") << "１２" << "";
    QTest::newRow("ten trillion, beyond the units") << "10000000000000" << "";
    QTest::newRow("rounds up beyond the units") << "9999999999999.995" << "";
}

void TestAmountCapitals::readsDecimalTextExactly()
{
    QFETCH(QString, amount);
    QFETCH(QString, capitals);
    QCOMPARE(amountInCapitals(amount), capitals);
}

void TestAmountCapitals::normalisesAmountBox_data()
{
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("normalised");
    QTest::addColumn<QString>("capitals");

    QTest::newRow("empty box") << "            .  " << "0.0" << "零圆";
    QTest::newRow("digits both sides") << "123         .45" << "123.45" << "壹佰贰拾叁圆肆角伍分";
    QTest::newRow("digits with gaps") << "1 2 3       .  " << "123" << "壹佰贰拾叁圆";
    QTest::newRow("no decimals") << "5" << "5" << "伍圆";
    QTest::newRow("zero tenth") << "           .0 " << "0.0" << "零圆";
    QTest::newRow("gap in the decimals closes") << "            . 5" << ".5" << "伍角";
    QTest::newRow("nothing at all") << "" << "0" << "零圆";
    QTest::newRow("largest the box admits") << "999999999999.99" << "999999999999.99"
                                            << "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分";
}

void TestAmountCapitals::normalisesAmountBox()
{
    QFETCH(QString, boxText);
    QFETCH(QString, normalised);
    QFETCH(QString, capitals);
    QCOMPARE(normaliseAmountText(boxText), normalised);
    QCOMPARE(amountInCapitals(normaliseAmountText(boxText)), capitals);
}

void TestAmountCapitals::multipliesAndRoundsDecimals_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("rounded");

    QTest::newRow("half fen") << "1.5" << "0.99" << 0 << "1.485" << "1.49";
    QTest::newRow("percentage") << "22.95" << "10" << 2 << "2.2950" << "2.30";
    QTest::newRow("point alone at either end") << ".5" << "3." << 0 << "1.5" << "1.50";
    QTest::newRow("whole numbers") << "12" << "25" << 0 << "300" << "300.00";
    QTest::newRow("shift past the digits") << "5" << "1" << 3 << "0.005" << "0.01";
    QTest::newRow("carry into a new digit") << "99.995" << "1" << 0 << "99.995" << "100.00";
    QTest::newRow("beyond a double's digits") << "123456789012345.675" << "1" << 0
                                              << "123456789012345.675" << "123456789012345.68";
    QTest::newRow("zero") << "0" << "0.0" << 2 << "0.000" << "0.00";
    QTest::newRow("sign") << "-1" << "2" << 0 << "" << "";
    QTest::newRow("two points") << "1.2.3" << "2" << 0 << "" << "";
    QTest::newRow("empty") << "" << "2" << 0 << "" << "";
}

void TestAmountCapitals::multipliesAndRoundsDecimals()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(int, shift);
    QFETCH(QString, product);
    QFETCH(QString, rounded);
    QCOMPARE(decimalProduct(left, right, shift), product);
    QCOMPARE(roundedToFen(product), rounded);
}

PANDREL_TEST_MAIN(TestAmountCapitals)
#include "tst_amountcapitals.moc"
