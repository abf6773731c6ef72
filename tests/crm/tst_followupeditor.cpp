#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"
#include "WhenModal.h"

#include "crm/CategoryTree.h"
#include "crm/TfrmClientTrackEdit.h"
#include "crm/TfrmGoods.h"
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
class TestClientTrackEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedExampleIsComputedAndStored();
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
    TDM &dm() { return m_folder->dm(); }
    // Replaces the model by these steps, IDs and positions 1, 2, 3 …
    void setSteps(const Steps &steps);
    qint64 addFollowUp(qint64 stepId, double quantity, double price);
    std::unique_ptr<TfrmClientTrackEdit> openEditor(qint64 id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
};

namespace {

const Steps kFourSteps{{"初步接触", 10}, {"方案报价", 30}, {"成交回款", 100}, {"丢单", 0}};
const qint64 kClient = 3;

} // namespace

void TestClientTrackEdit::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 1), QTime(14, 30)));
    QVERIFY(dm().execute("Delete from TCTrack"));
}

void TestClientTrackEdit::cleanup()
{
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestClientTrackEdit::setSteps(const Steps &steps)
{
    QVERIFY(dm().execute("Delete from TCTrackStep"));
    for (int i = 0; i < steps.size(); ++i) {
        QVERIFY(dm().execute("Insert into TCTrackStep (ID, StepIndex, StepTitle, StepRate) values (?, ?, ?, ?)",
                             {i + 1, i + 1, steps.at(i).first, steps.at(i).second}));
    }
}

qint64 TestClientTrackEdit::addFollowUp(qint64 stepId, double quantity, double price)
{
    dm().execute("Insert into TCTrack (ClientID, GoodsName, Style, Unit, Price, Qty, Total, StepID, StepTotal, Desp, RecTime) "
                 "values (?, '碎纸机', 'S-200', '台', ?, ?, ?, ?, 1, '老客户', '2026-10-05 09:15:00')",
                 {kClient, price, quantity, quantity * price, stepId});
    return dm().connection().lastInsertId();
}

std::unique_ptr<TfrmClientTrackEdit> TestClientTrackEdit::openEditor(qint64 id)
{
    auto editor = std::make_unique<TfrmClientTrackEdit>(kClient, id);
    if (!editor->ReadyData())
        return nullptr;
    editor->show();
    return editor;
}

void TestClientTrackEdit::workedExampleIsComputedAndStored()
{
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "新增跟单记录");
    editor->EditGoodsName->setText("A4复印纸");
    typeOver(editor->EditQty, "3");
    typeOver(editor->EditPrice, "12.5");
    editor->cmbUnit->setEditText("箱");

    QCOMPARE(editor->EditTotal->text(), "37.50");
    QCOMPARE(editor->cmbStep->currentText(), "方案报价");
    QCOMPARE(editor->EditRate->text(), "30");
    QCOMPARE(editor->EditStepTotal->text(), "11.25");

    editor->cmdSave->click();
    QVERIFY(editor->saved());
    Recordset stored(dm());
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

void TestClientTrackEdit::newFollowUpStartsOnSecondStep_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("shownStep");
    QTest::addColumn<QString>("rate");

    QTest::newRow("several steps") << kFourSteps << "方案报价" << "30";
    QTest::newRow("one step") << Steps{{"洽谈中", 50}} << QString() << "0.00";
}

