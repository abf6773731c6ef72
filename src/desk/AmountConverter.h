#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The amount converter: an amount typed into a masked box, written out in Chinese capital
// numerals for cheques and invoices. It stays on top of other windows and goes when closed.
class AmountConverter : public QDialog
{
    Q_OBJECT
public:
    explicit AmountConverter(QWidget *parent = nullptr);

    // The amount box as the user sees it, blanks read as spaces: "            .  " when empty.
    QString amountText() const;

    void convertAmount();
    void copyCapitals();

    QLineEdit *m_amountEdit;
    QLineEdit *m_capitalsEdit;
    QPushButton *m_convertButton;
    QPushButton *m_copyButton;
    QPushButton *m_exitButton;
};

// Opens a new converter beside any already open; it deletes itself when closed.
AmountConverter *openAmountConverter();
