#include "crm/FollowUpEditor.h"

#include "crm/EditorHelpers.h"
#include "crm/GoodsCatalogueDialog.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Input limits of the follow-up columns, in GBK bytes.
constexpr int kGoodsNameBytes = 50;
constexpr int kStyleBytes = 20;
constexpr int kUnitBytes = 10;
constexpr int kNumberBytes = 10;
constexpr int kNotesBytes = 200;

const QString kNewQuantity = QStringLiteral("1");
const QString kZero = QStringLiteral("0.00");

void reportReadFailure()
{
    platform::prompter().message(FollowUpEditor::tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
}

// Quantity and price take digits and one decimal point, typed or pasted; digits are one byte
// each, so the byte limit is a length limit.
void acceptOnlyNumbers(QLineEdit *edit)
{
    static const QRegularExpression number(QStringLiteral(R"(\d*\.?\d*)"));
    edit->setValidator(new QRegularExpressionValidator(number, edit));
    edit->setMaxLength(kNumberBytes);
    edit->setAlignment(Qt::AlignRight);
}

// The computed boxes: read-only, in the tooltip colour, so they read as results.
void showAsResult(QLineEdit *edit)
{
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    edit->setPalette(palette);
}

} // namespace

FollowUpEditor::FollowUpEditor(qint64 clientId, qint64 id, QWidget *parent)
    : QDialog(parent)
    , m_goodsNameEdit(new QLineEdit)
    , m_chooseGoodsButton(new QToolButton)
    , m_specificationEdit(new QLineEdit)
    , m_quantityEdit(new QLineEdit(kNewQuantity))
    , m_unitCombo(new QComboBox)
    , m_priceEdit(new QLineEdit(kZero))
    , m_amountEdit(new QLineEdit(kZero))
    , m_stepCombo(new QComboBox)
    , m_rateEdit(new QLineEdit(kZero))
    , m_virtualValueEdit(new QLineEdit(kZero))
    , m_notesEdit(new QPlainTextEdit)
    , m_recordTimeEdit(new QDateTimeEdit)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
    , m_id(id)
{
    setWindowTitle(tr("新增/修改跟单记录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, m_saveButton, m_cancelButton, [this] { return saveRecord(); }));
    resize(480, 400);

    new EnterAsTabFilter(this);
    m_goodsNameEdit->installEventFilter(this);
    connect(m_chooseGoodsButton, &QToolButton::clicked, this, &FollowUpEditor::chooseGoods);
    connect(m_quantityEdit, &QLineEdit::textEdited, this, &FollowUpEditor::quantityEdited);
    connect(m_priceEdit, &QLineEdit::textEdited, this, &FollowUpEditor::priceEdited);
    connect(m_stepCombo, &QComboBox::activated, this, &FollowUpEditor::computeStep);
    m_goodsNameEdit->setFocus();
}

QWidget *FollowUpEditor::buildFields()
{
    setGbkByteLimit(m_goodsNameEdit, kGoodsNameBytes);
    setGbkByteLimit(m_specificationEdit, kStyleBytes);
    m_unitCombo->setEditable(true);
    m_unitCombo->setInsertPolicy(QComboBox::NoInsert);
    setGbkByteLimit(m_unitCombo, kUnitBytes);
    acceptOnlyNumbers(m_quantityEdit);
    acceptOnlyNumbers(m_priceEdit);
    for (QLineEdit *result : {m_amountEdit, m_rateEdit, m_virtualValueEdit})
        showAsResult(result);
    m_goodsNameEdit->setToolTip(tr("鼠标双击选择商品"));
    m_chooseGoodsButton->setText(QStringLiteral("…"));
    m_chooseGoodsButton->setToolTip(tr("选择商品"));
    m_chooseGoodsButton->setFocusPolicy(Qt::NoFocus);
    m_stepCombo->setPlaceholderText(tr("请选择"));
    setGbkByteLimit(m_notesEdit, kNotesBytes);
    m_notesEdit->setTabChangesFocus(true);
    m_recordTimeEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_recordTimeEdit->setEnabled(false);
    m_recordTimeEdit->setButtonSymbols(QAbstractSpinBox::NoButtons);

    auto *goodsRow = new QHBoxLayout;
    goodsRow->setSpacing(2);
    goodsRow->addWidget(m_goodsNameEdit, 1);
    goodsRow->addWidget(m_chooseGoodsButton);
    auto *rateRow = new QHBoxLayout;
    rateRow->setSpacing(2);
    rateRow->addWidget(m_rateEdit, 1);
    rateRow->addWidget(new QLabel(QStringLiteral(" %")));

    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("商品名称")), 0, 0);
    grid->addLayout(goodsRow, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("规格型号")), 1, 0);
    grid->addWidget(m_specificationEdit, 1, 1, 1, 3);
    grid->addWidget(new QLabel(tr("数量")), 2, 0);
    grid->addWidget(m_quantityEdit, 2, 1);
    grid->addWidget(new QLabel(tr("单位")), 2, 2);
    grid->addWidget(m_unitCombo, 2, 3);
    grid->addWidget(new QLabel(tr("单价")), 3, 0);
    grid->addWidget(m_priceEdit, 3, 1);
    grid->addWidget(new QLabel(tr("金额")), 3, 2);
    grid->addWidget(m_amountEdit, 3, 3);
    grid->addWidget(new QLabel(tr("跟单进度")), 4, 0);
    grid->addWidget(m_stepCombo, 4, 1);
    grid->addWidget(new QLabel(tr("比率")), 4, 2);
    grid->addLayout(rateRow, 4, 3);
    grid->addWidget(new QLabel(tr("虚拟价值")), 5, 2);
    grid->addWidget(m_virtualValueEdit, 5, 3);
    grid->addWidget(new QLabel(tr("备注")), 6, 0, Qt::AlignTop);
    grid->addWidget(m_notesEdit, 6, 1, 1, 3);
    grid->addWidget(new QLabel(tr("记录时间")), 7, 0);
    grid->addWidget(m_recordTimeEdit, 7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(6, 1);
    return fields;
}