void TestClientTrackEdit::newFollowUpStartsOnSecondStep()
{
    QFETCH(Steps, steps);
    QFETCH(QString, shownStep);
    QFETCH(QString, rate);
    setSteps(steps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QCOMPARE(editor->cmbStep->count(), steps.size());
    QCOMPARE(editor->cmbStep->currentText(), shownStep);
    QCOMPARE(editor->EditRate->text(), rate);

    editor->EditGoodsName->setText("碎纸机");
    const bool saved = editor->SaveData();
    QCOMPARE(saved, !shownStep.isEmpty());
    if (!saved) {
        QCOMPARE(m_prompter->lastShown(), "请选择跟单进度！");
        QCOMPARE(editor->cmbStep->currentText(), steps.at(0).first);
        QCOMPARE(dm().GetDataBySQL("Select count(*) from TCTrack"), "0");
        // Choosing the step the list shows makes it count.
        editor->cmbStep->activated(0);
        QVERIFY(editor->SaveData());
        QCOMPARE(dm().GetDataBySQL("Select StepID from TCTrack"), "1");
    }
}

void TestClientTrackEdit::closedStepHidesSave_data()
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

void TestClientTrackEdit::closedStepHidesSave()
{
    QFETCH(Steps, steps);
    QFETCH(qint64, stepId);
    QFETCH(bool, canSave);
    setSteps(steps);
    auto editor = openEditor(addFollowUp(stepId, 1, 100));
    QVERIFY(editor);
    QCOMPARE(editor->cmdSave->isVisible(), canSave);
    QCOMPARE(editor->cmdCancel->isVisible(), true);
}

void TestClientTrackEdit::emptiedBoxesGetDefaults_data()
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

void TestClientTrackEdit::emptiedBoxesGetDefaults()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, amount);
    setSteps(kFourSteps);
    auto editor = openEditor(addFollowUp(2, 4, 8));
    QVERIFY(editor);
    typeOver(box == "quantity" ? editor->EditQty : editor->EditPrice, typed);

    QCOMPARE(editor->EditQty->text(), quantity);
    QCOMPARE(editor->EditPrice->text(), price);
    QCOMPARE(editor->EditTotal->text(), amount);
    QCOMPARE(editor->EditStepTotal->text(), amount == "0.00" ? "0.00" : "2.40");
}

void TestClientTrackEdit::onlyDigitsAndOnePointAreTyped_data()
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

void TestClientTrackEdit::onlyDigitsAndOnePointAreTyped()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    QLineEdit *edit = box == "quantity" ? editor->EditQty : editor->EditPrice;
    typeOver(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void TestClientTrackEdit::editingShowsStoredValuesAtTheStepsCurrentRate()
{
    setSteps(kFourSteps);
    const qint64 id = addFollowUp(2, 2, 100);
    // The model changed since the follow-up was stored: the step is now worth 45 %.
    QVERIFY(dm().execute("Update TCTrackStep Set StepRate=45 where ID=2"));
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), "修改/查看跟单记录");
    QCOMPARE(editor->EditGoodsName->text(), "碎纸机");
    QCOMPARE(editor->EditStyle->text(), "S-200");
    QCOMPARE(editor->cmbUnit->currentText(), "台");
    QCOMPARE(editor->EditQty->text(), "2.00");
    QCOMPARE(editor->EditPrice->text(), "100.00");
    QCOMPARE(editor->EditTotal->text(), "200.00");
    QCOMPARE(editor->cmbStep->currentText(), "方案报价");
    QCOMPARE(editor->EditRate->text(), "45");
    QCOMPARE(editor->EditStepTotal->text(), "90.00");
    QCOMPARE(editor->EditDesp->toPlainText(), "老客户");

    typeOver(editor->EditQty, "3");
    QVERIFY(editor->SaveData());
    Recordset stored(dm());
    QVERIFY(stored.open("Select * from TCTrack where ID=?", {id}));
    QCOMPARE(stored.number("Total"), 300.0);
    QCOMPARE(stored.number("StepTotal"), 135.0);
    QCOMPARE(stored.text("RecTime"), "2026-10-05 09:15:00");
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TCTrack"), "1");
}

void TestClientTrackEdit::stepMissingFromModelAsksForOne()
{
    setSteps(kFourSteps);
    const qint64 id = addFollowUp(99, 2, 100);
    auto editor = openEditor(id);
    QVERIFY(editor);
    QCOMPARE(editor->cmbStep->currentIndex(), -1);
    QCOMPARE(editor->chosenStepId(), -1);
    QCOMPARE(editor->EditRate->text(), "0.00");
    QVERIFY(editor->cmdSave->isVisible());

    QVERIFY(!editor->SaveData());
    QCOMPARE(m_prompter->lastShown(), "请选择跟单进度！");
    QCOMPARE(dm().GetDataBySQL("Select StepID from TCTrack"), "99");
}

