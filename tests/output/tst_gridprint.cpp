#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "output/GridPrint.h"
#include "output/ListPreviewDialog.h"
#include "widgets/DataGrid.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>

// The printed form of a list: what it takes from the grid, and the pages it prints.
class TestGridPrint : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleLineCount_data();
    void titleLineCount();
    void titleLinesRepeatTheLastPart();
    void cellsAreWhatTheGridShows();
    void everyPageRepeatsTheTitles();
    void narrowColumnsPrintWhole();
    void wideListContinuesOnFurtherPages();

private:
    void addClients(int count);
    // The text of the pages printed from `window` into a PDF file.
    QString printedText(ListPreviewDialog &window, const QString &firstPage = QStringLiteral("1"));

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Recordset> m_rows;
};

void TestGridPrint::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_rows = std::make_unique<Recordset>(m_folder->database());
}

void TestGridPrint::cleanup()
{
    m_rows.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestGridPrint::addClients(int count)
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TClient")));
    for (int i = 1; i <= count; ++i) {
        QVERIFY(m_folder->database().execute(QStringLiteral("Insert into TClient (ClientName, Tele, ClientType, RecTime) values (?, ?, ?, ?)"),
                                       {QStringLiteral("客户%1").arg(i, 3, 10, QChar('0')), QStringLiteral("0571-8800%1").arg(i),
                                        i % 2 ? QStringLiteral("A") : QStringLiteral("Z"), QStringLiteral("2026-11-0%1 09:30:00").arg(i % 9 + 1)}));
    }
    QVERIFY(m_rows->open(QStringLiteral("Select ID,ClientName,Tele,ClientType,RecTime from TClient Order by ID")));
}

void TestGridPrint::titleLineCount_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("lines");

    QTest::newRow("no separator") << "客户名称" << 1;
    QTest::newRow("two separators") << "a|b|c" << 3;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("separator at the end") << "联系|" << 2;
}

void TestGridPrint::titleLineCount()
{
    QFETCH(QString, caption);
    QFETCH(int, lines);
    QCOMPARE(captionLineCount(caption), lines);
}

void TestGridPrint::titleLinesRepeatTheLastPart()
{
    addClients(1);
    const QList<GridColumn> columns{{QStringLiteral("ClientName"), QStringLiteral("Contact|Name")},
                                    {QStringLiteral("Tele"), QStringLiteral("Contact|Phone")},
                                    {QStringLiteral("ClientType"), QStringLiteral("Note")}};

    const GridPrintData data = gridPrintData(QStringLiteral("客户资料"), columns, *m_rows);

    QCOMPARE(data.titleLineCount, 2);
    QCOMPARE(data.columns.at(0).titleLines, (QStringList{"Contact", "Name"}));
    QCOMPARE(data.columns.at(1).titleLines, (QStringList{"Contact", "Phone"}));
    QCOMPARE(data.columns.at(2).titleLines, (QStringList{"Note", "Note"}));
    QCOMPARE(captionLines(QStringLiteral("a|b|c"), 2), (QStringList{"a", "b"}));
}

void TestGridPrint::cellsAreWhatTheGridShows()
{
    addClients(2);
    GridColumn id{QStringLiteral("ID"), QStringLiteral("编号"), 40};
    id.visible = false;
    GridColumn kind{QStringLiteral("ClientType"), QStringLiteral("类别"), 60, Qt::AlignCenter};
    kind.keys = {QStringLiteral("A")};
    kind.picks = {QStringLiteral("重点客户")};
    GridColumn since{QStringLiteral("RecTime"), QStringLiteral("登记日期"), 90, Qt::AlignRight};
    since.dateFormat = QStringLiteral("yyyy-MM-dd");
    DataGrid grid(*m_rows);
    grid.setColumns({id, kind, since});

    const GridPrintData data = gridPrintData(QStringLiteral("客户资料"), grid.columns(), *m_rows);

    QCOMPARE(data.columns.at(0).width, 0); // hidden, yet a column
    QCOMPARE(data.columns.at(2).alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(data.rows.size(), 2);
    const QString first = m_rows->valueAt(0, 0).toString();
    QCOMPARE(data.rows.at(0), (QStringList{first, "重点客户", "2026-11-02"}));
    QCOMPARE(data.rows.at(1).mid(1), (QStringList{"Z", "2026-11-03"})); // a key not in the list keeps its text
    for (int row = 0; row < 2; ++row) {
        for (int column = 1; column < 3; ++column)
            QCOMPARE(data.rows.at(row).at(column), grid.cellText(row, column));
    }
}

QString TestGridPrint::printedText(ListPreviewDialog &window, const QString &firstPage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    m_prompter->answerText(pdf);
    QTest::mouseClick(window.m_printButton, Qt::LeftButton);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), firstPage, QStringLiteral("-l"), firstPage,
                                             QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return text.waitForFinished(30000) ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
}

