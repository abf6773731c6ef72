// Export of 100 000 work items with every visible column of the work list, against a bare
// libxlsxwriter loop writing the same cells from values prepared beforehand; and the print
// preview of 10 000 clients. Prints the times, the ratio and the memory the export added.
#include "DataGenerator.h"

#include "data/Recordset.h"
#include "data/Database.h"
#include "output/GridWorkbook.h"
#include "output/ListPreviewDialog.h"
#include "widgets/DataGrid.h"
#include "work/WorkListPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>
#include <vector>
#include <xlsxwriter.h>

namespace {

const int kItems = 100000;
const int kClients = 10000;
const int kRounds = 3;

struct Cell {
    bool number = false;
    double value = 0;
    QByteArray text;
};

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The floor: the cells already converted, written one after the other.
void writeBare(const QString &path, const std::vector<std::vector<Cell>> &rows)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *date = workbook_add_format(workbook);
    format_set_num_format(date, "yyyy-mm-dd");
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const Cell &cell = rows[r][c];
            if (cell.number)
                worksheet_write_number(sheet, lxw_row_t(r + 2), lxw_col_t(c), cell.value, date);
            else if (!cell.text.isEmpty())
                worksheet_write_string(sheet, lxw_row_t(r + 2), lxw_col_t(c), cell.text.constData(), nullptr);
        }
    }
    workbook_close(workbook);
}

std::vector<std::vector<Cell>> preparedCells(const QList<GridColumn> &columns, const Recordset &rows)
{
    std::vector<std::vector<Cell>> cells(size_t(rows.count()));
    for (int r = 0; r < rows.count(); ++r) {
        for (const GridColumn &column : columns) {
            if (!column.visible)
                continue;
            const QVariant value = rows.valueAt(r, rows.fieldIndex(column.field));
            Cell cell;
            cell.number = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double
                          || !column.dateFormat.isEmpty();
            cell.value = value.toDouble();
            if (!cell.number)
                cell.text = value.toString().toUtf8();
            cells[size_t(r)].push_back(cell);
        }
    }
    return cells;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;
    if (!benchdata::prepareProgramFolder(folder.path())) {
        out << "bench_output: cannot prepare a program folder\n";
        return 1;
    }
    Database database;
    database.openAtStartup();
    if (!benchdata::addWorkItems(database, kItems, 16) || !benchdata::addClients(database, kClients, 0)) {
        out << "bench_output: cannot fill the database\n";
        return 1;
    }

    WorkListPage page;
    for (QCheckBox *state : {page.m_doneCheck, page.m_abandonedCheck}) // every state, so every item is listed
        state->setChecked(true);
    page.loadList();
    const Recordset &rows = page.m_workGrid->recordset();
    const QList<GridColumn> columns = page.m_workGrid->columns();
    const std::vector<std::vector<Cell>> cells = preparedCells(columns, rows);
    const QString path = folder.filePath(QStringLiteral("export.xlsx"));

    std::vector<double> program, bare;
    long growth = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        writeBare(path, cells);
        bare.push_back(timer.nsecsElapsed() / 1e6);
        const long before = peakKilobytes();
        timer.restart();
        writeGridWorkbook(path, QStringLiteral("事务档案"), columns, rows);
        program.push_back(timer.nsecsElapsed() / 1e6);
        growth = std::max(growth, peakKilobytes() - before);
    }
    const double programMs = benchdata::median(program);
    const double bareMs = benchdata::median(bare);
    out << QStringLiteral("export of %1 work items: %2 ms, bare libxlsxwriter %3 ms, ratio %4 (goal <= 1.2); "
                          "peak memory grew %5 KB while exporting\n")
               .arg(rows.count())
               .arg(programMs, 0, 'f', 0)
               .arg(bareMs, 0, 'f', 0)
               .arg(programMs / bareMs, 0, 'f', 2)
               .arg(growth);

    Recordset clients(database);
    clients.open(QStringLiteral("Select ID,ClientName,ClientCode,ClientType,Tele,RecTime from TClient Order by ID"));
    DataGrid grid(clients);
    grid.setColumns({{QStringLiteral("ClientName"), QStringLiteral("客户|名称"), 200},
                     {QStringLiteral("ClientCode"), QStringLiteral("客户|简码"), 100},
                     {QStringLiteral("ClientType"), QStringLiteral("类型"), 80},
                     {QStringLiteral("Tele"), QStringLiteral("电话"), 120}});
    QElapsedTimer timer;
    timer.start();
    ListPreviewDialog preview;
    preview.loadList(QStringLiteral("客户资料"), grid);
    out << QStringLiteral("print preview of %1 clients: %2 pages laid out and the first shown in %3 ms "
                          "(Qt's preview draws every page before it shows one)\n")
               .arg(clients.count())
               .arg(preview.pageCount())
               .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 0);
    return 0;
}
