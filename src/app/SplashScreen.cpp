#include "app/SplashScreen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

SplashScreen::SplashScreen(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::SplashScreen)
    , m_picture(Picture::drawing(QStringLiteral(":/pictures/splash.svg")))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(m_picture.size() - QSize(1, 1));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(kSplashMilliseconds);
    connect(&m_closeTimer, &QTimer::timeout, this, &QDialog::accept);
    m_closeTimer.start();

    m_fadeTimer.setInterval(7);
    connect(&m_fadeTimer, &QTimer::timeout, this, &SplashScreen::fadeInTick);
    m_fadeTimer.start();
}

void SplashScreen::fadeInTick()
{
    // Precise timers would let the tick count pass 255 before the two seconds are up; the
    // picture then stays fully shown instead of vanishing and fading in a second time.
    if (m_ticks == 255) {
        m_fadeTimer.stop();
        return;
    }
    ++m_ticks;
    m_alpha = m_ticks;
    update();
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setOpacity(m_alpha / 255.0);
    painter.drawPixmap(0, 0, m_picture.pixmap(devicePixelRatioF()));
}

void showSplashScreen()
{
    SplashScreen splash;
    splash.exec();
}
