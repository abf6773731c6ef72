// The start-up benchmark's baseline: what any Qt Widgets program pays to open the same
// encrypted database and show the work list in one table. It links only Qt Widgets and
// SQLCipher, so the difference to the program is what the program's own code and libraries
// cost. Usage: bare_worklist <database file> <key>
#include "FirstPaint.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QTableWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    const QByteArray key(argv[2]);
    sqlite3_key(db, key.constData(), int(key.size()));
    const QByteArray sql("Select ID,Title,TimeStart,TimeEnd,WorkType,FinStu,LastUpTime,ZY from TWork Order by ID");
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
        return 1;
    QTableWidget table;
    const int columns = sqlite3_column_count(stmt);
    table.setColumnCount(columns);
    QList<QStringList> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c))));
        rows.append(row);
    }
    sqlite3_finalize(stmt);
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < columns; ++c)
            table.setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
    }
    table.resize(979, 563);
    FirstPaint watch(&table);
    table.show();
    return app.exec();
}
