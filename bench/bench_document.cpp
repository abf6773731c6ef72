// Loads and lays out documents at the bounds that keep a body or an RTF file from taking the
// program down, and the hostile inputs those bounds cut short; prints load and layout times
// (median of a few rounds) on an A4 page.
#include "DataGenerator.h"

#include "document/DocumentBounds.h"
#include "document/DocumentStore.h"
#include "document/TableCommands.h"
#include "document/rtf/Rtf.h"
#include "document/rtf/RtfContent.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextStream>
#include <QTextTable>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const int kRounds = 3;

QByteArray storedHtml(const QString &html)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << html << quint32(0);
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
    return storedHtml(QStringLiteral("<table><tr><td>").repeated(depth) + QStringLiteral("x")
                      + QStringLiteral("</td></tr></table>").repeated(depth));
}

QByteArray rtfRows(int tables)
{
    QByteArray definition = "\\trowd";
    for (int column = 1; column <= kMaxRtfColumns; ++column)
        definition += "\\cellx" + QByteArray::number(column * 100);
    return "{\\rtf1" + (definition + QByteArray("\\row").repeated(1562) + "\\pard x\\par").repeated(tables) + "}";
}

struct Case
{
    const char *name;
    QByteArray input;
    std::function<bool(const QByteArray &, QTextDocument &)> load;
};

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << Qt::fixed;
    out.setRealNumberPrecision(1);

    const std::vector<Case> cases = {
        {"body: 10x6 tables nested to the bound", tablesAtTheBound(), loadDocument},
        {"body: 20 nested tables", nestedTables(20), loadDocument},
        {"body: 3000 nested tables", nestedTables(3000), loadDocument},
        {"rtf: 1562 rows of 64 cells", rtfRows(1), readRtf},
        {"rtf: ten such tables", rtfRows(10), readRtf},
    };
    out << "document bounds, median of " << kRounds << " rounds (load / layout, ms)\n";
    for (const Case &benchCase : cases) {
        std::vector<double> loadMs;
        std::vector<double> layoutMs;
        for (int round = 0; round < kRounds; ++round) {
            QTextDocument document;
            QElapsedTimer timer;
            timer.start();
            if (!benchCase.load(benchCase.input, document)) {
                out << benchCase.name << ": not loaded\n";
                return 1;
            }
            loadMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            document.setPageSize(QSizeF(794, 1123));
            document.documentLayout()->documentSize();
            layoutMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        out << "  " << QString::fromLatin1(benchCase.name).leftJustified(40) << benchdata::median(loadMs) << " / "
            << benchdata::median(layoutMs) << '\n';
    }
    return 0;
}
