// Build tool: renders one SVG picture to a PNG or BMP file of a given size.
//
//   rasterise <in.svg> <out.png|out.bmp> <width> <height>
//
// PNG keeps the picture's transparency. BMP has no alpha channel, so the picture is drawn
// on white, which is also the background of the windows that show those files.

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "rasterise: %s\n", qPrintable(message));
    return 1;
}

int parseSize(const char *text)
{
    bool ok = false;
    const int value = QString::fromLocal8Bit(text).toInt(&ok);
    return ok && value > 0 && value <= 8192 ? value : 0;
}

} // namespace

int main(int argc, char **argv)
{
    // SVG text needs the font database, which needs a GUI application; builds run headless.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 5)
        return fail(QStringLiteral("usage: rasterise <in.svg> <out.png|out.bmp> <width> <height>"));
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const int width = parseSize(argv[3]);
    const int height = parseSize(argv[4]);
    if (width == 0 || height == 0)
        return fail(QStringLiteral("width and height must be whole numbers from 1 to 8192"));

    const QString format = QFileInfo(output).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("bmp"))
        return fail(QStringLiteral("%1: the output must end in .png or .bmp").arg(output));

    QSvgRenderer renderer(input);
    if (!renderer.isValid())
        return fail(QStringLiteral("%1: not a readable SVG picture").arg(input));
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    const bool opaque = format == QLatin1String("bmp");
    QImage image(width, height, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                               | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }

    if (!image.save(output, qPrintable(format)))
        return fail(QStringLiteral("%1: cannot be written").arg(output));
    return 0;
}
