#include "TestMain.h"

#include "document/rtf/Rtf.h"
#include "document/rtf/RtfContent.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("centre");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return QStringLiteral("right");
    return QStringLiteral("left");
}

// A page break shows on the paragraph that starts the new page, whether the paragraph asks
// for it or the one before asks for a break after itself (as the editor does).
QString paragraphLine(const QTextBlockFormat &format, bool breakAfterPrevious)
{
    QString line = QStringLiteral("paragraph ") + alignmentName(format.alignment());
    if (format.leftMargin() != 0)
        line += QStringLiteral(" indent %1").arg(format.leftMargin());
    if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        line += QStringLiteral(" line %1%").arg(format.lineHeight());
    else if (format.lineHeightType() == QTextBlockFormat::FixedHeight)
        line += QStringLiteral(" line exactly %1").arg(format.lineHeight());
    if (breakAfterPrevious || (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        line += QStringLiteral(" page break");
    return line;
}

// The family only when it is not the document's own, so that a run that names the default
// font and one that leaves it out read alike.
QString runLine(const QTextCharFormat &format, const QTextDocument &document)
{
    if (format.isImageFormat()) {
        const QTextImageFormat picture = format.toImageFormat();
        const QImage image = document.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
        return QStringLiteral("  picture %1x%2 of %3x%4")
            .arg(picture.width()).arg(picture.height()).arg(image.width()).arg(image.height());
    }
    QString line = QStringLiteral("  run");
    const QString family = format.fontFamilies().toStringList().value(0);
    if (!family.isEmpty() && family != document.defaultFont().family())
        line += ' ' + family;
    line += QStringLiteral(" %1pt").arg(format.hasProperty(QTextFormat::FontPointSize)
                                            ? format.fontPointSize()
                                            : document.defaultFont().pointSizeF());
    if (format.fontWeight() >= QFont::DemiBold)
        line += QStringLiteral(" bold");
    if (format.fontItalic())
        line += QStringLiteral(" italic");
    if (format.fontUnderline())
        line += QStringLiteral(" underline");
    if (format.foreground().style() != Qt::NoBrush)
        line += QStringLiteral(" colour ") + format.foreground().color().name();
    if (format.background().style() != Qt::NoBrush)
        line += QStringLiteral(" background ") + format.background().color().name();
    return line + QStringLiteral(": ");
}

// What a reader must get back of a document: for every block its table cell, its paragraph
// formatting and its runs of equally formatted text.
QStringList describe(const QTextDocument &document)
{
    QStringList lines;
    bool breakAfterPrevious = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextTable *table = QTextCursor(block).currentTable()) {
            const QTextTableCell cell = table->cellAt(block.position());
            if (cell.row() == 0 && cell.column() == 0 && cell.firstPosition() == block.position()) {
                QStringList widths;
                for (const QTextLength &width : table->format().columnWidthConstraints())
                    widths << QString::number(width.rawValue());
                lines << QStringLiteral("table %1x%2 widths %3 border %4")
                             .arg(table->rows()).arg(table->columns()).arg(widths.join(','))
                             .arg(table->format().border());
            }
            if (cell.firstPosition() == block.position())
                lines << QStringLiteral("cell %1,%2 spans %3x%4")
                             .arg(cell.row()).arg(cell.column()).arg(cell.rowSpan()).arg(cell.columnSpan());
        }
        lines << paragraphLine(block.blockFormat(), breakAfterPrevious);
        breakAfterPrevious = block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
        QString previousRun;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString run = runLine(it.fragment().charFormat(), document);
            const QString text = it.fragment().charFormat().isImageFormat() ? QString() : it.fragment().text();
            if (run == previousRun)
                lines.last() += text;
            else
                lines << run + text;
            previousRun = run;
        }
    }
    return lines;
}

