#pragma once

#include "widgets/Picture.h"

#include <QDialog>
#include <QTimer>

// The start-up picture: borderless and centred, fading in, closing itself after two seconds.
class TfrmInitSys : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInitSys(QWidget *parent = nullptr);

    // One step of the fade: the picture's opacity follows the tick count up to fully shown.
    void tmrShowBitmapTimer();
    int alpha() const { return m_alpha; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture imgSrc;
    QTimer m_closeTimer;
    QTimer tmrShowBitmap;
    int m_ticks = 0;
    int m_alpha = 0;
};

// Shows the start-up picture modally until it closes itself.
void ShowSplash();