void TestClientTrackEdit::goodsNameIsRequired()
{
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->cmdSave->click();
    QVERIFY(!editor->saved());
    QCOMPARE(m_prompter->shown(), QStringList{"请输入您销售的商品/服务的名称！"});
    QCOMPARE(editor->focusWidget(), editor->EditGoodsName);
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TCTrack"), "0");
}

void TestClientTrackEdit::boxesKeepToTheColumnsBytes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("bytes");

    QTest::newRow("goods name") << "EditGoodsName" << 50;
    QTest::newRow("model and size") << "EditStyle" << 20;
    QTest::newRow("remarks") << "EditDesp" << 200;
}

void TestClientTrackEdit::boxesKeepToTheColumnsBytes()
{
    QFETCH(QString, box);
    QFETCH(int, bytes);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    const QMap<QString, QWidget *> boxes{
        {"EditGoodsName", editor->EditGoodsName}, {"EditStyle", editor->EditStyle}, {"EditDesp", editor->EditDesp}};
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

void TestClientTrackEdit::goodsArePickedFromTheCatalogue_data()
{
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<bool>("choose");

    QTest::newRow("button, chosen") << false << true;
    QTest::newRow("double-click on the name, chosen") << true << true;
    QTest::newRow("closed without choosing") << false << false;
}

void TestClientTrackEdit::goodsArePickedFromTheCatalogue()
{
    QFETCH(bool, byDoubleClick);
    QFETCH(bool, choose);
    setSteps(kFourSteps);
    auto editor = openEditor(-1);
    QVERIFY(editor);
    editor->EditGoodsName->setText("旧名称");
    typeOver(editor->EditQty, "2");

    whenModal<TfrmGoods>(this, [choose](TfrmGoods *goods) {
        goods->tree->setCurrentItem(goods->tree->FindNode("00010001"));
        goods->goods().locate(goods->goods().valueAt(1, goods->goods().fieldIndex("ID")).toLongLong());
        (choose ? goods->cmdSelect : goods->cmdClose)->click();
    });
    if (byDoubleClick)
        QTest::mouseDClick(editor->EditGoodsName, Qt::LeftButton);
    else
        editor->sbSelSaler->click();

    QCOMPARE(editor->EditGoodsName->text(), choose ? "黑白激光打印机" : "旧名称");
    QCOMPARE(editor->EditStyle->text(), choose ? "LP-2300D" : "");
    QCOMPARE(editor->cmbUnit->currentText(), choose ? "台" : "");
    QCOMPARE(editor->EditPrice->text(), choose ? "1580" : "0.00");
    QCOMPARE(editor->EditQty->text(), "2");
    QCOMPARE(editor->EditTotal->text(), choose ? "3160.00" : "0.00");
    QCOMPARE(editor->EditStepTotal->text(), choose ? "948.00" : "0.00");
}

void TestClientTrackEdit::emptyOrUnreadableModelRefusesToOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");

    QTest::newRow("no steps") << "Delete from TCTrackStep" << "在增加跟踪任务之前，请首先增加客户跟踪进度分段指标的价值模型！";
    QTest::newRow("model unreadable") << "Drop table TCTrackStep" << "读取数据出现错误。";
}

void TestClientTrackEdit::emptyOrUnreadableModelRefusesToOpen()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    QVERIFY(dm().execute(change));
    for (const qint64 id : {qint64(-1), addFollowUp(1, 1, 10)}) {
        TfrmClientTrackEdit editor(kClient, id);
        QVERIFY(!editor.ReadyData());
        QCOMPARE(m_prompter->lastShown(), message);
    }
    QVERIFY(!ShowFollowUpEditor(kClient, -1));
}

PANDREL_TEST_MAIN(TestClientTrackEdit)
#include "tst_clienttrackedit.moc"
