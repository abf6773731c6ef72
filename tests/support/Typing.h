#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

// What the user does to replace a box's text: select it and type over it (an empty text is
// a Backspace). Key by key, so key filters and validators see every key.
inline void typeOver(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Chinese comes through the input method: the composed text is committed at the cursor.
inline void commitInput(QWidget *box, const QString &text)
{
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
}