// The text of a document with its structure in brackets: "[row,column]" before a cell,
// "[rows x columns]" for a merged one, "[page]" before a page break, "|" between runs of
// other formatting with "[b]" and "[i]" after bold and italic runs, "[picture]" for one.
QString outline(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString text;
        if (QTextTable *table = QTextCursor(block).currentTable()) {
            const QTextTableCell cell = table->cellAt(block.position());
            if (cell.firstPosition() == block.position()) {
                text += QStringLiteral("[%1,%2").arg(cell.row()).arg(cell.column());
                if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                    text += QStringLiteral(" %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
                text += ']';
            }
        }
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            text += QStringLiteral("[page]");
        QStringList runs;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            QString run = format.isImageFormat() ? QStringLiteral("[picture]") : it.fragment().text();
            if (format.fontWeight() >= QFont::DemiBold)
                run += QStringLiteral("[b]");
            if (format.fontItalic())
                run += QStringLiteral("[i]");
            runs << run;
        }
        blocks << text + runs.join('|');
    }
    return blocks.join('\n');
}

int cellCount(const QTextDocument &document)
{
    int cells = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextTable *table = QTextCursor(block).currentTable())
            cells += table->cellAt(block.position()).firstPosition() == block.position() ? 1 : 0;
    }
    return cells;
}

QTextCharFormat charFormat(const QString &family, qreal points)
{
    QTextCharFormat format;
    if (!family.isEmpty())
        format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

// A document with every kind of formatting the editors make.
void buildFeatureDocument(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat title = charFormat(QStringLiteral("Noto Sans CJK SC"), 20);
    title.setFontWeight(QFont::Bold);
    title.setForeground(QColor(0xc0, 0x10, 0x10));
    cursor.insertText(QStringLiteral("Pandrel 工作文档"), title);

    QTextBlockFormat indented;
    indented.setAlignment(Qt::AlignJustify);
    indented.setLeftMargin(40);
    indented.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    cursor.insertBlock(indented);
    const QTextCharFormat song = charFormat(QStringLiteral("宋体"), 12);
    cursor.insertText(QStringLiteral("宋体正文，"), song);
    QTextCharFormat italic = song;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("italic "), italic);
    QTextCharFormat underlined = song;
    underlined.setFontUnderline(true);
    cursor.insertText(QStringLiteral("underlined {braces} \\"), underlined);
    QTextCharFormat marked = song;
    marked.setForeground(QColor(Qt::blue));
    marked.setBackground(QColor(Qt::yellow));
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("背景\t😀 emoji"), marked);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
    right.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    cursor.insertBlock(right);
    cursor.insertText(QStringLiteral("Serif 10.5"), charFormat(QStringLiteral("DejaVu Serif"), 10.5));

    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("第二页"), charFormat(QString(), 12));
    QTextBlockFormat thirdPage;
    thirdPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(thirdPage);
    cursor.insertText(QStringLiteral("第三页"), charFormat(QString(), 12));

    QTextTableFormat tableFormat;
    tableFormat.setBorder(1);
    tableFormat.setCellPadding(3);
    tableFormat.setCellSpacing(0);
    tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100),
                                           QTextLength(QTextLength::FixedLength, 120),
                                           QTextLength(QTextLength::FixedLength, 80)});
    QTextTable *table = cursor.insertTable(3, 3, tableFormat);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 2, 2, 1);
    const QStringList cells = {QStringLiteral("甲乙合并"), {}, QStringLiteral("丙"),
                               QStringLiteral("丁"), QStringLiteral("戊"), QStringLiteral("上下合并"),
                               QStringLiteral("己"), QStringLiteral("庚"), {}};
    for (int i = 0; i < cells.size(); ++i) {
        const QTextTableCell cell = table->cellAt(i / 3, i % 3);
        if (cell.row() == i / 3 && cell.column() == i % 3)
            cell.firstCursorPosition().insertText(cells.at(i), charFormat(QString(), 12));
    }
    QTextCursor inCell = table->cellAt(2, 0).lastCursorPosition();
    inCell.insertBlock();
    inCell.insertText(QStringLiteral("second paragraph"), charFormat(QString(), 12));

    cursor.setPosition(table->lastPosition() + 1);
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture.png")), picture);
    QTextImageFormat pictureFormat;
    pictureFormat.setName(QStringLiteral("picture.png"));
    pictureFormat.setWidth(80);
    pictureFormat.setHeight(40);
    cursor.insertImage(pictureFormat);
    cursor.insertText(QStringLiteral(" 图片"), charFormat(QString(), 12));
}

