#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The password prompt: a hint, a masked field and two buttons that only close the window.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget *parent = nullptr);

    void setPrompt(const QString &title, const QString &prompt);
    QString answer() const;

    QLabel *m_promptLabel;
    QLineEdit *m_passwordEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};

// Shows the prompt modally and returns what the field holds, however the window was closed:
// cancelling with an empty field answers with the empty text.
QString askPassword(const QString &title, const QString &prompt);
