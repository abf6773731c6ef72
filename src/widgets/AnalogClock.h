#pragma once

#include "widgets/Picture.h"

#include <QTime>
#include <QWidget>

// A dial with hour, minute and second hands for the time it was last given. The face picture
// is drawn under the hands; everything is drawn in a 200 × 200 logical square scaled to the
// widget, so the clock stays sharp at any size and on HiDPI screens.
class AnalogClock : public QWidget
{
    Q_OBJECT
public:
    explicit AnalogClock(QWidget *parent = nullptr);

    void setTime(const QTime &time);
    QTime time() const { return m_time; }
    // The picture fills the dial; a null picture leaves a plain ring under the hands.
    void setFace(const Picture &face);
    const Picture &face() const { return m_face; }

    QSize sizeHint() const override { return {120, 120}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTime m_time{0, 0, 0};
    Picture m_face;
};
