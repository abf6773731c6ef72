#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <memory>

class QSvgRenderer;

// A picture for the screen. A drawing (SVG) is rendered for the device pixels it covers, so
// it stays sharp at any size and device pixel ratio; a raster picture is scaled as it is.
class Picture
{
public:
    Picture() = default;
    static Picture drawing(const QString &svgPath);
    static Picture image(const QImage &image);
    // A picture file the user may replace. While the file is still byte for byte the
    // `shipped` one, the picture is that file's `drawing`; a file of the user's own is shown
    // as it is. A missing or unreadable file gives a null picture.
    static Picture replaceableFile(const QString &path, const QString &shipped, const QString &drawing);

    bool isNull() const;
    // In logical pixels: the drawing's own size, or the image's pixels.
    QSize size() const;
    // The picture stretched over `logicalSize`, for a screen with `ratio` device pixels per
    // logical pixel. The last one made is kept, so painting it again costs nothing.
    QPixmap pixmap(const QSize &logicalSize, qreal ratio) const;
    QPixmap pixmap(qreal ratio) const { return pixmap(size(), ratio); }

private:
    std::shared_ptr<QSvgRenderer> m_drawing;
    QImage m_image;
    mutable QPixmap m_made;
};
