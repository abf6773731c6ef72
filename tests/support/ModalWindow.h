#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs `open`, which shows a window of type W modally, and `inWindow` on that window once it
// is up; a window `inWindow` leaves open is closed afterwards. False when none appeared.
template<typename W>
bool whileModal(const std::function<void()> &open, const std::function<void(W &)> &inWindow)
{
    bool reached = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget())) {
            driver.stop();
            reached = true;
            inWindow(*window);
            if (window->isVisible())
                window->reject();
        }
    });
    driver.start(10);
    open();
    return reached;
}
