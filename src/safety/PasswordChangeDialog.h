#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Changes the login password: the old one, then the new one twice.
class PasswordChangeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordChangeDialog(QWidget *parent = nullptr);

    // Checks the fields and stores the new password; true when the window may close.
    bool checkAndStorePassword();

    QLineEdit *m_oldPasswordEdit;
    QLineEdit *m_newPasswordEdit;
    QLineEdit *m_confirmPasswordEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};

// The new password is asked for from the next start of the program on.
void changePassword();
