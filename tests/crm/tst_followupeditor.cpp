#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"
#include "WhenModal.h"

#include "crm/CategoryTree.h"
#include "crm/FollowUpEditor.h"
#include "crm/GoodsCatalogueDialog.h"
#include "data/Recordset.h"

#include <QComboBox>
#include <QMap>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using Steps = QList<QPair<QString, double>>;

// The follow-up editor over a real database: its step model, its computations as the user
// types, and what it stores.
class TestFollowUpEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedExampleIsComputedAndStored();
    void halfFenRoundsUp_data();
    void halfFenRoundsUp();
    void savingUnchangedKeepsStoredNumbers_data();
    void savingUnchangedKeepsStoredNumbers();
    void newFollowUpStartsOnSecondStep_data();
    void newFollowUpStartsOnSecondStep();
    void closedStepHidesSave_data();
    void closedStepHidesSave();
    void emptiedBoxesGetDefaults_data();
    void emptiedBoxesGetDefaults();
    void onlyDigitsAndOnePointAreTyped_data();
    void onlyDigitsAndOnePointAreTyped();
    void editingShowsStoredValuesAtTheStepsCurrentRate();
    void stepMissingFromModelAsksForOne();
    void goodsNameIsRequired();
    void boxesKeepToTheColumnsBytes_data();
    void boxesKeepToTheColumnsBytes();
    void goodsArePickedFromTheCatalogue_data();
    void goodsArePickedFromTheCatalogue();
    void emptyOrUnreadableModelRefusesToOpen_data();
    void emptyOrUnreadableModelRefusesToOpen();

private:
    Database &database() { return m_folder->database(); }
    // Replaces the model by these steps, IDs and positions 1, 2, 3 …
    void setSteps(const Steps &steps);
    qint64 addFollowUp(qint64 stepId, double quantity, double price);
    std::unique_ptr<FollowUpEditor> openEditor(qint64 id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
};

namespace {

const Steps kFourSteps{{"初步接触", 10}, {"方案报价", 30}, {"成交回款", 100}, {"丢单", 0}};
const qint64 kClient = 3;

} // namespace

void TestFollowUpEditor::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 1), QTime(14, 30)));
    QVERIFY(database().execute("Delete from TCTrack"));
}

void TestFollowUpEditor::cleanup()
{
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestFollowUpEditor::setSteps(const Steps &steps)
{
    QVERIFY(database().execute("Delete from TCTrackStep"));
    for (int i = 0; i < steps.size(); ++i) {
        QVERIFY(database().execute("Insert into TCTrackStep (ID, StepIndex, StepTitle, StepRate) values (?, ?, ?, ?)",
                             {i + 1, i + 1, steps.at(i).first, steps.at(i).second}));
    }
}

qint64 TestFollowUpEditor::addFollowUp(qint64 stepId, double quantity, double price)
{
    database().execute("Insert into TCTrack (ClientID, GoodsName, Style, Unit, Price, Qty, Total, StepID, StepTotal, Desp, RecTime) "
                 "values (?, '碎纸机', 'S-200', '台', ?, ?, ?, ?, 1, '老客户', '2026-10-05 09:15:00')",
                 {kClient, price, quantity, quantity * price, stepId});
    return database().connection().lastInsertId();
}

std::unique_ptr<FollowUpEditor> TestFollowUpEditor::openEditor(qint64 id)
{
    auto editor = std::make_unique<FollowUpEditor>(kClient, id);
    if (!editor->loadRecord())
        return nullptr;
    editor->show();
    return editor;
}

void TestFollowUpEditor::workedExampleIsComputedAndStored()
{
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "新增跟单记录");
    editor->m_goodsNameEdit->setText("A4复印纸");
    typeOver(editor->m_quantityEdit, "3");
    typeOver(editor->m_priceEdit, "12.5");
    editor->m_unitCombo->setEditText("箱");

    QCOMPARE(editor->m_amountEdit->text(), "37.50");
    QCOMPARE(editor->m_stepCombo->currentText(), "方案报价");
    QCOMPARE(editor->m_rateEdit->text(), "30");
    QCOMPARE(editor->m_virtualValueEdit->text(), "11.25");

    editor->m_saveButton->click();
    QVERIFY(editor->saved());
    Recordset stored(database());
    QVERIFY(stored.open("Select * from TCTrack"));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.integer("ClientID"), kClient);
    QCOMPARE(stored.text("GoodsName"), "A4复印纸");
    QCOMPARE(stored.text("Unit"), "箱");
    QCOMPARE(stored.number("Qty"), 3.0);
    QCOMPARE(stored.number("Price"), 12.5);
    QCOMPARE(stored.number("Total"), 37.5);
    QCOMPARE(stored.integer("StepID"), 2);
    QCOMPARE(stored.number("StepTotal"), 11.25);
    // The table supplies no record time, so a new follow-up gets the moment it was saved.
    QCOMPARE(stored.dateTime("RecTime"), m_clock->now());
}

