#include "crm/TfrmGoodsEdit.h"

#include "crm/EditorHelpers.h"
#include "crm/FollowUpValues.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"
#include "util/PinyinInitials.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Input limits of the goods columns, in GBK bytes.
constexpr int kCodeBytes = 50;
constexpr int kNameBytes = 50;
constexpr int kStyleBytes = 30;
constexpr int kUnitBytes = 10;
constexpr int kPriceBytes = 15;
constexpr int kDespBytes = 255;

} // namespace

TfrmGoodsEdit::TfrmGoodsEdit(const QString &typeCode, QWidget *parent)
    : QDialog(parent)
    , EditGoodsName(new QLineEdit)
    , EditGoodsCode(new QLineEdit)
    , EditGoodsStyle(new QLineEdit)
    , EditUnit(new QLineEdit)
    , EditPrice(new QLineEdit(QStringLiteral("0.00")))
    , EditDesp(new QPlainTextEdit)
    , cmdReg(new QPushButton(tr("保存(&S)")))
    , cmdClose(new QPushButton(tr("取消(&X)")))
    , m_typeCode(typeCode)
{
    setWindowTitle(tr("新增/修改商品信息"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    setGbkByteLimit(EditGoodsName, kNameBytes);
    setGbkByteLimit(EditGoodsCode, kCodeBytes);
    setGbkByteLimit(EditGoodsStyle, kStyleBytes);
    setGbkByteLimit(EditUnit, kUnitBytes);
    // Digits and points only; whether the text is a number is checked on saving.
    EditPrice->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"([\d.]*)")), EditPrice));
    EditPrice->setMaxLength(kPriceBytes);
    EditPrice->setAlignment(Qt::AlignRight);
    setGbkByteLimit(EditDesp, kDespBytes);
    EditDesp->setTabChangesFocus(true);

    auto *fields = new QFormLayout;
    fields->addRow(tr("商品名称"), EditGoodsName);
    fields->addRow(tr("商品编码"), EditGoodsCode);
    fields->addRow(tr("规格型号"), EditGoodsStyle);
    fields->addRow(tr("单位"), EditUnit);
    fields->addRow(tr("售价"), EditPrice);
    fields->addRow(tr("商品简述"), EditDesp);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(editorButtons(this, cmdReg, cmdClose, [this] { return SaveData(); }));
    resize(400, 320);

    new EnterAsTabFilter(this);
    connect(EditGoodsName, &QLineEdit::editingFinished, this, &TfrmGoodsEdit::EditGoodsNameExit);
    EditGoodsName->setFocus();
}

bool TfrmGoodsEdit::ReadyData(qint64 id)
{
    if (!m_goods.open(QStringLiteral("Select * from TGoods Where ID=?"), {id})) {
        platform::prompter().message(tr("读取本地数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_goods.isEmpty()) {
        setWindowTitle(tr("新增商品纪录"));
        m_goods.append();
        return true;
    }
    setWindowTitle(tr("修改商品记录"));
    EditGoodsName->setText(m_goods.text(QStringLiteral("GoodsName")));
    EditGoodsCode->setText(m_goods.text(QStringLiteral("GoodsCode")));
    EditGoodsStyle->setText(m_goods.text(QStringLiteral("Style")));
    EditUnit->setText(m_goods.text(QStringLiteral("Unit")));
    EditPrice->setText(moneyText(m_goods.number(QStringLiteral("Price"))));
    EditDesp->setPlainText(m_goods.text(QStringLiteral("Desp")));
    return true;
}

void TfrmGoodsEdit::EditGoodsNameExit()
{
    if (EditGoodsCode->text().isEmpty())
        EditGoodsCode->setText(gbkTruncate(PinyinInitials(EditGoodsName->text()), kCodeBytes));
}

bool TfrmGoodsEdit::SaveData()
{
    if (EditGoodsName->text().isEmpty()) {
        platform::prompter().message(tr("商品名称必须输入！"), platform::Prompter::Icon::Warning);
        EditGoodsName->setFocus();
        return false;
    }
    EditGoodsNameExit(); // saved with Alt+S from the name box, which was never left
    if (needsCorrection(EditPrice->text()))
        EditPrice->setText(QStringLiteral("0"));
    const std::optional<double> price = boxNumber(EditPrice->text());
    if (!price) {
        platform::prompter().message(tr("售价必须是一个数字，例如 12.50！"), platform::Prompter::Icon::Warning);
        EditPrice->setFocus();
        EditPrice->selectAll();
        return false;
    }
    m_goods.edit();
    const bool written = m_goods.set(QStringLiteral("GoodsCode"), EditGoodsCode->text())
        && m_goods.set(QStringLiteral("GoodsName"), EditGoodsName->text())
        && m_goods.set(QStringLiteral("Style"), EditGoodsStyle->text())
        && m_goods.set(QStringLiteral("Unit"), EditUnit->text())
        && m_goods.set(QStringLiteral("Price"), *price)
        && m_goods.set(QStringLiteral("Desp"), EditDesp->toPlainText())
        && m_goods.set(QStringLiteral("TypeCode"), m_typeCode)
        && m_goods.post();
    if (!written)
        platform::prompter().message(tr("存储数据发生错误!"), platform::Prompter::Icon::Error);
    return written;
}

bool ShowGoodsEditor(const QString &typeCode, qint64 id, qint64 *savedId)
{
    TfrmGoodsEdit window(typeCode);
    if (!window.ReadyData(id))
        return false;
    platform::execModal(window);
    if (window.saved() && savedId)
        *savedId = window.goods().integer(QStringLiteral("ID"));
    return window.saved();
}