bool FollowUpEditor::loadSteps()
{
    const std::optional<TrackStepModel> model = readTrackSteps(Database::instance());
    if (!model) {
        reportReadFailure();
        return false;
    }
    if (model->steps.isEmpty()) {
        platform::prompter().message(tr("在增加跟踪任务之前，请首先增加客户跟踪进度分段指标的价值模型！"),
                                     platform::Prompter::Icon::Warning);
        return false;
    }
    m_model = *model;
    m_stepCombo->clear();
    for (const TrackStep &step : m_model.steps)
        m_stepCombo->addItem(step.title);
    // A new deal usually starts past the first contact; a model of one step leaves the choice
    // to the user.
    m_stepCombo->setCurrentIndex(m_model.steps.size() > 1 ? 1 : -1);
    computeStep();
    return true;
}

bool FollowUpEditor::loadRecord()
{
    if (!loadSteps())
        return false;
    if (!m_followUp.open(QStringLiteral("Select * from TCTrack where ID=?"), {m_id})) {
        reportReadFailure();
        return false;
    }
    if (m_followUp.isEmpty()) {
        setWindowTitle(tr("新增跟单记录"));
        m_recordTimeEdit->setDateTime(platform::clock().now());
        offerUsedValues(m_unitCombo, QStringLiteral("TCTrack"), QStringLiteral("Unit"));
        return true;
    }
    setWindowTitle(tr("修改/查看跟单记录"));
    m_goodsNameEdit->setText(m_followUp.text(QStringLiteral("GoodsName")));
    m_specificationEdit->setText(m_followUp.text(QStringLiteral("Style")));
    m_unitCombo->setEditText(m_followUp.text(QStringLiteral("Unit")));
    m_notesEdit->setPlainText(m_followUp.text(QStringLiteral("Desp")));
    m_quantityEdit->setText(storedNumberText(m_followUp.number(QStringLiteral("Qty"))));
    m_priceEdit->setText(storedNumberText(m_followUp.number(QStringLiteral("Price"))));
    m_amountEdit->setText(storedNumberText(m_followUp.number(QStringLiteral("Total"))));
    m_virtualValueEdit->setText(storedNumberText(m_followUp.number(QStringLiteral("StepTotal"))));
    m_recordTimeEdit->setDateTime(m_followUp.dateTime(QStringLiteral("RecTime")));

    const qint64 stored = m_followUp.integer(QStringLiteral("StepID"));
    const int entry = m_model.indexOf(stored);
    m_stepCombo->setCurrentIndex(entry);
    if (entry >= 0) {
        // Rate and virtual value follow the step's current rate.
        computeStep();
    } else {
        // A step no longer in the model: nothing is chosen, and saving asks for a step.
        m_stepId = -1;
        m_rateEdit->setText(kZero);
    }
    offerUsedValues(m_unitCombo, QStringLiteral("TCTrack"), QStringLiteral("Unit"));
    if (m_model.closes(stored))
        m_saveButton->hide();
    showStartOfBoxes(this);
    return true;
}

