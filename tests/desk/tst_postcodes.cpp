#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "desk/PostCodesPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

// The post-code page on the shipped table, with a few rows of its own where names need to
// hold the characters LIKE treats specially.
class TestPostCodes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void provinceListFilled();
    void query_data();
    void query();
    void enterInEitherInputQueries();
    void choosingAProvinceClearsTheArea();
    void failureLeavesTheGridEmpty();

private:
    // What the grid holds: DQ and SM of every row, and whether it is ordered by post code.
    QStringList shownAreas() const;
    bool orderedByPostCode() const;
    int count(const QString &where, const QVariantList &params = {});

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<PostCodesPage> m_page;
};

void TestPostCodes::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Insert into YBQH (DQ, SM, YB, QH) values ('测试%区', '测试省', '999001', '0999'), "
        "('测试_区', '测试省', '999002', '0999'), ('测试甲区', '测试省', '999003', '0999')")));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_page = std::make_unique<PostCodesPage>();
    m_page->fillProvinces();
}

void TestPostCodes::cleanup()
{
    m_page.reset();
    m_prompter.reset();
    m_folder.reset();
}

QStringList TestPostCodes::shownAreas() const
{
    QStringList areas;
    Recordset &rows = m_page->postCodes();
    for (int row = 0; row < rows.count(); ++row)
        areas.append(rows.valueAt(row, rows.fieldIndex(QStringLiteral("DQ"))).toString());
    return areas;
}

bool TestPostCodes::orderedByPostCode() const
{
    Recordset &rows = m_page->postCodes();
    const int column = rows.fieldIndex(QStringLiteral("YB"));
    for (int row = 1; row < rows.count(); ++row) {
        if (rows.valueAt(row - 1, column).toString() > rows.valueAt(row, column).toString())
            return false;
    }
    return true;
}

int TestPostCodes::count(const QString &where, const QVariantList &params)
{
    return m_folder->database().queryValue(QStringLiteral("Select count(*) from YBQH where ") + where, params).toInt();
}

void TestPostCodes::provinceListFilled()
{
    QStringList provinces;
    for (int i = 0; i < m_page->m_provinceCombo->count(); ++i)
        provinces.append(m_page->m_provinceCombo->itemText(i));

    QCOMPARE(provinces.size(),
             m_folder->database().queryValue(QStringLiteral("Select count(Distinct SM) from YBQH where SM <> ''")).toInt());
    QVERIFY(provinces.contains(QStringLiteral("四川省")));
    QVERIFY(!provinces.contains(QString()));
    QVERIFY(m_page->m_provinceCombo->currentText().isEmpty());
    // In pinyin order: 北京市 (bei) before 四川省 (si).
    QVERIFY(provinces.indexOf(QStringLiteral("北京市")) < provinces.indexOf(QStringLiteral("四川省")));
}

void TestPostCodes::query_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("province");
    QTest::addColumn<QString>("where"); // the rows expected, by an independent condition
    QTest::addColumn<QVariantList>("params");

    QTest::newRow("成都 across provinces") << "成都" << "北京市" << "instr(DQ, ?) > 0" << QVariantList{"成都"};
    QTest::newRow("province alone") << "" << "四川省" << "SM = ?" << QVariantList{"四川省"};
    QTest::newRow("both empty: every row") << "" << "" << "1=1" << QVariantList{};
    QTest::newRow("% matches itself") << "%" << "" << "instr(DQ, ?) > 0" << QVariantList{"%"};
    QTest::newRow("_ matches itself") << "_" << "" << "instr(DQ, ?) > 0" << QVariantList{"_"};
    QTest::newRow("a quote") << "'" << "" << "0=1" << QVariantList{};
}

void TestPostCodes::query()
{
    QFETCH(QString, area);
    QFETCH(QString, province);
    QFETCH(QString, where);
    QFETCH(QVariantList, params);
    m_page->m_areaEdit->setText(area);
    m_page->m_provinceCombo->setEditText(province);

    m_page->m_queryButton->click();

    const int expected = count(where, params);
    QCOMPARE(m_page->postCodes().count(), expected);
    QVERIFY(orderedByPostCode());
    if (!area.isEmpty()) {
        QVERIFY(m_page->m_provinceCombo->currentText().isEmpty()); // the area searched every province
        for (const QString &shown : shownAreas())
            QVERIFY2(shown.contains(area), qPrintable(shown));
    }
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestPostCodes::enterInEitherInputQueries()
{
    m_page->m_areaEdit->setText(QStringLiteral("测试"));
    QTest::keyClick(m_page->m_areaEdit, Qt::Key_Return);
    QCOMPARE(shownAreas(), (QStringList{"测试%区", "测试_区", "测试甲区"}));

    m_page->m_areaEdit->clear();
    const int provinces = m_page->m_provinceCombo->count();
    m_page->m_provinceCombo->lineEdit()->setText(QStringLiteral("四川省"));
    QTest::keyClick(m_page->m_provinceCombo->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_page->postCodes().count(), count(QStringLiteral("SM = '四川省'")));
    QVERIFY(m_page->postCodes().count() > 0);
    QCOMPARE(m_page->m_provinceCombo->count(), provinces); // a typed province is not added to the list
}

void TestPostCodes::choosingAProvinceClearsTheArea()
{
    m_page->m_areaEdit->setText(QStringLiteral("成都"));
    m_page->m_provinceCombo->setCurrentIndex(m_page->m_provinceCombo->findText(QStringLiteral("测试省")) - 1);

    m_page->m_provinceCombo->setFocus();
    QTest::keyClick(m_page->m_provinceCombo, Qt::Key_Down); // the user picks the next province of the list

    QCOMPARE(m_page->m_provinceCombo->currentText(), QStringLiteral("测试省"));
    QVERIFY(m_page->m_areaEdit->text().isEmpty());
    QCOMPARE(shownAreas(), (QStringList{"测试%区", "测试_区", "测试甲区"}));
}

void TestPostCodes::failureLeavesTheGridEmpty()
{
    QVERIFY(m_page->queryPostCodes());
    QVERIFY(m_page->postCodes().count() > 0);
    QVERIFY(m_folder->database().execute(QStringLiteral("Drop table YBQH")));

    QVERIFY(!m_page->queryPostCodes());

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取数据库文件发生错误！")});
    QCOMPARE(m_page->postCodes().count(), 0);
}

PANDREL_TEST_MAIN(TestPostCodes)
#include "tst_postcodes.moc"
