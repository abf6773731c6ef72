#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

// Prints "painted" at the first paint of a start-up benchmark's window: what is timed is the
// wait until the user sees something. A second later, when the start-up's queued work is
// done, prints "peak-kib <VmHWM>" (the peak resident memory) and ends the child without the
// teardown.
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
                qApp->removeEventFilter(this);
                QTimer::singleShot(1000, [] {
                    QFile status(QStringLiteral("/proc/self/status"));
                    QByteArray peak = "0";
                    if (status.open(QIODevice::ReadOnly)) {
                        for (const QByteArray &line : status.readAll().split('\n')) {
                            if (line.startsWith("VmHWM:"))
                                peak = line.mid(6).trimmed().split(' ').constFirst();
                        }
                    }
                    std::printf("peak-kib %s\n", peak.constData());
                    std::fflush(stdout);
                    ::_exit(0);
                });
            }
        }
        return false;
    }

private:
    QWidget *m_window;
};
