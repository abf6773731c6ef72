#include "output/GridWorkbook.h"

#include "data/DbDates.h"
#include "data/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

struct WorkbookCloser {
    void operator()(lxw_workbook *workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

// What one visible column writes, worked out once rather than per cell.
struct ColumnWriter {
    int field = -1;          // in the Recordset; -1 writes nothing
    bool date = false;
    lxw_format *format = nullptr;
    const GridColumn *picked = nullptr; // a column of picks: its cells hold the shown text
};

// Qt's date letters in the spreadsheet's spelling: months and minutes are both "mm" there,
// told apart by their place.
QByteArray spreadsheetDateFormat(const QString &qtFormat)
{
    return qtFormat.toLower().toUtf8();
}

// Grid pixels to the spreadsheet's character widths (7 pixels a character, 5 of padding).
// A date gets room for every character of its format: a spreadsheet shows "####" instead of
// a date its column is too narrow for.
double characterWidth(const GridColumn &column)
{
    const double width = column.width <= 0 ? qMax(8.0, column.title.size() * 2.2) : qMax(1.0, (column.width - 5) / 7.0);
    return column.dateFormat.isEmpty() ? width : qMax(width, column.dateFormat.size() + 1.0);
}

bool flushToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Days since 1899-12-30 (the spreadsheet's serial) of a stored date, read straight from its
// ISO text: going through QDateTime asks the time-zone database for every cell.
double serialDay(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return value.canConvert<double>() && value.typeId() != QMetaType::QDateTime && value.typeId() != QMetaType::QDate
                   ? value.toDouble()
                   : dbdates::toSerial(dbdates::fromValue(value));
    const QString text = value.toString();
    const auto number = [&](qsizetype from, qsizetype length) { return QStringView(text).mid(from, length).toInt(); };
    if (text.size() < 10 || text.at(4) != '-' || text.at(7) != '-')
        return dbdates::toSerial(dbdates::fromValue(value));
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    if (!date.isValid())
        return 0;
    double day = double(date.toJulianDay() - dbdates::zeroDate().toJulianDay());
    if (text.size() >= 19)
        day += (number(11, 2) * 3600 + number(14, 2) * 60 + number(17, 2)) / 86400.0;
    return day;
}

lxw_error writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const ColumnWriter &writer, const QVariant &value)
{
    if (value.isNull())
        return LXW_NO_ERROR;
    if (writer.picked) {
        // The reader sees what the list shows (正在处理, 紧急), not the stored code.
        const QString shown = displayText(*writer.picked, value);
        if (shown.trimmed().isEmpty())
            return LXW_NO_ERROR;
        return worksheet_write_string(sheet, row, col, shown.toUtf8().constData(), nullptr);
    }
    if (writer.date) {
        // An empty date (not after day 100) is blank, not the spreadsheet's day 0.
        const double day = serialDay(value);
        if (day <= 100)
            return LXW_NO_ERROR;
        return worksheet_write_number(sheet, row, col, day, writer.format);
    }
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return worksheet_write_number(sheet, row, col, value.toDouble(), writer.format);
    case QMetaType::QByteArray: // pictures and bodies have no cell form
        return LXW_NO_ERROR;
    default:
        return worksheet_write_string(sheet, row, col, value.toString().toUtf8().constData(), nullptr);
    }
}

} // namespace

bool writeGridWorkbook(const QString &path, const QString &title, const QList<GridColumn> &columns,
                       const Recordset &rows)
{
    const QFileInfo target(path);
    const QString partial = target.dir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    QFile::remove(partial);
    const QByteArray tmpdir = QFile::encodeName(target.absolutePath());

    bool written = false;
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = const_cast<char *>(tmpdir.constData()); // the folder the file goes to has the room
        Workbook workbook(workbook_new_opt(QFile::encodeName(partial).constData(), &options));
        lxw_worksheet *sheet = workbook ? workbook_add_worksheet(workbook.get(), nullptr) : nullptr;
        if (sheet) {
            lxw_format *bold = workbook_add_format(workbook.get());
            format_set_bold(bold);
            lxw_format *titleFormat = workbook_add_format(workbook.get());
            format_set_bold(titleFormat);
            format_set_font_size(titleFormat, 14);

            QList<ColumnWriter> writers;
            QHash<QByteArray, lxw_format *> formats;
            const auto formatFor = [&](const QByteArray &numberFormat) {
                lxw_format *&format = formats[numberFormat];
                if (!format) {
                    format = workbook_add_format(workbook.get());
                    format_set_num_format(format, numberFormat.constData());
                }
                return format;
            };
            for (const GridColumn &column : columns) {
                if (!column.visible)
                    continue;
                ColumnWriter writer;
                writer.field = rows.fieldIndex(column.field);
                writer.date = !column.dateFormat.isEmpty();
                if (!column.keys.isEmpty())
                    writer.picked = &column;
                if (writer.date)
                    writer.format = formatFor(spreadsheetDateFormat(column.dateFormat));
                else if (column.decimals > 0)
                    writer.format = formatFor("0." + QByteArray(column.decimals, '0'));
                const lxw_col_t at = lxw_col_t(writers.size());
                worksheet_set_column(sheet, at, at, characterWidth(column), nullptr);
                writers.append(writer);
            }
            worksheet_freeze_panes(sheet, 2, 0);

            lxw_error status = worksheet_write_string(sheet, 0, 0, title.toUtf8().constData(), titleFormat);
            lxw_col_t col = 0;
            for (const GridColumn &column : columns) {
                if (column.visible && status == LXW_NO_ERROR)
                    status = worksheet_write_string(sheet, 1, col++, column.title.toUtf8().constData(), bold);
            }
            for (int row = 0; row < rows.count() && status == LXW_NO_ERROR; ++row) {
                for (int at = 0; at < writers.size() && status == LXW_NO_ERROR; ++at) {
                    const ColumnWriter &writer = writers.at(at);
                    if (writer.field >= 0)
                        status = writeCell(sheet, lxw_row_t(row + 2), lxw_col_t(at), writer, rows.valueAt(row, writer.field));
                }
            }
            if (status == LXW_NO_ERROR)
                written = workbook_close(workbook.release()) == LXW_NO_ERROR;
        }
    }
    if (written && flushToDisk(partial)) {
        QFile::remove(path);
        if (QFile::rename(partial, path))
            return true;
    }
    QFile::remove(partial);
    return false;
}
