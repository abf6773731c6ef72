#include "document/ToolbarIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace toolbaricons {

namespace {

constexpr int kSize = 32; // the drawing's square; lines are 2.5 units wide

// Four text lines of the given lengths (in 0..1 of the width), placed by the alignment.
void textLines(QPainter &painter, Qt::Alignment alignment, const QList<qreal> &lengths, qreal left = 4)
{
    const qreal width = kSize - left - 4;
    for (int i = 0; i < lengths.size(); ++i) {
        const qreal length = width * lengths.at(i);
        qreal x = left;
        if (alignment & Qt::AlignHCenter)
            x = left + (width - length) / 2;
        else if (alignment & Qt::AlignRight)
            x = left + width - length;
        const qreal y = 7 + i * 6;
        painter.drawLine(QPointF(x, y), QPointF(x + length, y));
    }
}

void arrow(QPainter &painter, bool pointsRight)
{
    QPainterPath path;
    if (pointsRight) {
        path.moveTo(3, 12);
        path.lineTo(9, 16);
        path.lineTo(3, 20);
    } else {
        path.moveTo(9, 12);
        path.lineTo(3, 16);
        path.lineTo(9, 20);
    }
    painter.drawPath(path);
}

void drawSave(QPainter &painter)
{
    painter.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
    painter.drawRect(QRectF(10, 5, 12, 7));
    painter.drawRect(QRectF(9, 17, 14, 10));
}

void drawTextColor(QPainter &painter)
{
    QPainterPath letter;
    letter.moveTo(8, 22);
    letter.lineTo(16, 4);
    letter.lineTo(24, 22);
    letter.moveTo(11, 15);
    letter.lineTo(21, 15);
    painter.drawPath(letter);
    painter.fillRect(QRectF(5, 25, 22, 5), QColor(220, 40, 40));
}

void draw(QPainter &painter, Kind kind)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(50, 60, 75), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QList<qreal> ragged{1.0, 0.65, 0.9, 0.55};
    switch (kind) {
    case Kind::AlignLeft: textLines(painter, Qt::AlignLeft, ragged); break;
    case Kind::AlignCenter: textLines(painter, Qt::AlignHCenter, ragged); break;
    case Kind::AlignRight: textLines(painter, Qt::AlignRight, ragged); break;
    case Kind::Justify: textLines(painter, Qt::AlignLeft, {1.0, 1.0, 1.0, 1.0}); break;
    case Kind::IndentLess:
    case Kind::IndentMore:
        textLines(painter, Qt::AlignLeft, {1.0, 1.0, 1.0, 1.0}, 13);
        arrow(painter, kind == Kind::IndentMore);
        break;
    case Kind::Save: drawSave(painter); break;
    case Kind::TextColor: drawTextColor(painter); break;
    }
}

// Draws for every size and device pixel ratio asked, so the icon is never a scaled picture.
class LineDrawingEngine : public QIconEngine
{
public:
    explicit LineDrawingEngine(Kind kind) : m_kind(kind) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / qreal(kSize), rect.height() / qreal(kSize));
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        draw(*painter, m_kind);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new LineDrawingEngine(m_kind); }

private:
    Kind m_kind;
};

} // namespace

QIcon icon(Kind kind)
{
    return QIcon(new LineDrawingEngine(kind));
}

} // namespace toolbaricons
