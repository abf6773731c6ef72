#pragma once

#include <QObject>

class QWidget;

// Enter moves on to the next control of the window, as Tab does. A multi-line or rich-text
// box needs Ctrl+Enter (plain Enter starts a new line there); grids and other item views
// keep Enter for themselves, also in their cell editors (it commits the cell). Returns true
// when the focus was moved and the key is to be swallowed.
bool moveFocusOnEnter(QWidget *focused, int key, Qt::KeyboardModifiers modifiers);

// Applies moveFocusOnEnter to every key press in `scope` (a window, or a page of one) before the
// control sees the key: `new EnterAsTabFilter(this)` in an editor window's constructor.
// Lives as long as the scope.
class EnterAsTabFilter final : public QObject
{
    Q_OBJECT

public:
    explicit EnterAsTabFilter(QWidget *scope);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *const m_scope;
};
