#include "desk/AmountConverter.h"

#include "util/AmountCapitals.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Twelve digit places, the point, two digit places; every place may stay empty.
const char kAmountMask[] = "000000000000.00;_";

} // namespace

AmountConverter::AmountConverter(QWidget *parent)
    : QDialog(parent)
    , m_amountEdit(new QLineEdit)
    , m_capitalsEdit(new QLineEdit)
    , m_convertButton(new QPushButton(tr("转换(&T)")))
    , m_copyButton(new QPushButton(tr("复制(&C)")))
    , m_exitButton(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("金额大写转换器"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    m_amountEdit->setInputMask(QString::fromLatin1(kAmountMask));
    m_amountEdit->setMinimumWidth(m_amountEdit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 18 + 12);
    m_capitalsEdit->setMinimumWidth(360);
    for (QPushButton *button : {m_convertButton, m_copyButton, m_exitButton})
        button->setAutoDefault(false);
    m_convertButton->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("金额")), 0, 0);
    fields->addWidget(m_amountEdit, 0, 1, Qt::AlignLeft);
    fields->addWidget(new QLabel(tr("大写")), 1, 0);
    fields->addWidget(m_capitalsEdit, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {m_convertButton, m_copyButton, m_exitButton})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_convertButton, &QPushButton::clicked, this, &AmountConverter::convertAmount);
    connect(m_copyButton, &QPushButton::clicked, this, &AmountConverter::copyCapitals);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::close);
    m_amountEdit->setFocus();
}

QString AmountConverter::amountText() const
{
    return m_amountEdit->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
}

void AmountConverter::convertAmount()
{
    m_capitalsEdit->setText(amountInCapitals(normaliseAmountText(amountText())));
}

void AmountConverter::copyCapitals()
{
    m_capitalsEdit->selectAll();
    m_capitalsEdit->copy();
}

AmountConverter *openAmountConverter()
{
    // A new converter steps down and right from the lowest one open, so that it is seen to open.
    AmountConverter *lowest = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *open = qobject_cast<AmountConverter *>(widget);
        if (open && open->isVisible() && (!lowest || open->y() > lowest->y()))
            lowest = open;
    }
    auto *window = new AmountConverter;
    if (lowest)
        window->move(lowest->pos() + QPoint(24, 24));
    window->show();
    return window;
}
