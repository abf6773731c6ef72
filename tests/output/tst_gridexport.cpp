#include "RecordingShell.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "output/GridWorkbook.h"
#include "output/GridExport.h"
#include "widgets/DataGrid.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <csignal>

// The .xlsx written from a list, read back the way another program reads it (openpyxl).
class TestGridExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writesTitleCaptionsAndTypedCells();
    void sendsToTheDesktopsSpreadsheetProgram();
    void refusesWhatItCannotSend_data();
    void refusesWhatItCannotSend();
    void failedWriteLeavesNoFile();
    void withoutAViewerSaysWhereTheFileIs_data();
    void withoutAViewerSaysWhereTheFileIs();
    void datesFitTheirColumns();
    void exportFileName_data();
    void exportFileName();

private:
    // Every cell of the first sheet as "A1=type:value", row by row.
    QStringList readBack(const QString &path);
    // The widths of the first sheet's columns, in the spreadsheet's characters, from column A.
    QList<double> columnWidths(const QString &path);
    QList<GridColumn> workColumns() const;

    QTemporaryDir m_home;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Recordset> m_rows;
};

void TestGridExport::initTestCase()
{
    // The documents folder comes from the home folder: never the real one.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
}

void TestGridExport::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork")));
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, TimeStart, LastUpTime) values "
        "(1, '签订合同 \"华东区\"', '办公事务', 2, 1, '2026-12-01', '2026-12-09 14:30:00'), "
        "(2, '回访客户', '私人事务', 1, 0, '1899-12-30', NULL)")));
    m_rows = std::make_unique<Recordset>(m_folder->database());
    QVERIFY(m_rows->open(QStringLiteral("Select ID,Title,WorkType,FinStu,TimeStart,LastUpTime from TWork Order by ID")));
}

void TestGridExport::cleanup()
{
    m_rows.reset();
    m_folder.reset();
    QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively();
}

QList<GridColumn> TestGridExport::workColumns() const
{
    GridColumn id{QStringLiteral("ID"), QStringLiteral("编号")};
    id.visible = false;
    GridColumn start{QStringLiteral("TimeStart"), QStringLiteral("开始|日期"), 90};
    start.dateFormat = QStringLiteral("yyyy-MM-dd");
    GridColumn state{QStringLiteral("FinStu"), QStringLiteral("状态")};
    state.keys = {QStringLiteral("1"), QStringLiteral("2")};
    state.picks = {QStringLiteral("未处理"), QStringLiteral("处理中")};
    return {id, {QStringLiteral("Title"), QStringLiteral("主题"), 200}, start, state};
}

QStringList TestGridExport::readBack(const QString &path)
{
    // Debian's own interpreter has openpyxl; another python3 first on the PATH may not.
    const QString script = QStringLiteral(
        "import sys, json, openpyxl\n"
        "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
        "out = []\n"
        "for row in ws.iter_rows():\n"
        "    for c in row:\n"
        "        if c.value is not None:\n"
        "            out.append('%s=%s:%s' % (c.coordinate, type(c.value).__name__, c.value))\n"
        "out.append('frozen=%s' % ws.freeze_panes)\n"
        "out.append('bold=%s' % ws['A2'].font.b)\n"
        "print(json.dumps(out))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    QStringList cells;
    for (const QJsonValue &cell : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        cells.append(cell.toString());
    return cells;
}

void TestGridExport::writesTitleCaptionsAndTypedCells()
{
    const QString path = m_home.filePath(QStringLiteral("事务.xlsx"));
    QVERIFY(writeGridWorkbook(path, QStringLiteral("事务档案"), workColumns(), *m_rows));

    // The hidden ID is absent; the state is the text the list shows, not its stored code;
    // the empty date is blank, not day 0.
    QCOMPARE(readBack(path), (QStringList{
        "A1=str:事务档案", "A2=str:主题", "B2=str:开始|日期", "C2=str:状态",
        "A3=str:签订合同 \"华东区\"", "B3=datetime:2026-12-01 00:00:00", "C3=str:处理中",
        "A4=str:回访客户", "C4=str:未处理",
        "frozen=A3", "bold=True"}));
    QCOMPARE(QDir(m_home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"事务.xlsx"});
}

void TestGridExport::sendsToTheDesktopsSpreadsheetProgram()
{
    RecordingShell shell;
    ScriptedPrompter prompter;
    ManualClock clock(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)));
    DataGrid grid(*m_rows);
    grid.setColumns(workColumns());
    m_rows->moveTo(1);

    exportGridToSpreadsheet(QStringLiteral("事务档案"), grid);

    const QString expected = m_home.filePath(QStringLiteral("Documents/事务档案 2026-12-10 140509.xlsx"));
    QCOMPARE(prompter.shown(), QStringList());
    QCOMPARE(shell.calls(), QStringList{QStringLiteral("open ") + expected});
    QCOMPARE(readBack(expected).value(0), QStringLiteral("A1=str:事务档案"));
    QCOMPARE(m_rows->position(), 1); // the list keeps its current row
}