void TestGridPrint::everyPageRepeatsTheTitles()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("This machine has a printer; the tests never print on one.");
    addClients(120);
    DataGrid grid(*m_rows);
    grid.setColumns({{QStringLiteral("ClientName"), QStringLiteral("单位|名称"), 160},
                     {QStringLiteral("Tele"), QStringLiteral("单位|电话"), 160}});
    ListPreviewDialog window;
    window.loadList(QStringLiteral("往来单位"), grid);
    QCOMPARE(window.windowTitle(), QStringLiteral("打印预览窗口"));
    QVERIFY(window.pageCount() >= 3);

    // No 户 or 页 in the texts read back: the font maps them to look-alike radicals (⼾, ⻚).
    const QString second = printedText(window, QStringLiteral("2"));
    for (const QString &expected : {QStringLiteral("往来单位"), QStringLiteral("名称"), QStringLiteral("电话"),
                                    QStringLiteral("第 2 "), QStringLiteral("共 %1 ").arg(window.pageCount())})
        QVERIFY2(second.contains(expected), qPrintable(expected + QStringLiteral(" not on page 2:\n") + second));
    QVERIFY(!second.contains(QStringLiteral("0571-88001 "))); // page 1's rows stay on page 1
}

// Columns set narrower than their titles or dates are shown wider on screen; the printout
// takes the widths as shown, so nothing the list shows whole is cut short on paper.
void TestGridPrint::narrowColumnsPrintWhole()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("This machine has a printer; the tests never print on one.");
    addClients(2);
    GridColumn id{QStringLiteral("ID"), QStringLiteral("编号"), 20, Qt::AlignRight};
    GridColumn kind{QStringLiteral("ClientType"), QStringLiteral("优先级"), 30};
    GridColumn since{QStringLiteral("RecTime"), QStringLiteral("日期"), 40};
    since.dateFormat = QStringLiteral("yyyy-MM-dd HH:mm");
    DataGrid grid(*m_rows);
    grid.setColumns({id, kind, since});
    ListPreviewDialog window;
    window.loadList(QStringLiteral("客户资料"), grid);

    const QString printed = printedText(window);

    for (const QString &whole : {QStringLiteral("编号"), QStringLiteral("优先级"), QStringLiteral("2026-11-02 09:30")})
        QVERIFY2(printed.contains(whole), qPrintable(whole + QStringLiteral(" not printed whole:\n") + printed));
    QVERIFY(!printed.contains(QChar(0x2026))); // no ellipsis anywhere
}

// A list far wider than the page (the client list has 22 columns) keeps a readable size:
// the columns that do not fit go on further pages, each starting with the first column
// again, and a long cell wraps instead of being cut short.
void TestGridPrint::wideListContinuesOnFurtherPages()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("This machine has a printer; the tests never print on one.");
    addClients(3);
    const QString longName = QStringLiteral("杭州西湖区文三路电子信息街区华东销售分公司");
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TClient Set ClientName=? Where ClientName='客户001'"), {longName}));
    QVERIFY(m_rows->open(QStringLiteral("Select ID,ClientName,Tele,ClientType,RecTime from TClient Order by ID")));
    QList<GridColumn> columns{{QStringLiteral("ClientName"), QStringLiteral("单位名称"), 160}};
    for (int i = 1; i <= 21; ++i)
        columns.append({QStringLiteral("Tele"), QStringLiteral("电话%1").arg(i, 2, 10, QChar('0')), 100});
    DataGrid grid(*m_rows);
    grid.setColumns(columns);
    ListPreviewDialog window;
    window.loadList(QStringLiteral("客户资料"), grid);
    QVERIFY(window.pageCount() >= 3);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    m_prompter->answerText(pdf);
    QTest::mouseClick(window.m_printButton, Qt::LeftButton);
    const auto run = [](const QStringList &arguments) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), arguments);
        return text.waitForFinished(30000) ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
    };
    QStringList pages;
    for (int page = 1; page <= window.pageCount(); ++page) {
        const QString number = QString::number(page);
        pages.append(run({"-f", number, "-l", number, "-layout", pdf, "-"}));
    }

    QVERIFY(pages.first().contains(QStringLiteral("电话01")));
    QVERIFY(!pages.first().contains(QStringLiteral("电话21")));
    QVERIFY(pages.last().contains(QStringLiteral("电话21")));
    for (int page = 1; page < pages.size(); ++page) {
        for (const QString &expected : {QStringLiteral("单位名称"), QStringLiteral("销售分公司")})
            QVERIFY2(pages.at(page).contains(expected), qPrintable(expected + QStringLiteral(" not repeated:\n") + pages.at(page)));
        QVERIFY(!pages.at(page).contains(QStringLiteral("电话01")));
    }
    for (const QString &page : pages) {
        QVERIFY2(page.contains(QStringLiteral("销售分公司")), qPrintable(page)); // wrapped, not cut short
        QVERIFY(!page.contains(QChar(0x2026)));
    }

    // The printed height of a cell's word, in points: at least a small but readable type.
    const QString boxes = run({"-f", "1", "-l", "1", "-bbox", pdf, "-"});
    const QRegularExpression word(QStringLiteral("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">0571-88002<"));
    const QRegularExpressionMatch found = word.match(boxes);
    QVERIFY2(found.hasMatch(), qPrintable(boxes.left(2000)));
    const double height = found.captured(2).toDouble() - found.captured(1).toDouble();
    QVERIFY2(height >= 7.5, qPrintable(QString::number(height)));
}

PANDREL_TEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"
