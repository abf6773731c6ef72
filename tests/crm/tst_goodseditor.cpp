#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"

#include "crm/TfrmGoodsEdit.h"
#include "data/Recordset.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

// The goods editor over a real database.
class TestGoodsEdit : public QObject
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
    void unreadableTableIsReported();

private:
    TDM &dm() { return m_folder->dm(); }
    std::unique_ptr<TfrmGoodsEdit> openEditor(qint64 id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

namespace {
const QString kCategory = QStringLiteral("00010003");
}

void TestGoodsEdit::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    QVERIFY(dm().execute("Delete from TGoods"));
}

void TestGoodsEdit::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
}

std::unique_ptr<TfrmGoodsEdit> TestGoodsEdit::openEditor(qint64 id)
{
    auto editor = std::make_unique<TfrmGoodsEdit>(kCategory);
    if (!editor->ReadyData(id))
        return nullptr;
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor.get()))
        return nullptr;
    return editor;
}

void TestGoodsEdit::newGoodsIsFiledUnderItsCategory()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "新增商品纪录");
    QCOMPARE(editor->EditPrice->text(), "0.00");
    editor->EditGoodsName->setText("碎纸机");
    editor->EditGoodsCode->setText("SZJ-1");
    editor->EditGoodsStyle->setText("S-200");
    editor->EditUnit->setText("台");
    typeOver(editor->EditPrice, "680.5");
    editor->EditDesp->setPlainText("四级保密，单次 10 张");
    editor->cmdReg->click();
    QVERIFY(editor->saved());

    Recordset stored(dm());
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

void TestGoodsEdit::codeDefaultsToPinyinInitials_data()
{
    QTest::addColumn<QString>("typedCode");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("savedFromTheName"); // Alt+S in the name box: it is never left

    QTest::newRow("empty code box") << QString() << "BJab" << false;
    QTest::newRow("typed code stays") << "X-9" << "X-9" << false;
    QTest::newRow("saved from the name box") << QString() << "BJab" << true;
}

void TestGoodsEdit::codeDefaultsToPinyinInitials()
{
    QFETCH(QString, typedCode);
    QFETCH(QString, code);
    QFETCH(bool, savedFromTheName);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->EditGoodsCode->setText(typedCode);
    editor->EditGoodsName->setFocus();
    commitInput(editor->EditGoodsName, "北京ab");
    if (!savedFromTheName) {
        // Enter moves on to the next box, leaving the name box.
        QTest::keyClick(editor->EditGoodsName, Qt::Key_Return);
        QVERIFY(editor->focusWidget() != editor->EditGoodsName);
        QCOMPARE(editor->EditGoodsCode->text(), code);
    }
    QVERIFY(editor->SaveData());
    QCOMPARE(dm().GetDataBySQL("Select GoodsCode from TGoods"), code);
}

void TestGoodsEdit::priceIsStoredAsNumber_data()
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

void TestGoodsEdit::priceIsStoredAsNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, saved);
    QFETCH(QString, stored);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->EditGoodsName->setText("复印纸");
    typeOver(editor->EditPrice, typed);
    QCOMPARE(editor->SaveData(), saved);
    QCOMPARE(dm().GetDataBySQL("Select Price from TGoods"), stored);
    if (!saved) {
        QCOMPARE(m_prompter->shown(), QStringList{"售价必须是一个数字，例如 12.50！"});
        QCOMPARE(editor->focusWidget(), editor->EditPrice);
        QCOMPARE(editor->EditPrice->text(), typed);
    }
}

void TestGoodsEdit::priceTakesDigitsAndPoints()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    typeOver(editor->EditPrice, "-1a2.5.x");
    QCOMPARE(editor->EditPrice->text(), "12.5.");
}

void TestGoodsEdit::nameIsRequired()
{
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->cmdReg->click();
    QVERIFY(!editor->saved());
    QCOMPARE(m_prompter->shown(), QStringList{"商品名称必须输入！"});
    QCOMPARE(editor->focusWidget(), editor->EditGoodsName);
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TGoods"), "0");
}

void TestGoodsEdit::editingFillsAndUpdatesTheRow()
{
    QVERIFY(dm().execute("Insert into TGoods (TypeCode, GoodsCode, GoodsName, Style, Unit, Price, Desp) "
                         "values ('0002', 'HBJ', '黑白机', 'LP', '台', 1580, '旧说明')"));
    const qint64 id = dm().connection().lastInsertId();
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "修改商品记录");
    QCOMPARE(editor->EditGoodsName->text(), "黑白机");
    QCOMPARE(editor->EditGoodsCode->text(), "HBJ");
    QCOMPARE(editor->EditGoodsStyle->text(), "LP");
    QCOMPARE(editor->EditUnit->text(), "台");
    QCOMPARE(editor->EditPrice->text(), "1580.00");
    QCOMPARE(editor->EditDesp->toPlainText(), "旧说明");

    editor->EditGoodsName->setText("黑白激光打印机");
    QVERIFY(editor->SaveData());
    Recordset stored(dm());
    QVERIFY(stored.open("Select * from TGoods"));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.text("GoodsName"), "黑白激光打印机");
    QCOMPARE(stored.number("Price"), 1580.0);
    // Saved from the category it was opened in.
    QCOMPARE(stored.text("TypeCode"), kCategory);
}

void TestGoodsEdit::unreadableTableIsReported()
{
    QVERIFY(dm().execute("Drop table TGoods"));
    TfrmGoodsEdit editor(kCategory);
    QVERIFY(!editor.ReadyData(-1));
    QCOMPARE(m_prompter->shown(), QStringList{"读取本地数据发生错误！"});
    QVERIFY(!ShowGoodsEditor(kCategory, -1));
}

PANDREL_TEST_MAIN(TestGoodsEdit)
#include "tst_goodsedit.moc"
