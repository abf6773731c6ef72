#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The password prompt: a hint, a masked field and two buttons that only close the window.
class TfrmPassInput : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPassInput(QWidget *parent = nullptr);

    void setPrompt(const QString &title, const QString &prompt);
    QString answer() const;

    QLabel *lblHint;
    QLineEdit *EditPass;
    QPushButton *cmdEnsure;
    QPushButton *cmdCancel;
};

// Shows the prompt modally and returns what the field holds, however the window was closed:
// cancelling with an empty field answers with the empty text.
QString InputPassword(const QString &title, const QString &prompt);
