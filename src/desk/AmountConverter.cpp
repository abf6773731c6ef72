#include "desk/TfrmJEZH.h"

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

TfrmJEZH::TfrmJEZH(QWidget *parent)
    : QDialog(parent)
    , EditDitital(new QLineEdit)
    , EditDX(new QLineEdit)
    , cmdConvert(new QPushButton(tr("转换(&T)")))
    , cmdCopy(new QPushButton(tr("复制(&C)")))
    , cmdExit(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("金额大写转换器"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    EditDitital->setInputMask(QString::fromLatin1(kAmountMask));
    EditDitital->setMinimumWidth(EditDitital->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 18 + 12);
    EditDX->setMinimumWidth(360);
    for (QPushButton *button : {cmdConvert, cmdCopy, cmdExit})
        button->setAutoDefault(false);
    cmdConvert->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("金额")), 0, 0);
    fields->addWidget(EditDitital, 0, 1, Qt::AlignLeft);
    fields->addWidget(new QLabel(tr("大写")), 1, 0);
    fields->addWidget(EditDX, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {cmdConvert, cmdCopy, cmdExit})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdConvert, &QPushButton::clicked, this, &TfrmJEZH::cmdConvertClick);
    connect(cmdCopy, &QPushButton::clicked, this, &TfrmJEZH::cmdCopyClick);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::close);
    EditDitital->setFocus();
}

QString TfrmJEZH::amountText() const
{
    return EditDitital->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
}

void TfrmJEZH::cmdConvertClick()
{
    EditDX->setText(AmountToCapitals(NormaliseAmountText(amountText())));
}

void TfrmJEZH::cmdCopyClick()
{
    EditDX->selectAll();
    EditDX->copy();
}

TfrmJEZH *ShowAmountConverter()
{
    // A new converter steps down and right from the lowest one open, so that it is seen to open.
    TfrmJEZH *lowest = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *open = qobject_cast<TfrmJEZH *>(widget);
        if (open && open->isVisible() && (!lowest || open->y() > lowest->y()))
            lowest = open;
    }
    auto *window = new TfrmJEZH;
    if (lowest)
        window->move(lowest->pos() + QPoint(24, 24));
    window->show();
    return window;
}