void TestFollowUpEditor::halfFenRoundsUp_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("virtualValue");

    // Each row holds a half fen that a binary double puts just below the half.
    QTest::newRow("value 2.295") << "1" << "22.95" << 10.0 << "22.95" << "2.30";
    QTest::newRow("amount 1.485") << "1.5" << "0.99" << 10.0 << "1.49" << "0.15";
    QTest::newRow("amount 1.005") << "3" << "0.335" << 50.0 << "1.01" << "0.51";
    QTest::newRow("half fen alone") << "0.5" << "0.01" << 50.0 << "0.01" << "0.01";
    QTest::newRow("rate with decimals") << "1" << "0.2" << 12.5 << "0.20" << "0.03";
    QTest::newRow("large amount") << "3" << "4115.375" << 10.0 << "12346.13" << "1234.61";
    QTest::newRow("carry through nines") << "1" << "99999.995" << 10.0 << "100000.00" << "10000.00";
    QTest::newRow("below the half") << "1" << "0.994" << 30.0 << "0.99" << "0.30";
}

// The user types quantity and price; amount and virtual value are rounded half up, shown and
// stored as shown, so the list's sums carry the right fen.
void TestFollowUpEditor::halfFenRoundsUp()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(double, rate);
    QFETCH(QString, amount);
    QFETCH(QString, virtualValue);
    setSteps({{"初步接触", 5}, {"方案报价", rate}, {"成交回款", 100}, {"丢单", 0}});
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_goodsNameEdit->setText("A4复印纸");
    typeOver(editor->m_quantityEdit, quantity);
    typeOver(editor->m_priceEdit, price);
    QCOMPARE(editor->m_amountEdit->text(), amount);
    QCOMPARE(editor->m_virtualValueEdit->text(), virtualValue);

    editor->m_saveButton->click();
    QVERIFY(editor->saved());
    Recordset stored(database());
    QVERIFY(stored.open("Select * from TCTrack"));
    QCOMPARE(stored.number("Total"), amount.toDouble());
    QCOMPARE(stored.number("StepTotal"), virtualValue.toDouble());
}

void TestFollowUpEditor::savingUnchangedKeepsStoredNumbers_data()
{
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("shownQuantity");
    QTest::addColumn<QString>("shownPrice");

    QTest::newRow("whole") << 3.0 << 12.5 << "3.00" << "12.50";
    QTest::newRow("price of three decimals") << 1.0 << 12.345 << "1.00" << "12.345";
    QTest::newRow("quantity of three decimals") << 0.125 << 8.0 << "0.125" << "8.00";
    QTest::newRow("amount of four decimals") << 2.5 << 12.345 << "2.50" << "12.345";
}

