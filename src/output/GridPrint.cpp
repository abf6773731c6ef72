#include "output/GridPrint.h"

#include "data/Recordset.h"
#include "util/TextHelpers.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace {

constexpr qreal kRowHeight = 18;
constexpr qreal kTitleHeight = 34;
constexpr qreal kFooterHeight = 24;
constexpr qreal kPadding = 3;
constexpr qreal kCellPixels = 12;
constexpr qreal kSmallestPoints = 8;
// Chinese breaks between any two characters; a long Latin word or number breaks anywhere.
constexpr int kWrap = Qt::TextWrapAnywhere;
// A4 across, less the margins, in grid pixels at 96 dpi: a list narrower than this fits upright.
constexpr qreal kPortraitWidth = (210.0 - 2 * 15.0) / 25.4 * 96;

QFont printFont(qreal pixels, bool bold = false)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(int(pixels));
    font.setBold(bold);
    return font;
}

qreal totalWidth(const GridPrintData &data)
{
    qreal width = 0;
    for (const GridPrintData::Column &column : data.columns)
        width += column.width;
    return width;
}

} // namespace

int captionLineCount(const QString &caption)
{
    return occurrenceCount(QStringLiteral("|"), caption) + 1;
}

QStringList captionLines(const QString &caption, int count)
{
    QStringList lines;
    QString remaining = caption;
    for (int line = 0; line < count; ++line) {
        const qsizetype bar = remaining.indexOf('|');
        if (bar >= 0) {
            lines.append(remaining.left(bar));
            remaining = remaining.mid(bar + 1);
        } else {
            lines.append(remaining);
        }
    }
    return lines;
}

GridPrintData gridPrintData(const QString &title, const QList<GridColumn> &columns, const Recordset &rows)
{
    GridPrintData data;
    data.title = title;
    for (const GridColumn &column : columns)
        data.titleLineCount = qMax(data.titleLineCount, captionLineCount(column.title));
    QList<int> fields;
    for (const GridColumn &column : columns) {
        GridPrintData::Column printed;
        printed.width = column.visible ? (column.width > 0 ? column.width : 80) : 0;
        printed.alignment = column.alignment;
        printed.titleLines = captionLines(column.title, data.titleLineCount);
        data.columns.append(printed);
        fields.append(rows.fieldIndex(column.field));
    }
    data.rows.reserve(rows.count());
    for (int row = 0; row < rows.count(); ++row) {
        QStringList cells;
        cells.reserve(columns.size());
        for (int at = 0; at < columns.size(); ++at)
            cells.append(fields.at(at) >= 0 ? displayText(columns.at(at), rows.valueAt(row, fields.at(at))) : QString());
        data.rows.append(cells);
    }
    return data;
}

QPageLayout::Orientation GridPrintLayout::orientationFor(const GridPrintData &data)
{
    return totalWidth(data) > kPortraitWidth ? QPageLayout::Landscape : QPageLayout::Portrait;
}

GridPrintLayout::GridPrintLayout(const GridPrintData &data, const QPrinter &printer)
    : m_data(data)
    , m_resolution(printer.resolution())
{
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const qreal natural = m_resolution / 96.0;
    const qreal width = qMax<qreal>(1, totalWidth(data));
    // Cells print at kCellPixels; below kSmallestPoints they can no longer be read.
    const qreal smallest = kSmallestPoints / 72.0 * m_resolution / kCellPixels;
    m_scale = qMax(qMin(natural, page.width() / width), qMin(natural, smallest));
    m_pageWidth = page.width() / m_scale;
    m_pageHeight = page.height() / m_scale;

    // Bands of columns, each as wide as the page allows; after the first, each starts with
    // the first column again so that a row can be told on every page.
    int firstShown = -1;
    for (int column = 0; column < data.columns.size() && firstShown < 0; ++column) {
        if (data.columns.at(column).width > 0)
            firstShown = column;
    }
    Band band;
    qreal used = 0;
    for (int column = 0; column < data.columns.size(); ++column) {
        const qreal columnWidth = data.columns.at(column).width;
        if (columnWidth == 0)
            continue;
        if (!band.columns.isEmpty() && used + columnWidth > m_pageWidth + 0.5
            && !(band.columns.size() == 1 && band.columns.first() == firstShown && !m_bands.isEmpty())) {
            m_bands.append(band);
            band = {};
            used = 0;
            if (firstShown >= 0 && column != firstShown) {
                band.columns.append(firstShown);
                used = data.columns.at(firstShown).width;
            }
        }
        band.columns.append(column);
        used += columnWidth;
    }
    if (!band.columns.isEmpty() || m_bands.isEmpty())
        m_bands.append(band);
    for (Band &each : m_bands) {
        qreal bandWidth = 0;
        for (const int column : each.columns)
            bandWidth += data.columns.at(column).width;
        qreal left = qMax<qreal>(0, (m_pageWidth - bandWidth) / 2);
        for (const int column : each.columns) {
            each.lefts.append(left);
            left += data.columns.at(column).width;
        }
    }

    // Every row as high as its longest cell wrapped, the same on every band, so that the
    // pages of a band hold the same rows.
    const qreal body = qMax<qreal>(kRowHeight, m_pageHeight - kTitleHeight - data.titleLineCount * kRowHeight - kFooterHeight);
    const QFontMetricsF metrics(printFont(kCellPixels));
    m_rowHeights.reserve(data.rows.size());
    for (const QStringList &cells : data.rows) {
        qreal height = kRowHeight;
        for (int column = 0; column < data.columns.size(); ++column) {
            const qreal inside = data.columns.at(column).width - 2 * kPadding;
            const QString &text = cells.at(column);
            if (inside <= 0 || text.isEmpty() || metrics.horizontalAdvance(text) <= inside)
                continue;
            const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, inside, 1e6), kWrap, text);
            height = qMax(height, wrapped.height() + 2 * kPadding);
        }
        m_rowHeights.append(qMin(height, body));
    }
    m_pageStarts.append(0);
    qreal filled = 0;
    for (int row = 0; row < m_rowHeights.size(); ++row) {
        if (filled + m_rowHeights.at(row) > body + 0.01 && row > m_pageStarts.constLast()) {
            m_pageStarts.append(row);
            filled = 0;
        }
        filled += m_rowHeights.at(row);
    }
    m_pageStarts.append(int(m_rowHeights.size()));
    m_pageCount = int(m_bands.size()) * int(m_pageStarts.size() - 1);
}