QByteArray pngHex()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void writesSevenBitRtfWithBalancedBraces();
    void roundTripKeepsFormatting();
    void readsText_data();
    void readsText();
    void readsFormatting_data();
    void readsFormatting();
    void refusesWhatIsNotRtf_data();
    void refusesWhatIsNotRtf();
    void limitsGroupDepth_data();
    void limitsGroupDepth();
    void keepsNestedTableTextInItsCell();
    void boundsTheCellsOfTheDocument_data();
    void boundsTheCellsOfTheDocument();
    void damagedInputLoadsOrGivesAnEmptyDocument();
    void longWordsGetBreakOpportunitiesOnlyWhileShown();
    void textPastTheCharacterBoundIsCut();
    void paragraphsPastTheBoundBecomeOne_data();
    void paragraphsPastTheBoundBecomeOne();
};

void TestRtf::writesSevenBitRtfWithBalancedBraces()
{
    QTextDocument document;
    buildFeatureDocument(document);
    const QByteArray rtf = writeRtf(document);

    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        QVERIFY2(uchar(rtf.at(i)) < 0x80, qPrintable(QStringLiteral("byte %1").arg(i)));
        if (rtf.at(i) == '\\')
            ++i; // an escaped brace or backslash
        else if (rtf.at(i) == '{')
            ++depth;
        else if (rtf.at(i) == '}')
            QVERIFY2(--depth >= 0, qPrintable(QStringLiteral("unbalanced at %1").arg(i)));
        QVERIFY2(depth > 0 || i + 2 >= rtf.size(), qPrintable(QStringLiteral("ends early at %1").arg(i)));
    }
    QCOMPARE(depth, 0);
    // A Chinese font name is declared as GBK in a font of the Chinese charset.
    QVERIFY(rtf.contains("\\fcharset134\\'cb\\'ce\\'cc\\'e5;"));
}

void TestRtf::roundTripKeepsFormatting()
{
    QTextDocument original;
    buildFeatureDocument(original);
    QTextDocument read;
    QVERIFY(readRtf(writeRtf(original), read));
    QCOMPARE(describe(read), describe(original));
}

void TestRtf::readsText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QByteArray &rtf, const QString &expected) {
        QTest::newRow(name) << rtf << expected;
    };
    row("GBK bytes of the document's code page", R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'ce\'c4})", "中文");
    row("GBK bytes of a Chinese font in a Western document",
        R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset134 \'cb\'ce;}}\f1 \'d6\'d0\f0 \'e9})", "中|é");
    row("unicode with one fallback character", R"({\rtf1 \u20013?\u25991?})", "中文");
    row("unicode with a two-byte fallback", R"({\rtf1\uc2\u20013\'d6\'d0x})", "中x");
    row("unicode without fallback", R"({\rtf1\uc0\u20013\u25991 })", "中文");
    row("fallback skipping ends with the group", R"({\rtf1\uc3{\u20013?}x})", "中x");
    row("surrogate pair in negative numbers", R"({\rtf1 \u-10179?\u-8704?})", "😀");
    row("paragraphs and line breaks", R"({\rtf1 a\line b\par c})", "a\u2028b\nc");
    row("page break", R"({\rtf1 a\page b})", "a\n[page]b");
    row("nested groups restore formatting", R"({\rtf1 a{\b b{\i c}d}e})", "a|b[b]|c[b][i]|d[b]|e");
    row("plain and pard reset", R"({\rtf1\b\qc a\par\pard\plain b})", "a[b]\nb");
    row("escaped characters", R"({\rtf1 \{a\}\\\~b\tab c\emdash})", "{a}\\\u00a0b\tc\u2014");
    row("unknown words and destinations skipped",
        R"({\rtf1{\*\unknown hidden}{\stylesheet{\s0 Normal;}}{\info{\title T}}\foo12 a\bar-5 b})", "ab");
    row("binary data skipped", "{\\rtf1{\\*\\blob\\bin3 }}}}x}", "x");
    row("field result kept", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link");
    row("huge numbers", R"({\rtf1\fs99999999999999 a\li-99999999999 b\cellx99999999999 c\u99999999999?d})",
        QStringLiteral("abc") + QChar(0xCA00) + 'd');
    row("text after the document ignored", R"({\rtf1 a}b)", "a");
    row("the last paragraph mark ends the document", R"({\rtf1 a\par})", "a");
    row("a page break before the last paragraph", R"({\rtf1 a\par\pard\pagebb b\par})", "a\n[page]b");
    row("a page break at the end starts an empty page", R"({\rtf1 a\page})", "a\n[page]");
    row("truncated text kept", R"({\rtf1 abc\par d{\b e)", "abc\nd|e[b]");
    row("picture with a metafile alternative",
        "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picwgoal300\\pichgoal300 " + pngHex()
            + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}b}",
        "a|[picture]|b");
    row("metafile picture skipped", R"({\rtf1 a{\pict\wmetafile8 0100}b})", "ab");
    row("2x2 table with a two-paragraph cell",
        R"({\rtf1\trowd\cellx1000\cellx2000\pard\intbl a\par a2\cell b\cell\row)"
        R"(\trowd\cellx1000\cellx2000\pard\intbl c\cell d\cell\row\pard after})",
        "\n[0,0]a\na2\n[0,1]b\n[1,0]c\n[1,1]d\nafter");
    row("horizontal merge marks",
        R"({\rtf1\trowd\clmgf\cellx1000\clmrg\cellx2000\cellx3000\intbl a\cell\cell b\cell\row)"
        R"(\trowd\cellx1000\cellx2000\cellx3000\intbl c\cell d\cell e\cell\row})",
        "\n[0,0 1x2]a\n[0,2]b\n[1,0]c\n[1,1]d\n[1,2]e\n");
    row("wide cell and vertical merge",
        R"({\rtf1\trowd\clvmgf\cellx1000\cellx3000\intbl a\cell b\cell\row)"
        R"(\trowd\clvmrg\cellx1000\cellx2000\cellx3000\intbl\cell c\cell d\cell\row})",
        "\n[0,0 2x1]a\n[0,1 1x2]b\n[1,1]c\n[1,2]d\n");
    row("truncated table kept", R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b)", "\n[0,0]a\n[0,1]b\n");
}