// Opening a follow-up and saving it as it stands changes none of its numbers: the boxes show
// a stored number with all its decimals where two would round it.
void TestFollowUpEditor::savingUnchangedKeepsStoredNumbers()
{
    QFETCH(double, quantity);
    QFETCH(double, price);
    QFETCH(QString, shownQuantity);
    QFETCH(QString, shownPrice);
    setSteps(kFourSteps);
    const qint64 id = addFollowUp(2, quantity, price);
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->m_quantityEdit->text(), shownQuantity);
    QCOMPARE(editor->m_priceEdit->text(), shownPrice);

    editor->m_saveButton->click();
    QVERIFY(editor->saved());
    Recordset stored(database());
    QVERIFY(stored.open("Select * from TCTrack"));
    QCOMPARE(stored.number("Qty"), quantity);
    QCOMPARE(stored.number("Price"), price);
    QCOMPARE(stored.number("Total"), quantity * price);
}

void TestFollowUpEditor::newFollowUpStartsOnSecondStep_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("shownStep");
    QTest::addColumn<QString>("rate");

    QTest::newRow("several steps") << kFourSteps << "方案报价" << "30";
    QTest::newRow("one step") << Steps{{"洽谈中", 50}} << QString() << "0.00";
}

void TestFollowUpEditor::newFollowUpStartsOnSecondStep()
{
    QFETCH(Steps, steps);
    QFETCH(QString, shownStep);
    QFETCH(QString, rate);
    setSteps(steps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->m_stepCombo->count(), steps.size());
    QCOMPARE(editor->m_stepCombo->currentText(), shownStep);
    QCOMPARE(editor->m_rateEdit->text(), rate);

    editor->m_goodsNameEdit->setText("碎纸机");
    const bool saved = editor->saveRecord();
    QCOMPARE(saved, !shownStep.isEmpty());
    if (!saved) {
        QCOMPARE(m_prompter->lastShown(), "请选择跟单进度！");
        QCOMPARE(editor->m_stepCombo->currentText(), steps.at(0).first);
        QCOMPARE(database().queryValue("Select count(*) from TCTrack"), "0");
        // Choosing the step the list shows makes it count.
        editor->m_stepCombo->activated(0);
        QVERIFY(editor->saveRecord());
        QCOMPARE(database().queryValue("Select StepID from TCTrack"), "1");
    }
}

void TestFollowUpEditor::closedStepHidesSave_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<qint64>("stepId");
    QTest::addColumn<bool>("canSave");

    QTest::newRow("deal won (100 %)") << kFourSteps << qint64(3) << false;
    QTest::newRow("deal lost (0 %)") << kFourSteps << qint64(4) << false;
    QTest::newRow("deal in progress") << kFourSteps << qint64(2) << true;
    const Steps twoFinishing{{"签约", 100}, {"回款", 100}, {"放弃", 0}, {"丢单", 0}};
    QTest::newRow("earlier of two 100 % steps") << twoFinishing << qint64(1) << true;
    QTest::newRow("last of two 100 % steps") << twoFinishing << qint64(2) << false;
    QTest::newRow("earlier of two 0 % steps") << twoFinishing << qint64(3) << true;
    QTest::newRow("last of two 0 % steps") << twoFinishing << qint64(4) << false;
}

void TestFollowUpEditor::closedStepHidesSave()
{
    QFETCH(Steps, steps);
    QFETCH(qint64, stepId);
    QFETCH(bool, canSave);
    setSteps(steps);
    auto editor = openEditor(addFollowUp(stepId, 1, 100));
    QVERIFY(editor);
    QCOMPARE(editor->m_saveButton->isVisible(), canSave);
    QCOMPARE(editor->m_cancelButton->isVisible(), true);
}

void TestFollowUpEditor::emptiedBoxesGetDefaults_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("amount");

    QTest::newRow("quantity emptied") << "quantity" << "" << "1" << "8.00" << "8.00";
    QTest::newRow("quantity only a point") << "quantity" << "." << "1" << "8.00" << "8.00";
    QTest::newRow("price emptied") << "price" << "" << "4.00" << "0.0" << "0.00";
    QTest::newRow("price only a point") << "price" << "." << "4.00" << "0.0" << "0.00";
}

