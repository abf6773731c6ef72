#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs `act` on the next modal window of type T as soon as it is up, so a test can go
// through a function that runs a window modally. The watch ends with `context`.
template<typename T>
void whenModal(QObject *context, std::function<void(T *)> act)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(window);
        }
    });
    poll->start(10);
}
