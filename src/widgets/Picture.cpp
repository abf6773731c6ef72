#include "widgets/Picture.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Picture Picture::drawing(const QString &svgPath)
{
    Picture picture;
    auto renderer = std::make_shared<QSvgRenderer>(svgPath);
    if (renderer->isValid())
        picture.m_drawing = std::move(renderer);
    return picture;
}

Picture Picture::image(const QImage &image)
{
    Picture picture;
    picture.m_image = image;
    return picture;
}

Picture Picture::replaceableFile(const QString &path, const QString &shipped, const QString &drawing)
{
    const QByteArray bytes = fileBytes(path);
    if (!bytes.isEmpty() && bytes == fileBytes(shipped))
        return Picture::drawing(drawing);
    return Picture::image(QImage::fromData(bytes));
}

bool Picture::isNull() const
{
    return !m_drawing && m_image.isNull();
}

QSize Picture::size() const
{
    return m_drawing ? m_drawing->defaultSize() : m_image.size();
}

QPixmap Picture::pixmap(const QSize &logicalSize, qreal ratio) const
{
    const QSize pixels = (QSizeF(logicalSize) * ratio).toSize();
    if (isNull() || pixels.isEmpty())
        return {};
    if (m_made.size() == pixels && qFuzzyCompare(m_made.devicePixelRatio(), ratio))
        return m_made;

    if (m_drawing) {
        QImage canvas(pixels, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        m_drawing->render(&painter, QRectF(QPointF(0, 0), pixels));
        painter.end();
        m_made = QPixmap::fromImage(canvas);
    } else {
        m_made = QPixmap::fromImage(m_image.size() == pixels
                                        ? m_image
                                        : m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    m_made.setDevicePixelRatio(ratio);
    return m_made;
}
