#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

// Ends a start-up benchmark's child at the first paint of its window, printing "painted":
// what is measured is the wait until the user sees something, not the teardown.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == m_window) {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                ::_exit(0);
            }
        }
        return false;
    }

private:
    QWidget *m_window;
};
