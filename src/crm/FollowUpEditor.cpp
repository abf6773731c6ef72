#include "crm/TfrmClientTrackEdit.h"

#include "crm/EditorHelpers.h"
#include "crm/TfrmGoods.h"
#include "data/TDM.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
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
constexpr int kDespBytes = 200;

const QString kNewQuantity = QStringLiteral("1");
const QString kZero = QStringLiteral("0.00");

void reportReadFailure()
{
    platform::prompter().message(TfrmClientTrackEdit::tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
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

TfrmClientTrackEdit::TfrmClientTrackEdit(qint64 clientId, qint64 id, QWidget *parent)
    : QDialog(parent)
    , EditGoodsName(new QLineEdit)
    , sbSelSaler(new QToolButton)
    , EditStyle(new QLineEdit)
    , EditQty(new QLineEdit(kNewQuantity))
    , cmbUnit(new QComboBox)
    , EditPrice(new QLineEdit(kZero))
    , EditTotal(new QLineEdit(kZero))
    , cmbStep(new QComboBox)
    , EditRate(new QLineEdit(kZero))
    , EditStepTotal(new QLineEdit(kZero))
    , EditDesp(new QPlainTextEdit)
    , dtRec(new QDateTimeEdit)
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
    , m_id(id)
{
    setWindowTitle(tr("新增/修改跟单记录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, cmdSave, cmdCancel, [this] { return SaveData(); }));
    resize(480, 400);

    new EnterAsTabFilter(this);
    EditGoodsName->installEventFilter(this);
    connect(sbSelSaler, &QToolButton::clicked, this, &TfrmClientTrackEdit::sbSelSalerClick);
    connect(EditQty, &QLineEdit::textEdited, this, &TfrmClientTrackEdit::EditQtyChange);
    connect(EditPrice, &QLineEdit::textEdited, this, &TfrmClientTrackEdit::EditPriceChange);
    connect(cmbStep, &QComboBox::activated, this, &TfrmClientTrackEdit::computeStep);
    EditGoodsName->setFocus();
}

QWidget *TfrmClientTrackEdit::buildFields()
{
    setGbkByteLimit(EditGoodsName, kGoodsNameBytes);
    setGbkByteLimit(EditStyle, kStyleBytes);
    cmbUnit->setEditable(true);
    cmbUnit->setInsertPolicy(QComboBox::NoInsert);
    setGbkByteLimit(cmbUnit, kUnitBytes);
    acceptOnlyNumbers(EditQty);
    acceptOnlyNumbers(EditPrice);
    for (QLineEdit *result : {EditTotal, EditRate, EditStepTotal})
        showAsResult(result);
    EditGoodsName->setToolTip(tr("鼠标双击选择商品"));
    sbSelSaler->setText(QStringLiteral("…"));
    sbSelSaler->setToolTip(tr("选择商品"));
    sbSelSaler->setFocusPolicy(Qt::NoFocus);
    cmbStep->setPlaceholderText(tr("请选择"));
    setGbkByteLimit(EditDesp, kDespBytes);
    EditDesp->setTabChangesFocus(true);
    dtRec->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    dtRec->setEnabled(false);
    dtRec->setButtonSymbols(QAbstractSpinBox::NoButtons);

    auto *goodsRow = new QHBoxLayout;
    goodsRow->setSpacing(2);
    goodsRow->addWidget(EditGoodsName, 1);
    goodsRow->addWidget(sbSelSaler);
    auto *rateRow = new QHBoxLayout;
    rateRow->setSpacing(2);
    rateRow->addWidget(EditRate, 1);
    rateRow->addWidget(new QLabel(QStringLiteral(" %")));

    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("商品名称")), 0, 0);
    grid->addLayout(goodsRow, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("规格型号")), 1, 0);
    grid->addWidget(EditStyle, 1, 1, 1, 3);
    grid->addWidget(new QLabel(tr("数量")), 2, 0);
    grid->addWidget(EditQty, 2, 1);
    grid->addWidget(new QLabel(tr("单位")), 2, 2);
    grid->addWidget(cmbUnit, 2, 3);
    grid->addWidget(new QLabel(tr("单价")), 3, 0);
    grid->addWidget(EditPrice, 3, 1);
    grid->addWidget(new QLabel(tr("金额")), 3, 2);
    grid->addWidget(EditTotal, 3, 3);
    grid->addWidget(new QLabel(tr("跟单进度")), 4, 0);
    grid->addWidget(cmbStep, 4, 1);
    grid->addWidget(new QLabel(tr("比率")), 4, 2);
    grid->addLayout(rateRow, 4, 3);
    grid->addWidget(new QLabel(tr("虚拟价值")), 5, 2);
    grid->addWidget(EditStepTotal, 5, 3);
    grid->addWidget(new QLabel(tr("备注")), 6, 0, Qt::AlignTop);
    grid->addWidget(EditDesp, 6, 1, 1, 3);
    grid->addWidget(new QLabel(tr("记录时间")), 7, 0);
    grid->addWidget(dtRec, 7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(6, 1);
    return fields;
}

bool TfrmClientTrackEdit::ReadyTrackStep()
{
    const std::optional<TrackStepModel> model = readTrackSteps(TDM::instance());
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
    cmbStep->clear();
    for (const TrackStep &step : m_model.steps)
        cmbStep->addItem(step.title);
    // A new deal usually starts past the first contact; a model of one step leaves the choice
    // to the user.
    cmbStep->setCurrentIndex(m_model.steps.size() > 1 ? 1 : -1);
    computeStep();
    return true;
}

bool TfrmClientTrackEdit::ReadyData()
{
    if (!ReadyTrackStep())
        return false;
    if (!m_track.open(QStringLiteral("Select * from TCTrack where ID=?"), {m_id})) {
        reportReadFailure();
        return false;
    }
    if (m_track.isEmpty()) {
        setWindowTitle(tr("新增跟单记录"));
        dtRec->setDateTime(platform::clock().now());
        offerUsedValues(cmbUnit, QStringLiteral("TCTrack"), QStringLiteral("Unit"));
        return true;
    }
    setWindowTitle(tr("修改/查看跟单记录"));
    EditGoodsName->setText(m_track.text(QStringLiteral("GoodsName")));
    EditStyle->setText(m_track.text(QStringLiteral("Style")));
    cmbUnit->setEditText(m_track.text(QStringLiteral("Unit")));
    EditDesp->setPlainText(m_track.text(QStringLiteral("Desp")));
    EditQty->setText(moneyText(m_track.number(QStringLiteral("Qty"))));
    EditPrice->setText(moneyText(m_track.number(QStringLiteral("Price"))));
    EditTotal->setText(moneyText(m_track.number(QStringLiteral("Total"))));
    EditStepTotal->setText(moneyText(m_track.number(QStringLiteral("StepTotal"))));
    dtRec->setDateTime(m_track.dateTime(QStringLiteral("RecTime")));

    const qint64 stored = m_track.integer(QStringLiteral("StepID"));
    const int entry = m_model.indexOf(stored);
    cmbStep->setCurrentIndex(entry);
    if (entry >= 0) {
        // Rate and virtual value follow the step's current rate.
        computeStep();
    } else {
        // A step no longer in the model: nothing is chosen, and saving asks for a step.
        m_stepId = -1;
        EditRate->setText(kZero);
    }
    offerUsedValues(cmbUnit, QStringLiteral("TCTrack"), QStringLiteral("Unit"));
    if (m_model.closes(stored))
        cmdSave->hide();
    return true;
}

void TfrmClientTrackEdit::EditQtyChange()
{
    if (needsCorrection(EditQty->text()))
        EditQty->setText(kNewQuantity);
    computeAmount();
}

void TfrmClientTrackEdit::EditPriceChange()
{
    if (needsCorrection(EditPrice->text()))
        EditPrice->setText(QStringLiteral("0.0"));
    computeAmount();
}

void TfrmClientTrackEdit::computeAmount()
{
    const std::optional<QString> amount = followUpAmount(EditQty->text(), EditPrice->text());
    if (!amount)
        return;
    EditTotal->setText(*amount);
    computeStep();
}

void TfrmClientTrackEdit::computeStep()
{
    const int entry = cmbStep->currentIndex();
    if (entry < 0 || entry >= m_model.steps.size())
        return;
    const TrackStep &step = m_model.steps.at(entry);
    EditRate->setText(step.rateText);
    m_stepId = step.id;
    for (QLineEdit *box : {EditRate, EditTotal}) {
        if (needsCorrection(box->text()))
            box->setText(QStringLiteral("0.0"));
    }
    if (const std::optional<QString> value = followUpVirtualValue(EditTotal->text(), EditRate->text()))
        EditStepTotal->setText(*value);
}

void TfrmClientTrackEdit::sbSelSalerClick()
{
    const std::optional<PickedGoods> goods = PickGoods(this);
    if (!goods)
        return;
    EditGoodsName->setText(goods->name);
    EditStyle->setText(goods->style);
    cmbUnit->setEditText(goods->unit);
    EditPrice->setText(goods->price);
    EditQtyChange();
}

bool TfrmClientTrackEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditGoodsName && event->type() == QEvent::MouseButtonDblClick) {
        sbSelSalerClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmClientTrackEdit::SaveData()
{
    if (EditGoodsName->text().isEmpty()) {
        platform::prompter().message(tr("请输入您销售的商品/服务的名称！"), platform::Prompter::Icon::Warning);
        EditGoodsName->setFocus();
        return false;
    }
    if (m_stepId < 0) {
        platform::prompter().message(tr("请选择跟单进度！"), platform::Prompter::Icon::Warning);
        // The first step is shown as a suggestion; it counts once the user chooses it.
        cmbStep->setCurrentIndex(0);
        cmbStep->setFocus();
        return false;
    }
    const std::optional<double> price = boxNumber(EditPrice->text());
    const std::optional<double> quantity = boxNumber(EditQty->text());
    const std::optional<double> total = boxNumber(EditTotal->text());
    const std::optional<double> value = boxNumber(EditStepTotal->text());
    const bool isNew = m_track.isEmpty() || m_track.state() == Recordset::State::Insert;
    m_track.edit();
    const bool written = price && quantity && total && value
        && (!isNew
            || (m_track.set(QStringLiteral("ClientID"), m_clientId)
                && m_track.set(QStringLiteral("RecTime"), platform::clock().now())))
        && m_track.set(QStringLiteral("GoodsName"), EditGoodsName->text())
        && m_track.set(QStringLiteral("Style"), EditStyle->text())
        && m_track.set(QStringLiteral("Price"), *price)
        && m_track.set(QStringLiteral("Unit"), cmbUnit->currentText())
        && m_track.set(QStringLiteral("Qty"), *quantity)
        && m_track.set(QStringLiteral("StepID"), m_stepId)
        && m_track.set(QStringLiteral("Total"), *total)
        && m_track.set(QStringLiteral("StepTotal"), *value)
        && m_track.set(QStringLiteral("Desp"), EditDesp->toPlainText())
        && m_track.post();
    if (!written)
        platform::prompter().message(tr("数据存储请求出现错误,保存失败！") + QLatin1Char('\n'),
                                     platform::Prompter::Icon::Error);
    return written;
}

bool ShowFollowUpEditor(qint64 clientId, qint64 id)
{
    TfrmClientTrackEdit window(clientId, id);
    if (!window.ReadyData())
        return false;
    platform::execModal(window);
    return window.saved();
}