void TestRtf::readsText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);

    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    QCOMPARE(outline(document), expected);
}

void TestRtf::readsFormatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");

    const QByteArray tables = R"({\fonttbl{\f0 Arial;}{\f1\fcharset134 \'cb\'ce\'cc\'e5;})"
                              R"(}{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})";
    QTest::newRow("fonts, sizes and emphasis")
        << "{\\rtf1" + tables + R"(\f1\fs21\b\i\ul x\b0\i0\ulnone\f0\fs48 y})"
        << QStringList{"paragraph left", "  run 宋体 10.5pt bold italic underline: x", "  run Arial 24pt: y"};
    QTest::newRow("colours")
        << "{\\rtf1" + tables + R"(\cf1\chcbpat2 a\cf0\highlight1 b\cb2 c})"
        << QStringList{"paragraph left", "  run Arial 12pt colour #ff0000 background #0000ff: a",
                       "  run Arial 12pt background #ff0000: b", "  run Arial 12pt background #0000ff: c"};
    QTest::newRow("associated properties of East Asian runs")
        << "{\\rtf1" + tables
               + R"({\loch\fs40\b\f0\dbch\af1\loch Pan}{\loch\f0\dbch\afs40\ab\af1\dbch \u24037?})"
               + R"({\rtlch\ab\afs10\ltrch x}})"
        << QStringList{"paragraph left", "  run Arial 20pt bold: Pan", "  run 宋体 20pt bold: 工",
                       "  run Arial 12pt: x"};
    QTest::newRow("alignment, indent and line spacing")
        << "{\\rtf1" + tables + R"(\qc\sl480\slmult1 a\par\qr\li720 b\par\qj\sl-300\slmult0 c\par\pard\pagebb d})"
        << QStringList{"paragraph centre line 200%", "  run Arial 12pt: a",
                       "paragraph right indent 48 line 200%", "  run Arial 12pt: b",
                       "paragraph justify indent 48 line exactly 20", "  run Arial 12pt: c",
                       "paragraph left page break", "  run Arial 12pt: d"};
}

void TestRtf::readsFormatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);

    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    QCOMPARE(describe(document), expected);
}

