#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"

#include "crm/GoodsEditor.h"
#include "data/Recordset.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

// The goods editor over a real database.
class TestGoodsEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newGoodsIsFiledUnderItsCategory();
    void codeDefaultsToPinyinInitials_data();
    void codeDefaultsToPinyinInitials();
    void priceIsStoredAsNumber_data();
    void priceIsStoredAsNumber();
    void priceTakesDigitsAndPoints();
    void nameIsRequired();
    void editingFillsAndUpdatesTheRow();
    void emptiedCodeIsRefilledOnLeavingTheName();
    void savingUnchangedKeepsThePrice_data();
    void savingUnchangedKeepsThePrice();
    void unreadableTableIsReported();

private:
    Database &database() { return m_folder->database(); }
    std::unique_ptr<GoodsEditor> openEditor(qint64 id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

namespace {
const QString kCategory = QStringLiteral("00010003");
}

void TestGoodsEditor::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    QVERIFY(database().execute("Delete from TGoods"));
}

void TestGoodsEditor::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
}

std::unique_ptr<GoodsEditor> TestGoodsEditor::openEditor(qint64 id)
{
    auto editor = std::make_unique<GoodsEditor>(kCategory);
    if (!editor->loadRecord(id))
        return nullptr;
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor.get()))
        return nullptr;
    return editor;
}

void TestGoodsEditor::newGoodsIsFiledUnderItsCategory()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "新增商品纪录");
    QCOMPARE(editor->m_priceEdit->text(), "0.00");
    editor->m_nameEdit->setText("碎纸机");
    editor->m_codeEdit->setText("SZJ-1");
    editor->m_specificationEdit->setText("S-200");
    editor->m_unitEdit->setText("台");
    typeOver(editor->m_priceEdit, "680.5");
    editor->m_descriptionEdit->setPlainText("四级保密，单次 10 张");
    editor->m_saveButton->click();
    QVERIFY(editor->saved());

    Recordset stored(database());
    QVERIFY(stored.open("Select * from TGoods"));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.text("TypeCode"), kCategory);
    QCOMPARE(stored.text("GoodsCode"), "SZJ-1");
    QCOMPARE(stored.text("GoodsName"), "碎纸机");
    QCOMPARE(stored.text("Style"), "S-200");
    QCOMPARE(stored.text("Unit"), "台");
    QCOMPARE(stored.number("Price"), 680.5);
    QCOMPARE(stored.text("Desp"), "四级保密，单次 10 张");
}

void TestGoodsEditor::codeDefaultsToPinyinInitials_data()
{
    QTest::addColumn<QString>("typedCode");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("savedFromTheName"); // Alt+S in the name box: it is never left

    QTest::newRow("empty code box") << QString() << "BJab" << false;
    QTest::newRow("typed code stays") << "X-9" << "X-9" << false;
    QTest::newRow("saved from the name box") << QString() << "BJab" << true;
}

void TestGoodsEditor::codeDefaultsToPinyinInitials()
{
    QFETCH(QString, typedCode);
    QFETCH(QString, code);
    QFETCH(bool, savedFromTheName);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_codeEdit->setText(typedCode);
    editor->m_nameEdit->setFocus();
    commitInput(editor->m_nameEdit, "北京ab");
    if (!savedFromTheName) {
        // Enter moves on to the next box, leaving the name box.
        QTest::keyClick(editor->m_nameEdit, Qt::Key_Return);
        QVERIFY(editor->focusWidget() != editor->m_nameEdit);
        QCOMPARE(editor->m_codeEdit->text(), code);
    }
    QVERIFY(editor->saveRecord());
    QCOMPARE(database().queryValue("Select GoodsCode from TGoods"), code);
}

void TestGoodsEditor::priceIsStoredAsNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("stored");

    QTest::newRow("empty") << "" << true << "0";
    QTest::newRow("only a point") << "." << true << "0";
    QTest::newRow("decimals") << "12.345" << true << "12.345";
    QTest::newRow("trailing point") << "7." << true << "7";
    QTest::newRow("two points") << "1.2.3" << false << QString();
}

void TestGoodsEditor::priceIsStoredAsNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, saved);
    QFETCH(QString, stored);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_nameEdit->setText("复印纸");
    typeOver(editor->m_priceEdit, typed);
    QCOMPARE(editor->saveRecord(), saved);
    QCOMPARE(database().queryValue("Select Price from TGoods"), stored);
    if (!saved) {
        QCOMPARE(m_prompter->shown(), QStringList{"售价必须是一个数字，例如 12.50！"});
        QCOMPARE(editor->focusWidget(), editor->m_priceEdit);
        QCOMPARE(editor->m_priceEdit->text(), typed);
    }
}

