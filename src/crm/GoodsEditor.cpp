#include "crm/GoodsEditor.h"

#include "crm/EditorHelpers.h"
#include "crm/FollowUpValues.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
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
constexpr int kDescriptionBytes = 255;

} // namespace

GoodsEditor::GoodsEditor(const QString &typeCode, QWidget *parent)
    : QDialog(parent)
    , m_nameEdit(new QLineEdit)
    , m_codeEdit(new QLineEdit)
    , m_specificationEdit(new QLineEdit)
    , m_unitEdit(new QLineEdit)
    , m_priceEdit(new QLineEdit(QStringLiteral("0.00")))
    , m_descriptionEdit(new QPlainTextEdit)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_typeCode(typeCode)
{
    setWindowTitle(tr("新增/修改商品信息"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    setGbkByteLimit(m_nameEdit, kNameBytes);
    setGbkByteLimit(m_codeEdit, kCodeBytes);
    setGbkByteLimit(m_specificationEdit, kStyleBytes);
    setGbkByteLimit(m_unitEdit, kUnitBytes);
    // Digits and points only; whether the text is a number is checked on saving.
    m_priceEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"([\d.]*)")), m_priceEdit));
    m_priceEdit->setMaxLength(kPriceBytes);
    m_priceEdit->setAlignment(Qt::AlignRight);
    setGbkByteLimit(m_descriptionEdit, kDescriptionBytes);
    m_descriptionEdit->setTabChangesFocus(true);

    auto *fields = new QFormLayout;
    fields->addRow(tr("商品名称"), m_nameEdit);
    fields->addRow(tr("商品编码"), m_codeEdit);
    fields->addRow(tr("规格型号"), m_specificationEdit);
    fields->addRow(tr("单位"), m_unitEdit);
    fields->addRow(tr("售价"), m_priceEdit);
    fields->addRow(tr("商品简述"), m_descriptionEdit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(editorButtons(this, m_saveButton, m_cancelButton, [this] { return saveRecord(); }));
    resize(400, 320);

    new EnterAsTabFilter(this);
    connect(m_nameEdit, &QLineEdit::editingFinished, this, &GoodsEditor::defaultCodeFromName);
    m_nameEdit->installEventFilter(this);
    m_nameEdit->setFocus();
}

GoodsEditor::~GoodsEditor()
{
    // The name box loses the focus while the window is taken down, after this part of it is
    // gone: it must no longer call back into it.
    m_nameEdit->disconnect(this);
    m_nameEdit->removeEventFilter(this);
}

bool GoodsEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the name box refills an emptied code even when the name itself was not changed,
    // which editingFinished does not report.
    if (watched == m_nameEdit && event->type() == QEvent::FocusOut)
        defaultCodeFromName();
    return QDialog::eventFilter(watched, event);
}

bool GoodsEditor::loadRecord(qint64 id)
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
    m_nameEdit->setText(m_goods.text(QStringLiteral("GoodsName")));
    m_codeEdit->setText(m_goods.text(QStringLiteral("GoodsCode")));
    m_specificationEdit->setText(m_goods.text(QStringLiteral("Style")));
    m_unitEdit->setText(m_goods.text(QStringLiteral("Unit")));
    m_priceEdit->setText(storedNumberText(m_goods.number(QStringLiteral("Price"))));
    m_descriptionEdit->setPlainText(m_goods.text(QStringLiteral("Desp")));
    showStartOfBoxes(this);
    return true;
}

void GoodsEditor::defaultCodeFromName()
{
    if (m_codeEdit->text().isEmpty())
        m_codeEdit->setText(gbkTruncate(pinyinInitials(m_nameEdit->text()), kCodeBytes));
}

bool GoodsEditor::saveRecord()
{
    if (m_nameEdit->text().isEmpty()) {
        platform::prompter().message(tr("商品名称必须输入！"), platform::Prompter::Icon::Warning);
        m_nameEdit->setFocus();
        return false;
    }
    defaultCodeFromName(); // saved with Alt+S from the name box, which was never left
    if (needsCorrection(m_priceEdit->text()))
        m_priceEdit->setText(QStringLiteral("0"));
    const std::optional<double> price = boxNumber(m_priceEdit->text());
    if (!price) {
        platform::prompter().message(tr("售价必须是一个数字，例如 12.50！"), platform::Prompter::Icon::Warning);
        m_priceEdit->setFocus();
        m_priceEdit->selectAll();
        return false;
    }
    m_goods.edit();
    const bool written = m_goods.set(QStringLiteral("GoodsCode"), m_codeEdit->text())
        && m_goods.set(QStringLiteral("GoodsName"), m_nameEdit->text())
        && m_goods.set(QStringLiteral("Style"), m_specificationEdit->text())
        && m_goods.set(QStringLiteral("Unit"), m_unitEdit->text())
        && m_goods.set(QStringLiteral("Price"), *price)
        && m_goods.set(QStringLiteral("Desp"), m_descriptionEdit->toPlainText())
        && m_goods.set(QStringLiteral("TypeCode"), m_typeCode)
        && m_goods.post();
    if (!written)
        platform::prompter().message(tr("存储数据发生错误!"), platform::Prompter::Icon::Error);
    return written;
}

bool editGoods(const QString &typeCode, qint64 id, qint64 *savedId)
{
    GoodsEditor window(typeCode);
    if (!window.loadRecord(id))
        return false;
    platform::execModal(window);
    if (window.saved() && savedId)
        *savedId = window.goods().integer(QStringLiteral("ID"));
    return window.saved();
}
