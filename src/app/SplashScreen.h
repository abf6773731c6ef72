#pragma once

#include "widgets/Picture.h"

#include <QDialog>
#include <QTimer>

// The start-up picture: borderless and centred, fading in, closing itself after two seconds.
class SplashScreen : public QDialog
{
    Q_OBJECT
public:
    explicit SplashScreen(QWidget *parent = nullptr);

    // One step of the fade: the picture's opacity follows the tick count up to fully shown.
    void fadeInTick();
    int alpha() const { return m_alpha; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
    QTimer m_closeTimer;
    QTimer m_fadeTimer;
    int m_ticks = 0;
    int m_alpha = 0;
};

// How long the start-up picture stays: a fixed pause, not work.
inline constexpr int kSplashMilliseconds = 2000;

// Shows the start-up picture modally until it closes itself.
void showSplashScreen();
