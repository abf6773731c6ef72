#include "app/TfrmInitSys.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TfrmInitSys::TfrmInitSys(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::SplashScreen)
    , imgSrc(Picture::drawing(QStringLiteral(":/pictures/splash.svg")))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(imgSrc.size() - QSize(1, 1));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(2000);
    connect(&m_closeTimer, &QTimer::timeout, this, &QDialog::accept);
    m_closeTimer.start();

    tmrShowBitmap.setInterval(7);
    connect(&tmrShowBitmap, &QTimer::timeout, this, &TfrmInitSys::tmrShowBitmapTimer);
    tmrShowBitmap.start();
}

void TfrmInitSys::tmrShowBitmapTimer()
{
    // Precise timers would let the tick count pass 255 before the two seconds are up; the
    // picture then stays fully shown instead of vanishing and fading in a second time.
    if (m_ticks == 255) {
        tmrShowBitmap.stop();
        return;
    }
    ++m_ticks;
    m_alpha = m_ticks;
    update();
}

void TfrmInitSys::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setOpacity(m_alpha / 255.0);
    painter.drawPixmap(0, 0, imgSrc.pixmap(devicePixelRatioF()));
}

void ShowSplash()
{
    TfrmInitSys splash;
    splash.exec();
}