void TestFollowUpEditor::emptiedBoxesGetDefaults()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, amount);
    setSteps(kFourSteps);
    auto editor = openEditor(addFollowUp(2, 4, 8));
    QVERIFY(editor);
    typeOver(box == "quantity" ? editor->m_quantityEdit : editor->m_priceEdit, typed);

    QCOMPARE(editor->m_quantityEdit->text(), quantity);
    QCOMPARE(editor->m_priceEdit->text(), price);
    QCOMPARE(editor->m_amountEdit->text(), amount);
    QCOMPARE(editor->m_virtualValueEdit->text(), amount == "0.00" ? "0.00" : "2.40");
}

void TestFollowUpEditor::onlyDigitsAndOnePointAreTyped_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    for (const QString box : {"quantity", "price"}) {
        QTest::addRow("%s: second point", qPrintable(box)) << box << "1.5." << "1.5";
        QTest::addRow("%s: point after digits", qPrintable(box)) << box << "2.25" << "2.25";
        QTest::addRow("%s: letters and signs", qPrintable(box)) << box << "-7a,e8" << "78";
    }
}

void TestFollowUpEditor::onlyDigitsAndOnePointAreTyped()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QLineEdit *edit = box == "quantity" ? editor->m_quantityEdit : editor->m_priceEdit;
    typeOver(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void TestFollowUpEditor::editingShowsStoredValuesAtTheStepsCurrentRate()
{
    setSteps(kFourSteps);
    const qint64 id = addFollowUp(2, 2, 100);
    // The model changed since the follow-up was stored: the step is now worth 45 %.
    QVERIFY(database().execute("Update TCTrackStep Set StepRate=45 where ID=2"));
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "修改/查看跟单记录");
    QCOMPARE(editor->m_goodsNameEdit->text(), "碎纸机");
    QCOMPARE(editor->m_specificationEdit->text(), "S-200");
    QCOMPARE(editor->m_unitCombo->currentText(), "台");
    QCOMPARE(editor->m_quantityEdit->text(), "2.00");
    QCOMPARE(editor->m_priceEdit->text(), "100.00");
    QCOMPARE(editor->m_amountEdit->text(), "200.00");
    QCOMPARE(editor->m_stepCombo->currentText(), "方案报价");
    QCOMPARE(editor->m_rateEdit->text(), "45");
    QCOMPARE(editor->m_virtualValueEdit->text(), "90.00");
    QCOMPARE(editor->m_notesEdit->toPlainText(), "老客户");

    typeOver(editor->m_quantityEdit, "3");
    QVERIFY(editor->saveRecord());
    Recordset stored(database());
    QVERIFY(stored.open("Select * from TCTrack where ID=?", {id}));
    QCOMPARE(stored.number("Total"), 300.0);
    QCOMPARE(stored.number("StepTotal"), 135.0);
    QCOMPARE(stored.text("RecTime"), "2026-10-05 09:15:00");
    QCOMPARE(database().queryValue("Select count(*) from TCTrack"), "1");
}

void TestFollowUpEditor::stepMissingFromModelAsksForOne()
{
    setSteps(kFourSteps);
    const qint64 id = addFollowUp(99, 2, 100);
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->m_stepCombo->currentIndex(), -1);
    QCOMPARE(editor->chosenStepId(), -1);
    QCOMPARE(editor->m_rateEdit->text(), "0.00");
    QVERIFY(editor->m_saveButton->isVisible());

    QVERIFY(!editor->saveRecord());
    QCOMPARE(m_prompter->lastShown(), "请选择跟单进度！");
    QCOMPARE(database().queryValue("Select StepID from TCTrack"), "99");
}

void TestFollowUpEditor::goodsNameIsRequired()
{
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_saveButton->click();
    QVERIFY(!editor->saved());
    QCOMPARE(m_prompter->shown(), QStringList{"请输入您销售的商品/服务的名称！"});
    QCOMPARE(editor->focusWidget(), editor->m_goodsNameEdit);
    QCOMPARE(database().queryValue("Select count(*) from TCTrack"), "0");
}