qreal GridPrintLayout::cellPointSize() const
{
    return kCellPixels * m_scale / m_resolution * 72.0;
}

void GridPrintLayout::paintPage(QPainter &painter, int page) const
{
    const int rowPages = int(m_pageStarts.size() - 1);
    const Band &band = m_bands.at(page / rowPages);
    const int rowPage = page % rowPages;
    painter.save();
    painter.scale(m_scale, m_scale);
    painter.setFont(printFont(18, true));
    painter.drawText(QRectF(0, 0, m_pageWidth, kTitleHeight - 6), Qt::AlignCenter, m_data.title);

    paintTitles(painter, band, kTitleHeight);
    paintRows(painter, band, kTitleHeight + m_data.titleLineCount * kRowHeight, m_pageStarts.at(rowPage),
              m_pageStarts.at(rowPage + 1));

    painter.setFont(printFont(11));
    painter.drawText(QRectF(0, m_pageHeight - kFooterHeight, m_pageWidth, kFooterHeight), Qt::AlignCenter,
                     QCoreApplication::translate("GridPrintLayout", "第 %1 页，共 %2 页").arg(page + 1).arg(m_pageCount));
    painter.restore();
}

// Neighbouring titles that read the same share one cell: across, where the lines above match
// too ("Contact" over "Name" and "Phone"), and down, where a caption repeats its last part.
void GridPrintLayout::paintTitles(QPainter &painter, const Band &band, qreal top) const
{
    painter.setFont(printFont(12, true));
    const int lines = m_data.titleLineCount;
    const auto title = [&](int at, int line) { return m_data.columns.at(band.columns.at(at)).titleLines.at(line); };
    const auto sameAbove = [&](int a, int b, int line) {
        for (int above = 0; above <= line; ++above) {
            if (title(a, above) != title(b, above))
                return false;
        }
        return true;
    };
    // Side by side in the list too: only hidden columns between them.
    const auto adjacent = [&](int a, int b) {
        for (int column = band.columns.at(a) + 1; column < band.columns.at(b); ++column) {
            if (m_data.columns.at(column).width > 0)
                return false;
        }
        return band.columns.at(b) > band.columns.at(a);
    };
    for (int line = 0; line < lines; ++line) {
        for (int at = 0; at < band.columns.size();) {
            int end = at + 1;
            // A repeated first column stands apart from the columns it is printed beside.
            while (end < band.columns.size() && adjacent(end - 1, end) && sameAbove(at, end, line))
                ++end;
            // Drawn once, from the first line it repeats down to the last.
            const QString text = title(at, line);
            if (line > 0 && title(at, line - 1) == text) {
                at = end;
                continue;
            }
            int bottom = line + 1;
            while (bottom < lines && title(at, bottom) == text)
                ++bottom;
            const qreal right = band.lefts.at(end - 1) + m_data.columns.at(band.columns.at(end - 1)).width;
            const QRectF cell(band.lefts.at(at), top + line * kRowHeight, right - band.lefts.at(at),
                              (bottom - line) * kRowHeight);
            painter.fillRect(cell, QColor(235, 235, 235));
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignCenter,
                             painter.fontMetrics().elidedText(text, Qt::ElideRight, int(cell.width() - 2 * kPadding)));
            at = end;
        }
    }
}

void GridPrintLayout::paintRows(QPainter &painter, const Band &band, qreal top, int first, int last) const
{
    painter.setFont(printFont(kCellPixels));
    qreal y = top;
    for (int row = first; row < last; ++row) {
        const qreal height = m_rowHeights.at(row);
        const QStringList &cells = m_data.rows.at(row);
        for (int at = 0; at < band.columns.size(); ++at) {
            const int column = band.columns.at(at);
            const GridPrintData::Column &printed = m_data.columns.at(column);
            const QRectF cell(band.lefts.at(at), y, printed.width, height);
            painter.drawRect(cell);
            const Qt::Alignment across = printed.alignment & Qt::AlignHorizontal_Mask;
            painter.save();
            painter.setClipRect(cell);
            painter.drawText(cell.adjusted(kPadding, kPadding, -kPadding, -kPadding), int(across | Qt::AlignVCenter) | kWrap,
                             cells.at(column));
            painter.restore();
        }
        y += height;
    }
}
