#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Changes the login password: the old one, then the new one twice.
class TfrmPassSet : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPassSet(QWidget *parent = nullptr);

    // Checks the fields and stores the new password; true when the window may close.
    bool CheckPass();

    QLineEdit *EditOld;
    QLineEdit *EditNew;
    QLineEdit *EditNewEnsure;
    QPushButton *Button1;
    QPushButton *Button2;
};

// The new password is asked for from the next start of the program on.
void ShowPasswordChange();
