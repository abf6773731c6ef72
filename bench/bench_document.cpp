// Loads and lays out documents at the bounds that keep a body or an RTF file from taking the
// program down, the hostile inputs those bounds cut short, and the documents in the shared
// fixture folder; prints load and layout times (median of a few rounds) on an A4 page and the
// peak memory of a process that loads the case once.
//
// Each case runs in a child process of its own (this program with --case <file> <kind>), so
// the peak resident size it reports is that of loading the one case. Built inputs are written
// to temporary files first, so that building them counts in no child.
// The fixture folder is ../shared/fixtures/documents beside the source tree, or the folder
// named by PANDREL_DOCUMENT_FIXTURES.
#include "DataGenerator.h"

#include "document/DocumentBounds.h"
#include "document/DocumentStore.h"
#include "document/TableCommands.h"
#include "document/rtf/Rtf.h"
#include "document/rtf/RtfContent.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextStream>
#include <QTextTable>

#include <algorithm>
#include <vector>

namespace {

const int kRounds = 3;

QByteArray stored(const QString &html, const QList<std::pair<QString, QByteArray>> &pictures = {})
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << html << quint32(pictures.size());
    for (const auto &[name, bytes] : pictures)
        out << name << bytes;
    return QByteArrayLiteral("PDOC\x00\x01") + qCompress(payload);
}

// The editor's own 10 × 6 table, each in the first cell of the one before.
QByteArray tablesAtTheBound()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int depth = 0; depth < kMaxTableDepth; ++depth) {
        tablecommands::insertDefaultTable(cursor);
        cursor.insertText(QStringLiteral("第%1层").arg(depth + 1));
    }
    return saveDocument(document);
}

QByteArray nestedTables(int depth)
{
    return stored(QStringLiteral("<table><tr><td>").repeated(depth) + QStringLiteral("x")
                  + QStringLiteral("</td></tr></table>").repeated(depth));
}

QString tableHtml(int rows, int columns)
{
    QString html = QStringLiteral("<table border=\"1\">");
    for (int row = 0; row < rows; ++row) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < columns; ++column)
            html += QStringLiteral("<td>%1-%2</td>").arg(row + 1).arg(column + 1);
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// Some 40 paragraphs of 50 characters fill an A4 page of 宋体 12.
QByteArray reportWithTable(int pages, int rows, int columns)
{
    QString html;
    const QString line = QStringLiteral("本季度各部门的工作计划已经按时完成，客户回访记录整理归档，下一步安排如下所述。");
    for (int paragraph = 0; paragraph < pages * 40; ++paragraph) {
        html += QStringLiteral("<p>%1 %2</p>").arg(paragraph + 1).arg(line);
        if (paragraph == pages * 20)
            html += tableHtml(rows, columns);
    }
    return stored(html);
}

QByteArray rtfRows(int tables)
{
    QByteArray definition = "\\trowd";
    for (int column = 1; column <= kMaxRtfColumns; ++column)
        definition += "\\cellx" + QByteArray::number(column * 100);
    return "{\\rtf1" + (definition + QByteArray("\\row").repeated(1562) + "\\pard x\\par").repeated(tables) + "}";
}

QByteArray rtfWord(int letters)
{
    return "{\\rtf1 " + QByteArray(letters, 'a') + "\\par}";
}

struct Case
{
    QString name;
    QByteArray input;
    QString kind; // body, rtf
};

bool load(const QString &kind, const QByteArray &input, QTextDocument &document)
{
    return kind == u"rtf" ? readRtf(input, document) : loadDocument(input, document);
}

int countCells(const QTextDocument &document)
{
    int cells = 0;
    QList<QTextFrame *> pending{document.rootFrame()};
    while (!pending.isEmpty()) {
        QTextFrame *frame = pending.takeLast();
        if (auto *table = qobject_cast<QTextTable *>(frame))
            cells += table->rows() * table->columns();
        pending += frame->childFrames();
    }
    return cells;
}