void FollowUpEditor::quantityEdited()
{
    if (needsCorrection(m_quantityEdit->text()))
        m_quantityEdit->setText(kNewQuantity);
    computeAmount();
}

void FollowUpEditor::priceEdited()
{
    if (needsCorrection(m_priceEdit->text()))
        m_priceEdit->setText(QStringLiteral("0.0"));
    computeAmount();
}

void FollowUpEditor::computeAmount()
{
    const std::optional<QString> amount = followUpAmount(m_quantityEdit->text(), m_priceEdit->text());
    if (!amount)
        return;
    m_amountEdit->setText(*amount);
    computeStep();
}

void FollowUpEditor::computeStep()
{
    const int entry = m_stepCombo->currentIndex();
    if (entry < 0 || entry >= m_model.steps.size())
        return;
    const TrackStep &step = m_model.steps.at(entry);
    m_rateEdit->setText(step.rateText);
    m_stepId = step.id;
    for (QLineEdit *box : {m_rateEdit, m_amountEdit}) {
        if (needsCorrection(box->text()))
            box->setText(QStringLiteral("0.0"));
    }
    if (const std::optional<QString> value = followUpVirtualValue(m_amountEdit->text(), m_rateEdit->text()))
        m_virtualValueEdit->setText(*value);
}

void FollowUpEditor::chooseGoods()
{
    const std::optional<PickedGoods> goods = pickGoods(this);
    if (!goods)
        return;
    m_goodsNameEdit->setText(goods->name);
    m_specificationEdit->setText(goods->style);
    m_unitCombo->setEditText(goods->unit);
    m_priceEdit->setText(goods->price);
    quantityEdited();
}

bool FollowUpEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_goodsNameEdit && event->type() == QEvent::MouseButtonDblClick) {
        chooseGoods();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool FollowUpEditor::saveRecord()
{
    if (m_goodsNameEdit->text().isEmpty()) {
        platform::prompter().message(tr("请输入您销售的商品/服务的名称！"), platform::Prompter::Icon::Warning);
        m_goodsNameEdit->setFocus();
        return false;
    }
    if (m_stepId < 0) {
        platform::prompter().message(tr("请选择跟单进度！"), platform::Prompter::Icon::Warning);
        // The first step is shown as a suggestion; it counts once the user chooses it.
        m_stepCombo->setCurrentIndex(0);
        m_stepCombo->setFocus();
        return false;
    }
    const std::optional<double> price = boxNumber(m_priceEdit->text());
    const std::optional<double> quantity = boxNumber(m_quantityEdit->text());
    const std::optional<double> total = boxNumber(m_amountEdit->text());
    const std::optional<double> value = boxNumber(m_virtualValueEdit->text());
    const bool isNew = m_followUp.isEmpty() || m_followUp.state() == Recordset::State::Insert;
    m_followUp.edit();
    const bool written = price && quantity && total && value
        && (!isNew
            || (m_followUp.set(QStringLiteral("ClientID"), m_clientId)
                && m_followUp.set(QStringLiteral("RecTime"), platform::clock().now())))
        && m_followUp.set(QStringLiteral("GoodsName"), m_goodsNameEdit->text())
        && m_followUp.set(QStringLiteral("Style"), m_specificationEdit->text())
        && m_followUp.set(QStringLiteral("Price"), *price)
        && m_followUp.set(QStringLiteral("Unit"), m_unitCombo->currentText())
        && m_followUp.set(QStringLiteral("Qty"), *quantity)
        && m_followUp.set(QStringLiteral("StepID"), m_stepId)
        && m_followUp.set(QStringLiteral("Total"), *total)
        && m_followUp.set(QStringLiteral("StepTotal"), *value)
        && m_followUp.set(QStringLiteral("Desp"), m_notesEdit->toPlainText())
        && m_followUp.post();
    if (!written)
        platform::prompter().message(tr("数据存储请求出现错误,保存失败！") + QLatin1Char('\n'),
                                     platform::Prompter::Icon::Error);
    return written;
}

bool editFollowUp(qint64 clientId, qint64 id)
{
    FollowUpEditor window(clientId, id);
    if (!window.loadRecord())
        return false;
    platform::execModal(window);
    return window.saved();
}