void TestFollowUpEditor::boxesKeepToTheColumnsBytes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("bytes");

    QTest::newRow("goods name") << "goodsNameEdit" << 50;
    QTest::newRow("model and size") << "specificationEdit" << 20;
    QTest::newRow("remarks") << "notesEdit" << 200;
}

void TestFollowUpEditor::boxesKeepToTheColumnsBytes()
{
    QFETCH(QString, box);
    QFETCH(int, bytes);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    const QMap<QString, QWidget *> boxes{
        {"goodsNameEdit", editor->m_goodsNameEdit}, {"specificationEdit", editor->m_specificationEdit}, {"notesEdit", editor->m_notesEdit}};
    QWidget *widget = boxes.value(box);
    // Two bytes a character: one character more than fits is left out.
    commitInput(widget, QString(bytes / 2 + 1, QChar(0x8BA2)));
    const auto kept = [widget] {
        auto *line = qobject_cast<QLineEdit *>(widget);
        return line ? line->text() : qobject_cast<QPlainTextEdit *>(widget)->toPlainText();
    };
    // What fits is put back once the refused change is undone.
    QTRY_COMPARE(kept(), QString(bytes / 2, QChar(0x8BA2)));
}

void TestFollowUpEditor::goodsArePickedFromTheCatalogue_data()
{
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<bool>("choose");

    QTest::newRow("button, chosen") << false << true;
    QTest::newRow("double-click on the name, chosen") << true << true;
    QTest::newRow("closed without choosing") << false << false;
}

void TestFollowUpEditor::goodsArePickedFromTheCatalogue()
{
    QFETCH(bool, byDoubleClick);
    QFETCH(bool, choose);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->m_goodsNameEdit->setText("旧名称");
    typeOver(editor->m_quantityEdit, "2");

    whenModal<GoodsCatalogueDialog>(this, [choose](GoodsCatalogueDialog *goods) {
        goods->m_categoryTree->setCurrentItem(goods->m_categoryTree->findNode("00010001"));
        goods->goods().locate(goods->goods().valueAt(1, goods->goods().fieldIndex("ID")).toLongLong());
        (choose ? goods->m_chooseButton : goods->m_closeButton)->click();
    });
    if (byDoubleClick)
        QTest::mouseDClick(editor->m_goodsNameEdit, Qt::LeftButton);
    else
        editor->m_chooseGoodsButton->click();

    QCOMPARE(editor->m_goodsNameEdit->text(), choose ? "黑白激光打印机" : "旧名称");
    QCOMPARE(editor->m_specificationEdit->text(), choose ? "LP-2300D" : "");
    QCOMPARE(editor->m_unitCombo->currentText(), choose ? "台" : "");
    QCOMPARE(editor->m_priceEdit->text(), choose ? "1580" : "0.00");
    QCOMPARE(editor->m_quantityEdit->text(), "2");
    QCOMPARE(editor->m_amountEdit->text(), choose ? "3160.00" : "0.00");
    QCOMPARE(editor->m_virtualValueEdit->text(), choose ? "948.00" : "0.00");
}

void TestFollowUpEditor::emptyOrUnreadableModelRefusesToOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");

    QTest::newRow("no steps") << "Delete from TCTrackStep" << "在增加跟踪任务之前，请首先增加客户跟踪进度分段指标的价值模型！";
    QTest::newRow("model unreadable") << "Drop table TCTrackStep" << "读取数据出现错误。";
}

void TestFollowUpEditor::emptyOrUnreadableModelRefusesToOpen()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    QVERIFY(database().execute(change));
    for (const qint64 id : {qint64(-1), addFollowUp(1, 1, 10)}) {
        FollowUpEditor editor(kClient, id);
        QVERIFY(!editor.loadRecord());
        QCOMPARE(m_prompter->lastShown(), message);
    }
    QVERIFY(!editFollowUp(kClient, -1));
}

PANDREL_TEST_MAIN(TestFollowUpEditor)
#include "tst_followupeditor.moc"