void TestGridExport::refusesWhatItCannotSend_data()
{
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("spreadsheetProgram");
    QTest::addColumn<QString>("message");

    QTest::newRow("closed result set") << true << true << "查询过程没有执行，没有数据库可以发送！";
}

void TestGridExport::refusesWhatItCannotSend()
{
    QFETCH(bool, closed);
    QFETCH(bool, spreadsheetProgram);
    QFETCH(QString, message);
    RecordingShell shell;
    if (!spreadsheetProgram)
        shell.refuseToOpen(QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"));
    ScriptedPrompter prompter;
    DataGrid grid(*m_rows);
    grid.setColumns(workColumns());
    if (closed)
        m_rows->close();

    exportGridToSpreadsheet(QStringLiteral("事务档案"), grid);

    QCOMPARE(prompter.shown(), QStringList{message});
    QCOMPARE(shell.calls(), QStringList());
    QVERIFY(!QDir(m_home.filePath(QStringLiteral("Documents"))).exists()
            || QDir(m_home.filePath(QStringLiteral("Documents"))).isEmpty());
}

void TestGridExport::failedWriteLeavesNoFile()
{
    RecordingShell shell;
    ScriptedPrompter prompter;
    DataGrid grid(*m_rows);
    grid.setColumns(workColumns());
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set Title=?"), {QString(4000, QChar(0x4E2D))}));
    QVERIFY(m_rows->open(QStringLiteral("Select ID,Title,WorkType,FinStu,TimeStart,LastUpTime from TWork Order by ID")));
    const QString documents = m_home.filePath(QStringLiteral("Documents"));
    QVERIFY(QDir().mkpath(documents));

    // A disk that fills up: files of this process may not grow past 2 KB for a moment.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2048;
    setrlimit(RLIMIT_FSIZE, &small);
    exportGridToSpreadsheet(QStringLiteral("事务档案"), grid);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QCOMPARE(prompter.shown().size(), 1);
    QVERIFY(prompter.lastShown().startsWith(QStringLiteral("电子表格文件不能写入")));
    QCOMPARE(shell.calls(), QStringList());
    QCOMPARE(QDir(documents).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The program writes the workbook itself; a desktop that cannot show it still gets the file,
// and the user learns where it is.
void TestGridExport::withoutAViewerSaysWhereTheFileIs_data()
{
    QTest::addColumn<bool>("registered"); // a program is registered for .xlsx but does not start
    QTest::addColumn<bool>("openFolder");
    QTest::addColumn<QStringList>("calls"); // "%1" the workbook, "%2" the documents folder

    QTest::newRow("nothing registered, folder opened") << false << true << QStringList{"open %2"};
    QTest::newRow("nothing registered, folder not wanted") << false << false << QStringList();
    QTest::newRow("registered program does not start") << true << false << QStringList{"open %1"};
}

void TestGridExport::withoutAViewerSaysWhereTheFileIs()
{
    QFETCH(bool, registered);
    QFETCH(bool, openFolder);
    QFETCH(QStringList, calls);
    RecordingShell shell;
    if (registered)
        shell.failLaunches();
    else
        shell.refuseToOpen(QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"));
    ScriptedPrompter prompter;
    openFolder ? prompter.answerYes() : prompter.answerNo();
    ManualClock clock(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)));
    DataGrid grid(*m_rows);
    grid.setColumns(workColumns());

    exportGridToSpreadsheet(QStringLiteral("事务档案"), grid);

    const QString documents = m_home.filePath(QStringLiteral("Documents"));
    const QString path = documents + QStringLiteral("/事务档案 2026-12-10 140509.xlsx");
    QCOMPARE(readBack(path).value(0), QStringLiteral("A1=str:事务档案"));
    QCOMPARE(prompter.shown(), QStringList{QStringLiteral("数据已经保存到电子表格文件：\n%1\n"
                                                          "系统中没有找到可以打开该文件的程序。要打开它所在的文件夹吗？").arg(path)});
    QStringList expected;
    for (const QString &call : calls)
        expected.append(QString(call).replace(QStringLiteral("%1"), path).replace(QStringLiteral("%2"), documents));
    QCOMPARE(shell.calls(), expected);
}

QList<double> TestGridExport::columnWidths(const QString &path)
{
    const QString script = QStringLiteral(
        "import sys, openpyxl\n"
        "from openpyxl.utils import get_column_letter\n"
        "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
        "print(' '.join(str(ws.column_dimensions[get_column_letter(c)].width) for c in range(1, ws.max_column + 1)))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    QList<double> widths;
    if (python.waitForFinished(30000) && python.exitCode() == 0) {
        for (const QString &width : QString::fromLatin1(python.readAllStandardOutput()).split(' ', Qt::SkipEmptyParts))
            widths.append(width.toDouble());
    }
    return widths;
}

// A spreadsheet shows "####" instead of a date its column is too narrow for: every date
// column is at least as wide as its dates, whatever width the list gave it.
void TestGridExport::datesFitTheirColumns()
{
    RecordingShell shell;
    ScriptedPrompter prompter;
    ManualClock clock(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)));
    GridColumn start{QStringLiteral("TimeStart"), QStringLiteral("开始"), 30};
    start.dateFormat = QStringLiteral("yyyy-MM-dd");
    GridColumn registered{QStringLiteral("LastUpTime"), QStringLiteral("登记")};
    registered.dateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    DataGrid grid(*m_rows);
    grid.setColumns({start, registered});

    exportGridToSpreadsheet(QStringLiteral("事务档案"), grid);

    const QList<double> widths = columnWidths(m_home.filePath(QStringLiteral("Documents/事务档案 2026-12-10 140509.xlsx")));
    QCOMPARE(widths.size(), 2);
    QVERIFY2(widths.at(0) >= 10, qPrintable(QString::number(widths.at(0))));
    QVERIFY2(widths.at(1) >= 19, qPrintable(QString::number(widths.at(1))));
}

void TestGridExport::exportFileName_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");

    QTest::newRow("title and moment") << "客户资料" << QStringList() << "客户资料 2026-12-10 090000.xlsx";
    QTest::newRow("separators replaced") << "a/b\\c:d" << QStringList() << "a_b_c_d 2026-12-10 090000.xlsx";
    QTest::newRow("never hidden") << ".profile" << QStringList() << "_profile 2026-12-10 090000.xlsx";
    QTest::newRow("same second again")
        << "客户资料" << QStringList{"客户资料 2026-12-10 090000.xlsx", "客户资料 2026-12-10 090000 (2).xlsx"}
        << "客户资料 2026-12-10 090000 (3).xlsx";
}

void TestGridExport::exportFileName()
{
    QFETCH(QString, title);
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QTemporaryDir docs;
    for (const QString &file : existing)
        QVERIFY(QFile(docs.filePath(file)).open(QIODevice::WriteOnly));
    QCOMPARE(exportFilePath(docs.path(), title, QDateTime(QDate(2026, 12, 10), QTime(9, 0))), docs.filePath(name));
}

PANDREL_TEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
