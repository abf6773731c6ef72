#include "util/EnterAsTab.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isInItemView(QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<QAbstractItemView *>(widget))
            return true;
    }
    return false;
}

// The window's own Tab handling picks the next control by the focus chain and the focus
// policies, whatever the focused control would do with a Tab itself.
void focusNextControl(QWidget *focused)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(focused->window(), &tab);
}

} // namespace

bool moveFocusOnEnter(QWidget *focused, int key, Qt::KeyboardModifiers modifiers)
{
    if (!focused || (key != Qt::Key_Return && key != Qt::Key_Enter))
        return false;
    if (qobject_cast<QPlainTextEdit *>(focused) || qobject_cast<QTextEdit *>(focused)) {
        if (!modifiers.testFlag(Qt::ControlModifier))
            return false;
    } else if (isInItemView(focused)) {
        return false;
    }
    focusNextControl(focused);
    return true;
}

EnterAsTabFilter::EnterAsTabFilter(QWidget *scope) : QObject(scope), m_scope(scope)
{
    // Key presses go to the focused control first, and text boxes take Enter without passing
    // it on, so only the application sees them early enough.
    qApp->installEventFilter(this);
}

bool EnterAsTabFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    QWidget *focused = QApplication::focusWidget();
    // A key a control left unhandled comes here again for each of its parents.
    if (watched != focused || !(focused == m_scope || m_scope->isAncestorOf(focused)))
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    return moveFocusOnEnter(focused, keyEvent->key(), keyEvent->modifiers());
}