void TestRtf::refusesWhatIsNotRtf_data()
{
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Dear customer,\n");
    QTest::newRow("cut header") << QByteArray("{\\rt");
    QTest::newRow("no opening brace") << QByteArray("\\rtf1 {a}");
    QTest::newRow("HTML around RTF") << QByteArray("<p>{\\rtf1 a}</p>");
    QTest::newRow("binary") << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
}

void TestRtf::refusesWhatIsNotRtf()
{
    QFETCH(QByteArray, input);

    QTextDocument document(QStringLiteral("earlier content"));
    QVERIFY(!readRtf(input, document));
    QVERIFY(document.isEmpty());
}

void TestRtf::limitsGroupDepth_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("read");

    QTest::newRow("deep like a word processor") << 100 << true;
    QTest::newRow("hostile") << 1'000'000 << false;
}

void TestRtf::limitsGroupDepth()
{
    QFETCH(int, depth);
    QFETCH(bool, read);

    const QByteArray rtf = "{\\rtf1" + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + '}';
    QTextDocument document;
    QCOMPARE(readRtf(rtf, document), read);
    QCOMPARE(document.toPlainText(), read ? QStringLiteral("deep") : QString());
}

void TestRtf::keepsNestedTableTextInItsCell()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable *outer = cursor.insertTable(1, 2);
    outer->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("right"));
    QTextCursor inCell = outer->cellAt(0, 0).firstCursorPosition();
    QTextTable *inner = inCell.insertTable(1, 2);
    inner->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("内一"));
    inner->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("内二"));

    QTextDocument read;
    QVERIFY(readRtf(writeRtf(document), read));
    // The inner table's cells become paragraphs of the outer cell, between the empty
    // paragraphs Qt keeps around a table.
    QCOMPARE(outline(read), QStringLiteral("\n[0,0]\n内一\n内二\n\n[0,1]right\n"));
}

// A row definition stays in force, so each "\row" of a few bytes added a row of 64 cells:
// 7 KB made a table of 1562 × 64 cells that took 8 s to lay out, ten of them minutes.
void TestRtf::boundsTheCellsOfTheDocument_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("cells");
    QTest::addColumn<bool>("keptInTable");

    QByteArray definition = "\\trowd";
    for (int column = 1; column <= kMaxRtfColumns; ++column)
        definition += "\\cellx" + QByteArray::number(column * 100);
    const QByteArray repeatedRows = definition + QByteArray("\\row").repeated(1562) + "\\pard x\\par";
    const QByteArray lastRow = definition + "\\intbl kept\\cell\\row\\pard end}";
    const int fullRows = kMaxRtfDocumentCells / kMaxRtfColumns;
    QTest::newRow("one table of 1562 rows") << "{\\rtf1" + repeatedRows + lastRow << fullRows * kMaxRtfColumns << false;
    QTest::newRow("ten tables of 1562 rows") << "{\\rtf1" + repeatedRows.repeated(10) + lastRow
                                             << fullRows * kMaxRtfColumns << false;
    QTest::newRow("within the bound")
        << "{\\rtf1" + definition + QByteArray("\\row").repeated(fullRows - 1) + "\\pard x\\par" + lastRow
        << fullRows * kMaxRtfColumns << true;
}

// Rows beyond the bound keep their text, as paragraphs after the last table.
void TestRtf::boundsTheCellsOfTheDocument()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, cells);
    QFETCH(bool, keptInTable);
    QTextDocument document;

    QVERIFY(readRtf(rtf, document));

    QCOMPARE(cellCount(document), cells);
    const QTextBlock kept = document.findBlock(document.toPlainText().indexOf(QStringLiteral("kept")));
    QCOMPARE(kept.text(), QStringLiteral("kept"));
    QCOMPARE(document.lastBlock().text(), QStringLiteral("end"));
    QCOMPARE(QTextCursor(kept).currentTable() != nullptr, keptInTable);
    document.setPageSize(QSizeF(600, 800));
    QVERIFY(document.pageCount() > 0);
}