void TestGoodsEditor::priceTakesDigitsAndPoints()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    typeOver(editor->m_priceEdit, "-1a2.5.x");
    QCOMPARE(editor->m_priceEdit->text(), "12.5.");
}

void TestGoodsEditor::nameIsRequired()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_saveButton->click();
    QVERIFY(!editor->saved());
    QCOMPARE(m_prompter->shown(), QStringList{"商品名称必须输入！"});
    QCOMPARE(editor->focusWidget(), editor->m_nameEdit);
    QCOMPARE(database().queryValue("Select count(*) from TGoods"), "0");
}

void TestGoodsEditor::editingFillsAndUpdatesTheRow()
{
    QVERIFY(database().execute("Insert into TGoods (TypeCode, GoodsCode, GoodsName, Style, Unit, Price, Desp) "
                         "values ('0002', 'HBJ', '黑白机', 'LP', '台', 1580, '旧说明')"));
    const qint64 id = database().connection().lastInsertId();
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "修改商品记录");
    QCOMPARE(editor->m_nameEdit->text(), "黑白机");
    QCOMPARE(editor->m_codeEdit->text(), "HBJ");
    QCOMPARE(editor->m_specificationEdit->text(), "LP");
    QCOMPARE(editor->m_unitEdit->text(), "台");
    QCOMPARE(editor->m_priceEdit->text(), "1580.00");
    QCOMPARE(editor->m_descriptionEdit->toPlainText(), "旧说明");

    editor->m_nameEdit->setText("黑白激光打印机");
    QVERIFY(editor->saveRecord());
    Recordset stored(database());
    QVERIFY(stored.open("Select * from TGoods"));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.text("GoodsName"), "黑白激光打印机");
    QCOMPARE(stored.number("Price"), 1580.0);
    // Saved from the category it was opened in.
    QCOMPARE(stored.text("TypeCode"), kCategory);
}

// The user empties the code and passes through the name box without changing it.
void TestGoodsEditor::emptiedCodeIsRefilledOnLeavingTheName()
{
    QVERIFY(database().execute("Insert into TGoods (TypeCode, GoodsCode, GoodsName) values (?, 'HBJ', '黑白机')", {kCategory}));
    auto editor = openEditor(database().connection().lastInsertId());
    QVERIFY(editor);
    editor->m_codeEdit->setFocus();
    editor->m_codeEdit->selectAll();
    QTest::keyClick(editor->m_codeEdit, Qt::Key_Delete);
    editor->m_nameEdit->setFocus();
    QTest::keyClick(editor->m_nameEdit, Qt::Key_Return);
    QCOMPARE(editor->m_codeEdit->text(), "HBJ");
}

void TestGoodsEditor::savingUnchangedKeepsThePrice_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two decimals") << 12.5 << "12.50";
    QTest::newRow("three decimals") << 12.345 << "12.345";
    QTest::newRow("below a fen") << 0.004 << "0.004";
}

// Two decimals in the box would round the stored price on a save the user made no change in.
void TestGoodsEditor::savingUnchangedKeepsThePrice()
{
    QFETCH(double, price);
    QFETCH(QString, shown);
    QVERIFY(database().execute("Insert into TGoods (TypeCode, GoodsCode, GoodsName, Price) values (?, 'HBJ', '黑白机', ?)",
                               {kCategory, price}));
    auto editor = openEditor(database().connection().lastInsertId());
    QVERIFY(editor);
    QCOMPARE(editor->m_priceEdit->text(), shown);
    QVERIFY(editor->saveRecord());
    QCOMPARE(database().queryValue("Select Price from TGoods").toDouble(), price);
}

void TestGoodsEditor::unreadableTableIsReported()
{
    QVERIFY(database().execute("Drop table TGoods"));
    GoodsEditor editor(kCategory);
    QVERIFY(!editor.loadRecord(-1));
    QCOMPARE(m_prompter->shown(), QStringList{"读取本地数据发生错误！"});
    QVERIFY(!editGoods(kCategory, -1));
}

PANDREL_TEST_MAIN(TestGoodsEditor)
#include "tst_goodseditor.moc"
