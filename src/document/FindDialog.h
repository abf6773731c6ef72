#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The find dialog of the document editors: stays open while the user looks for each next match.
class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent = nullptr);

    QLineEdit *editText;
    QCheckBox *chkMatchCase;
    QCheckBox *chkWholeWord;
    QRadioButton *optUp;
    QRadioButton *optDown;
    QPushButton *cmdFindNext;
    QPushButton *cmdCancel;

signals:
    void findNext(const QString &text, bool backward, bool matchCase, bool wholeWord);
};