// Random and damaged input either reads into a document that lays out, or is refused with an
// empty document. The seed is fixed so that a failure can be replayed.
void TestRtf::damagedInputLoadsOrGivesAnEmptyDocument()
{
    QTextDocument source;
    buildFeatureDocument(source);
    const QByteArray written = writeRtf(source);
    const QByteArray rtfAlphabet = "{}\\'0123456789abcdefghijklmnopqrstuvwxyz -;?*\r\n";
    QRandomGenerator random(20240615);
    const auto randomBytes = [&](qsizetype length, const QByteArray &alphabet) {
        QByteArray bytes;
        for (qsizetype i = 0; i < length; ++i)
            bytes += alphabet.isEmpty() ? char(random.bounded(256)) : alphabet.at(random.bounded(int(alphabet.size())));
        return bytes;
    };

    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 500; ++round) {
        QByteArray input;
        switch (round % 5) {
        case 0: input = randomBytes(random.bounded(400), {}); break;
        case 1: input = "{\\rtf1" + randomBytes(random.bounded(400), rtfAlphabet); break;
        case 2: input = written.left(random.bounded(int(written.size()))); break;
        case 3:
            input = written;
            for (int flip = 0; flip < 20; ++flip)
                input[random.bounded(int(input.size()))] = char(random.bounded(256));
            break;
        case 4:
            for (const char c : written) {
                if ((c != '{' && c != '}') || random.bounded(3) != 0)
                    input += c;
            }
            break;
        }
        QTextDocument document(QStringLiteral("earlier content"));
        const QString replay = QStringLiteral("round %1").arg(round);
        if (!readRtf(input, document)) {
            QVERIFY2(document.isEmpty(), qPrintable(replay));
            continue;
        }
        QVERIFY2(!document.toPlainText().contains(QStringLiteral("earlier content")), qPrintable(replay));
        QVERIFY2(cellCount(document) <= kMaxRtfDocumentCells, qPrintable(replay));
        document.setPageSize(QSizeF(600, 800));
        QVERIFY2(document.pageCount() > 0, qPrintable(replay));
    }
    QVERIFY2(timer.elapsed() < 20'000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
}

void TestRtf::longWordsGetBreakOpportunitiesOnlyWhileShown()
{
    const QByteArray word(3 * kLongestUnbrokenRun, 'a');
    QTextDocument document;

    QVERIFY(readRtf("{\\rtf1 short\\par " + word + "\\par}", document));

    QCOMPARE(document.lastBlock().text().count(QChar(0x200B)), 2);
    QCOMPARE(document.firstBlock().text(), QStringLiteral("short"));
    const QByteArray written = writeRtf(document);
    QVERIFY(!written.contains("\\u8203"));
    QTextDocument readBack;
    QVERIFY(readRtf(written, readBack));
    QCOMPARE(readBack.lastBlock().text().remove(QChar(0x200B)), QString::fromLatin1(word));
}

void TestRtf::textPastTheCharacterBoundIsCut()
{
    const QByteArray words = QByteArray("word ").repeated(kMaxDocumentCharacters / 5);
    QTextDocument document;

    QVERIFY(readRtf("{\\rtf1 " + words + "\\par second\\par third\\par}", document));

    QCOMPARE(document.blockCount(), 2);
    QCOMPARE(document.lastBlock().text(), QStringLiteral("second third"));
}

void TestRtf::paragraphsPastTheBoundBecomeOne_data()
{
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<QString>("lastParagraph");

    QTest::newRow("at the bound") << kMaxDocumentParagraphs << QStringLiteral("p%1").arg(kMaxDocumentParagraphs - 1);
    QTest::newRow("past the bound") << kMaxDocumentParagraphs + 3
                                    << QStringLiteral("p%1 p%2 p%3").arg(kMaxDocumentParagraphs)
                                           .arg(kMaxDocumentParagraphs + 1).arg(kMaxDocumentParagraphs + 2);
}

void TestRtf::paragraphsPastTheBoundBecomeOne()
{
    QFETCH(int, paragraphs);
    QFETCH(QString, lastParagraph);
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < paragraphs; ++i)
        rtf += "p" + QByteArray::number(i) + "\\par ";
    QTextDocument document;

    QVERIFY(readRtf(rtf + "}", document));

    QCOMPARE(document.blockCount(), std::min(paragraphs, kMaxDocumentParagraphs + 1));
    QCOMPARE(document.lastBlock().text(), lastParagraph);
}

PANDREL_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
