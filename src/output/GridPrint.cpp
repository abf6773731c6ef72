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
{
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const qreal natural = printer.resolution() / 96.0;
    const qreal width = qMax<qreal>(1, totalWidth(data));
    m_scale = qMin(natural, page.width() / width);
    m_pageWidth = page.width() / m_scale;
    m_pageHeight = page.height() / m_scale;

    qreal left = qMax<qreal>(0, (m_pageWidth - width) / 2);
    for (const GridPrintData::Column &column : data.columns) {
        m_lefts.append(left);
        left += column.width;
    }
    const qreal body = m_pageHeight - kTitleHeight - data.titleLineCount * kRowHeight - kFooterHeight;
    m_rowsPerPage = qMax(1, int(body / kRowHeight));
    m_pageCount = qMax(1, int((data.rows.size() + m_rowsPerPage - 1) / m_rowsPerPage));
}

void GridPrintLayout::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.scale(m_scale, m_scale);
    painter.setFont(printFont(18, true));
    painter.drawText(QRectF(0, 0, m_pageWidth, kTitleHeight - 6), Qt::AlignCenter, m_data.title);

    paintTitles(painter, kTitleHeight);
    const int first = page * m_rowsPerPage;
    const int last = qMin(int(m_data.rows.size()), first + m_rowsPerPage);
    paintRows(painter, kTitleHeight + m_data.titleLineCount * kRowHeight, first, last);

    painter.setFont(printFont(11));
    painter.drawText(QRectF(0, m_pageHeight - kFooterHeight, m_pageWidth, kFooterHeight), Qt::AlignCenter,
                     QCoreApplication::translate("GridPrintLayout", "第 %1 页，共 %2 页").arg(page + 1).arg(m_pageCount));
    painter.restore();
}

// Neighbouring titles that read the same share one cell: across, where the lines above match
// too ("Contact" over "Name" and "Phone"), and down, where a caption repeats its last part.
void GridPrintLayout::paintTitles(QPainter &painter, qreal top) const
{
    painter.setFont(printFont(12, true));
    const int lines = m_data.titleLineCount;
    const auto sameAbove = [&](int a, int b, int line) {
        for (int above = 0; above <= line; ++above) {
            if (m_data.columns.at(a).titleLines.at(above) != m_data.columns.at(b).titleLines.at(above))
                return false;
        }
        return true;
    };
    for (int line = 0; line < lines; ++line) {
        for (int column = 0; column < m_data.columns.size();) {
            const GridPrintData::Column &start = m_data.columns.at(column);
            int end = column + 1;
            while (end < m_data.columns.size() && (m_data.columns.at(end).width == 0 || sameAbove(column, end, line)))
                ++end;
            while (end > column + 1 && m_data.columns.at(end - 1).width == 0)
                --end;
            if (start.width == 0) {
                ++column;
                continue;
            }
            // Drawn once, from the first line it repeats down to the last.
            const QString text = start.titleLines.at(line);
            if (line > 0 && start.titleLines.at(line - 1) == text) {
                column = end;
                continue;
            }
            int bottom = line + 1;
            while (bottom < lines && start.titleLines.at(bottom) == text)
                ++bottom;
            const qreal right = columnLeft(end - 1) + m_data.columns.at(end - 1).width;
            const QRectF cell(columnLeft(column), top + line * kRowHeight, right - columnLeft(column),
                              (bottom - line) * kRowHeight);
            painter.fillRect(cell, QColor(235, 235, 235));
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignCenter,
                             painter.fontMetrics().elidedText(text, Qt::ElideRight, int(cell.width() - 2 * kPadding)));
            column = end;
        }
    }
}

void GridPrintLayout::paintRows(QPainter &painter, qreal top, int first, int last) const
{
    painter.setFont(printFont(12));
    const QFontMetrics metrics = painter.fontMetrics();
    for (int row = first; row < last; ++row) {
        const qreal y = top + (row - first) * kRowHeight;
        const QStringList &cells = m_data.rows.at(row);
        for (int column = 0; column < m_data.columns.size(); ++column) {
            const GridPrintData::Column &printed = m_data.columns.at(column);
            if (printed.width == 0)
                continue;
            const QRectF cell(columnLeft(column), y, printed.width, kRowHeight);
            painter.drawRect(cell);
            const Qt::Alignment across = printed.alignment & Qt::AlignHorizontal_Mask;
            painter.drawText(cell.adjusted(kPadding, 0, -kPadding, 0), int(across | Qt::AlignVCenter),
                             metrics.elidedText(cells.at(column), Qt::ElideRight, int(printed.width - 2 * kPadding)));
        }
    }
}
