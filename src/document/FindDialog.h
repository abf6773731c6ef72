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

    QLineEdit *m_textEdit;
    QCheckBox *m_matchCaseCheck;
    QCheckBox *m_wholeWordCheck;
    QRadioButton *m_searchUpButton;
    QRadioButton *m_searchDownButton;
    QPushButton *m_findNextButton;
    QPushButton *m_cancelButton;

signals:
    void findNext(const QString &text, bool backward, bool matchCase, bool wholeWord);
};
