#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The amount converter: an amount typed into a masked box, written out in Chinese capital
// numerals for cheques and invoices. It stays on top of other windows and goes when closed.
class TfrmJEZH : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmJEZH(QWidget *parent = nullptr);

    // The amount box as the user sees it, blanks read as spaces: "            .  " when empty.
    QString amountText() const;

    void cmdConvertClick();
    void cmdCopyClick();

    QLineEdit *EditDitital;
    QLineEdit *EditDX;
    QPushButton *cmdConvert;
    QPushButton *cmdCopy;
    QPushButton *cmdExit;
};

// Opens a new converter beside any already open; it deletes itself when closed.
TfrmJEZH *ShowAmountConverter();
