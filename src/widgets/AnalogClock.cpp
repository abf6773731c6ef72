#include "widgets/AnalogClock.h"

#include <QPainter>
#include <QPolygonF>

namespace {

constexpr qreal kSide = 200; // the logical square, centred on the dial

void drawHand(QPainter &painter, const QColor &color, qreal degrees, const QPolygonF &shape)
{
    painter.save();
    painter.rotate(degrees);
    painter.setPen(QPen(color.darker(130), 0.8));
    painter.setBrush(color);
    painter.drawPolygon(shape);
    painter.restore();
}

} // namespace

AnalogClock::AnalogClock(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(60, 60);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void AnalogClock::setTime(const QTime &time)
{
    if (time == m_time)
        return;
    m_time = time;
    update();
}

void AnalogClock::setFace(const Picture &face)
{
    m_face = face;
    update();
}

void AnalogClock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int side = qMin(width(), height());
    // Made for the device pixels it covers and laid on whole pixels, the face is never resampled.
    if (!m_face.isNull()) {
        const QPixmap face = m_face.pixmap(QSize(side, side), devicePixelRatioF());
        painter.drawPixmap(QPoint((width() - side) / 2, (height() - side) / 2), face);
    }
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(side / kSide, side / kSide);

    if (m_face.isNull()) {
        painter.setPen(QPen(Qt::gray, 3));
        painter.drawEllipse(QRectF(-kSide / 2, -kSide / 2, kSide, kSide).adjusted(6, 6, -6, -6));
    }

    const qreal seconds = m_time.second();
    const qreal minutes = m_time.minute() + seconds / 60.0;
    const qreal hours = (m_time.hour() % 12) + minutes / 60.0;
    drawHand(painter, Qt::gray, 30.0 * hours,
             QPolygonF({{-5, 8}, {5, 8}, {2, -48}, {-2, -48}}));
    drawHand(painter, QColor(0xC0, 0xC0, 0xC0), 6.0 * minutes,
             QPolygonF({{-3.5, 10}, {3.5, 10}, {1.5, -70}, {-1.5, -70}}));
    drawHand(painter, Qt::red, 6.0 * seconds,
             QPolygonF({{-2, 18}, {2, 18}, {1.2, -80}, {-1.2, -80}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::red);
    painter.drawEllipse(QPointF(0, 0), 4, 4);
}