// The child: loads the case once to count and measure, then more rounds for the times.
int runCase(const QString &path, const QString &kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray input = file.readAll();
    file.close();
    std::vector<double> loadMs;
    std::vector<double> layoutMs;
    int blocks = 0;
    int cells = 0;
    for (int round = 0; round < kRounds; ++round) {
        QTextDocument document;
        QElapsedTimer timer;
        timer.start();
        load(kind, input, document);
        loadMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        document.setPageSize(QSizeF(794, 1123));
        document.documentLayout()->documentSize();
        layoutMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        blocks = document.blockCount();
        cells = countCells(document);
    }
    // The high-water mark of this process image: unlike getrusage's, it does not start from
    // the parent's, which built every input.
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    double peakMb = 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            peakMb = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    QTextStream out(stdout);
    out << Qt::fixed;
    out.setRealNumberPrecision(1);
    out << benchdata::median(loadMs) << " / " << benchdata::median(layoutMs) << " ms, "
        << peakMb << " MB peak, " << blocks << " paragraphs, " << cells << " cells";
    return 0;
}

QString fixtureFolder()
{
    const QString named = qEnvironmentVariable("PANDREL_DOCUMENT_FIXTURES");
    return named.isEmpty() ? QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../shared/fixtures/documents") : named;
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == u"--case")
        return runCase(arguments.at(2), arguments.at(3));

    std::vector<Case> cases = {
        {QStringLiteral("body: 10x6 tables nested to the bound"), tablesAtTheBound(), QStringLiteral("body")},
        {QStringLiteral("body: 20 nested tables"), nestedTables(20), QStringLiteral("body")},
        {QStringLiteral("body: 3000 nested tables"), nestedTables(3000), QStringLiteral("body")},
        {QStringLiteral("body: 200 pages, 2000 x 5 table (whole)"), reportWithTable(200, 2000, 5), QStringLiteral("body")},
        {QStringLiteral("body: 5000 x 64 table"), stored(tableHtml(5000, 64)), QStringLiteral("body")},
        {QStringLiteral("body: a million paragraphs"), stored(QStringLiteral("<p>a").repeated(1'000'000)),
         QStringLiteral("body")},
        {QStringLiteral("body: 4 million letters, no break"), stored(QStringLiteral("<p>") + QString(4'000'000, u'a')),
         QStringLiteral("body")},
        {QStringLiteral("body: unused 150 MB picture"),
         stored(QStringLiteral("<p>x</p>"), {{QStringLiteral("unused"), QByteArray(150 * 1024 * 1024, 'p')}}),
         QStringLiteral("body")},
        {QStringLiteral("rtf: 1562 rows of 64 cells"), rtfRows(1), QStringLiteral("rtf")},
        {QStringLiteral("rtf: ten such tables"), rtfRows(10), QStringLiteral("rtf")},
        {QStringLiteral("rtf: 4 million letters, no break"), rtfWord(4'000'000), QStringLiteral("rtf")},
    };
    const QDir fixtures(fixtureFolder());
    for (const QString &name : fixtures.entryList({QStringLiteral("*.body"), QStringLiteral("*.rtf")}, QDir::Files)) {
        QFile file(fixtures.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            cases.push_back({QStringLiteral("fixture: ") + name, file.readAll(),
                             name.endsWith(u".rtf") ? QStringLiteral("rtf") : QStringLiteral("body")});
    }

    QTemporaryDir folder;
    QTextStream out(stdout);
    out << "documents: load / layout on A4 (median of " << kRounds << " rounds), peak memory of one process\n";
    for (const Case &benchCase : cases) {
        out << "  " << benchCase.name.leftJustified(44) << Qt::flush;
        const QString path = folder.filePath(QStringLiteral("case"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(benchCase.input) != benchCase.input.size())
            return 1;
        file.close();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), path, benchCase.kind});
        child.waitForFinished(-1);
        const QByteArray result = child.readAllStandardOutput();
        out << (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? QString::fromUtf8(result)
                                                                                     : QStringLiteral("failed"))
            << '\n';
    }
    return 0;
}
