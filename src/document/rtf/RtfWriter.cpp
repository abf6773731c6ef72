#include "document/rtf/Rtf.h"

#include "document/DocumentBounds.h"

#include "document/rtf/RtfEncoding.h"
#include "document/rtf/RtfUnits.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace {

// A4 with the 20 mm margins of the print preview.
constexpr int kPaperWidth = 11906;
constexpr int kPaperHeight = 16838;
constexpr int kPageMargin = 1134;
constexpr int kTextWidth = kPaperWidth - 2 * kPageMargin;
constexpr int kMinimumColumnWidth = 567;
constexpr int kMaxBorderWidth = 75;
constexpr qsizetype kHexLineLength = 128;

// RTF output: control words, escaped text and groups. Everything written is 7-bit ASCII,
// so the output reads the same whatever code page a reader assumes.
class RtfStream
{
public:
    void word(const char *name)
    {
        m_bytes += '\\';
        m_bytes += name;
        m_delimit = true;
    }
    void word(const char *name, qint64 value)
    {
        word(name);
        m_bytes += QByteArray::number(value);
    }
    void raw(const QByteArray &bytes)
    {
        m_bytes += bytes;
        m_delimit = false;
    }
    // Characters outside ASCII as \uN with "?" for readers that do not know \u.
    void text(QStringView text)
    {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                raw(QByteArray("\\") + char(u));
            } else if (u == u'\t') {
                word("tab");
            } else if (u == QChar::LineSeparator) {
                word("line");
            } else if (u == QChar::Nbsp) {
                raw("\\~");
            } else if (u >= 0x20 && u < 0x7F) {
                literal(char(u));
            } else if (u >= 0x80 && u != QChar::ObjectReplacementCharacter) {
                word("u", qint16(u));
                raw("?");
            }
        }
    }
    // Text in the GBK code page, as word processors expect for a font of charset 134.
    void gbkText(const QByteArray &bytes)
    {
        for (const char byte : bytes) {
            if (uchar(byte) < 0x80 && byte != '\\' && byte != '{' && byte != '}')
                literal(byte);
            else
                raw("\\'" + QByteArray(1, byte).toHex());
        }
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    void literal(char c)
    {
        if (std::exchange(m_delimit, false))
            m_bytes += ' ';
        m_bytes += c;
    }

    QByteArray m_bytes;
    bool m_delimit = false; // a control word was written last and needs a space before text
};

QImage imageOf(const QVariant &resource)
{
    if (resource.canConvert<QImage>())
        return resource.value<QImage>();
    if (resource.canConvert<QPixmap>())
        return resource.value<QPixmap>().toImage();
    return QImage::fromData(resource.toByteArray());
}

bool isChineseFont(const QString &family)
{
    const auto systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::SimplifiedChinese)
           || systems.contains(QFontDatabase::TraditionalChinese)
           || std::any_of(family.begin(), family.end(), [](QChar c) { return c.unicode() >= 0x80; });
}

const char *alignmentWord(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return "qc";
    if (alignment & Qt::AlignJustify)
        return "qj";
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return "qr";
    return "ql";
}

// The right edge of each column in twips: fixed and percentage widths as given, the
// remaining width of the page shared by the variable columns.
QList<int> columnRightEdges(const QTextTable &table)
{
    const QList<QTextLength> constraints = table.format().columnWidthConstraints();
    QList<int> widths;
    int known = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextLength length = constraints.value(column);
        int width = 0;
        if (length.type() == QTextLength::FixedLength)
            width = std::max(0, twipsFromPixels(length.rawValue()));
        else if (length.type() == QTextLength::PercentageLength)
            width = int(std::lround(std::clamp(length.rawValue(), 0.0, 100.0) * kTextWidth / 100));
        widths.append(width);
        known += width;
    }
    const auto variable = std::count(widths.begin(), widths.end(), 0);
    const int share = variable == 0 ? 0 : int(std::max<qint64>(kMinimumColumnWidth, (kTextWidth - known) / variable));
    QList<int> edges;
    int edge = 0;
    for (int width : widths) {
        edge += width > 0 ? width : share;
        edges.append(edge);
    }
    return edges;
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document) : m_document(document)
    {
        m_fonts.append(defaultFamily());
    }

    QByteArray write();

private:
    void writeFlow(QTextFrame::iterator it, bool inTable);
    void writeTable(const QTextTable &table);
    void writeFlattenedTable(const QTextTable &table);
    void writeRowDefinition(const QTextTable &table, int row, const QList<int> &rightEdges);
    void writeParagraph(const QTextBlock &block, bool inTable);
    void writeCharacterProperties(const QTextCharFormat &format);
    void writePicture(const QTextImageFormat &format);
    void closeParagraph();

    QString defaultFamily() const;
    int fontIndex(const QTextCharFormat &format);
    int colorIndex(const QBrush &brush); // 0 for none
    QByteArray header() const;

    const QTextDocument &m_document;
    RtfStream m_body;
    QStringList m_fonts;
    QList<QRgb> m_colors;
    bool m_paragraphOpen = false;
    bool m_breakBeforeNext = false;
};

// Every paragraph ends with its mark, the document's last one too, as word processors write
// it; the last paragraph of a cell ends with \cell.
QByteArray Writer::write()
{
    writeFlow(m_document.rootFrame()->begin(), false);
    closeParagraph();
    return header() + m_body.bytes() + "}\n";
}

void Writer::closeParagraph()
{
    if (std::exchange(m_paragraphOpen, false))
        m_body.word("par");
}

void Writer::writeFlow(QTextFrame::iterator it, bool inTable)
{
    for (; !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        const auto *table = qobject_cast<const QTextTable *>(frame);
        if (table && inTable)
            writeFlattenedTable(*table);
        else if (table)
            writeTable(*table);
        else if (frame)
            writeFlow(frame->begin(), inTable);
        else
            writeParagraph(it.currentBlock(), inTable);
    }
}

// Horizontally merged cells are written as one wide cell, as word processors do themselves;
// vertically merged ones as a first cell and continuing cells.
void Writer::writeTable(const QTextTable &table)
{
    closeParagraph();
    const QTextFormat::PageBreakFlags breaks = table.format().pageBreakPolicy();
    m_breakBeforeNext = m_breakBeforeNext || breaks.testFlag(QTextFormat::PageBreak_AlwaysBefore);
    const QList<int> edges = columnRightEdges(table);
    for (int row = 0; row < table.rows(); ++row) {
        writeRowDefinition(table, row, edges);
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.column() != column)
                continue;
            if (cell.row() == row) {
                writeFlow(cell.begin(), true);
            } else {
                m_body.word("pard");
                m_body.word("intbl");
            }
            m_body.word("cell");
            m_paragraphOpen = false;
        }
        m_body.word("row");
        m_body.raw("\n");
    }
    m_breakBeforeNext = breaks.testFlag(QTextFormat::PageBreak_AlwaysAfter);
}

// A table inside a cell goes into the cell as its cells' paragraphs.
void Writer::writeFlattenedTable(const QTextTable &table)
{
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                writeFlow(cell.begin(), true);
        }
    }
}

void Writer::writeRowDefinition(const QTextTable &table, int row, const QList<int> &rightEdges)
{
    const QTextTableFormat format = table.format();
    m_body.word("trowd");
    m_body.word("trgaph", twipsFromPixels(format.cellPadding()));
    m_body.word("trleft", 0);
    const int border = format.border() > 0 ? std::clamp(twipsFromPixels(format.border()), 1, kMaxBorderWidth) : 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.column() != column)
            continue;
        if (cell.rowSpan() > 1)
            m_body.word(cell.row() == row ? "clvmgf" : "clvmrg");
        for (const char *side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"}) {
            if (border > 0) {
                m_body.word(side);
                m_body.word("brdrs");
                m_body.word("brdrw", border);
            }
        }
        if (const int background = colorIndex(cell.format().background()))
            m_body.word("clcbpat", background);
        m_body.word("cellx", rightEdges.at(column + cell.columnSpan() - 1));
    }
}

void Writer::writeParagraph(const QTextBlock &block, bool inTable)
{
    closeParagraph();
    m_body.raw("\n");
    const QTextBlockFormat format = block.blockFormat();
    m_body.word("pard");
    if (inTable)
        m_body.word("intbl");
    m_body.word(alignmentWord(format.alignment()));
    const std::pair<const char *, qreal> lengths[] = {
        {"li", format.leftMargin() + format.indent() * m_document.indentWidth()},
        {"ri", format.rightMargin()},
        {"fi", format.textIndent()},
        {"sb", format.topMargin()},
        {"sa", format.bottomMargin()},
    };
    for (const auto &[name, pixels] : lengths) {
        if (const int twips = twipsFromPixels(pixels))
            m_body.word(name, twips);
    }
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        m_body.word("sl", std::lround(std::clamp(format.lineHeight(), 1.0, 1000.0) * 240 / 100));
        m_body.word("slmult", 1);
        break;
    case QTextBlockFormat::FixedHeight:
        m_body.word("sl", -twipsFromPixels(format.lineHeight()));
        m_body.word("slmult", 0);
        break;
    case QTextBlockFormat::MinimumHeight:
        m_body.word("sl", twipsFromPixels(format.lineHeight()));
        m_body.word("slmult", 0);
        break;
    default: break;
    }
    const QTextFormat::PageBreakFlags breaks = format.pageBreakPolicy();
    if (std::exchange(m_breakBeforeNext, false) || breaks.testFlag(QTextFormat::PageBreak_AlwaysBefore))
        m_body.word("pagebb");
    m_breakBeforeNext = breaks.testFlag(QTextFormat::PageBreak_AlwaysAfter);
    if (const int background = colorIndex(format.background()))
        m_body.word("cbpat", background);
    writeCharacterProperties(block.charFormat());

    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat charFormat = fragment.charFormat();
        if (charFormat.isImageFormat()) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                writePicture(charFormat.toImageFormat());
            continue;
        }
        QString text = fragment.text();
        if (charFormat.hasProperty(kAddedBreakProperty)) {
            text.remove(QChar(0x200B)); // added only for layout
            if (text.isEmpty())
                continue;
        }
        m_body.raw("{");
        writeCharacterProperties(charFormat);
        m_body.text(text);
        m_body.raw("}");
    }
    m_paragraphOpen = true;
}

// The font goes to every script slot, so that Chinese text keeps its font too.
void Writer::writeCharacterProperties(const QTextCharFormat &format)
{
    m_body.word("plain");
    const int font = fontIndex(format);
    for (const char *script : {"loch", "hich", "dbch"}) {
        m_body.word(script);
        m_body.word("f", font);
    }
    qreal points = format.fontPointSize();
    if (points <= 0 && format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (points <= 0)
        points = m_document.defaultFont().pointSizeF();
    m_body.word("fs", std::clamp<qint64>(std::lround(points * 2), 2, kMaxHalfPoints));
    if (format.fontWeight() >= QFont::DemiBold)
        m_body.word("b");
    if (format.fontItalic())
        m_body.word("i");
    if (format.fontUnderline())
        m_body.word("ul");
    if (format.fontStrikeOut())
        m_body.word("strike");
    if (const int foreground = colorIndex(format.foreground()))
        m_body.word("cf", foreground);
    if (const int background = colorIndex(format.background())) {
        m_body.word("chshdng", 0);
        m_body.word("chcbpat", background);
        m_body.word("cb", background);
    }
}

void Writer::writePicture(const QTextImageFormat &format)
{
    const QImage image = imageOf(m_document.resource(QTextDocument::ImageResource, QUrl(format.name())));
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return;
    // A missing width or height follows the other one in the picture's proportions.
    qreal width = format.width();
    qreal height = format.height();
    if (width <= 0)
        width = height > 0 ? height * image.width() / image.height() : image.width();
    if (height <= 0)
        height = width * image.height() / image.width();

    m_body.raw("{");
    m_body.word("pict");
    m_body.word("pngblip");
    m_body.word("picw", image.width());
    m_body.word("pich", image.height());
    m_body.word("picwgoal", twipsFromPixels(width));
    m_body.word("pichgoal", twipsFromPixels(height));
    const QByteArray hex = png.toHex();
    for (qsizetype at = 0; at < hex.size(); at += kHexLineLength)
        m_body.raw("\n" + hex.mid(at, kHexLineLength));
    m_body.raw("}");
}

QString Writer::defaultFamily() const
{
    const QFont font = m_document.defaultFont();
    return font.families().value(0, font.family());
}

int Writer::fontIndex(const QTextCharFormat &format)
{
    QString family = format.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = format.stringProperty(QTextFormat::FontFamily);
    if (family.isEmpty())
        return 0;
    qsizetype index = m_fonts.indexOf(family);
    if (index < 0) {
        index = m_fonts.size();
        m_fonts.append(family);
    }
    return int(index);
}

int Writer::colorIndex(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = brush.color().rgb();
    qsizetype index = m_colors.indexOf(rgb);
    if (index < 0) {
        index = m_colors.size();
        m_colors.append(rgb);
    }
    return int(index) + 1;
}

// Font names in GBK like the text of a Chinese word processor's font table; a name GBK
// cannot hold goes as Unicode.
QByteArray Writer::header() const
{
    RtfStream out;
    out.raw("{");
    out.word("rtf1");
    out.word("ansi");
    out.word("ansicpg", 936);
    out.word("deff", 0);
    out.word("deflang", 1033);
    out.word("deflangfe", 2052);
    out.word("uc", 1);
    out.raw("\n{");
    out.word("fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const QString &family = m_fonts.at(i);
        out.raw("\n{");
        out.word("f", i);
        out.word("fnil");
        out.word("fcharset", isChineseFont(family) ? 134 : 0);
        if (const auto gbk = encodeGbkExactly(family))
            out.gbkText(*gbk + ';');
        else
            out.text(family + ';');
        out.raw("}");
    }
    out.raw("}\n{");
    out.word("colortbl");
    out.raw(";");
    for (const QRgb rgb : m_colors) {
        out.word("red", qRed(rgb));
        out.word("green", qGreen(rgb));
        out.word("blue", qBlue(rgb));
        out.raw(";");
    }
    out.raw("}\n{");
    out.word("*");
    out.word("generator");
    out.text(QStringLiteral("Pandrel;"));
    out.raw("}\n");
    // Qt does not stretch a justified line that ends in a line break; this asks word
    // processors not to either.
    out.word("expshrtn");
    out.word("paperw", kPaperWidth);
    out.word("paperh", kPaperHeight);
    for (const char *margin : {"margl", "margr", "margt", "margb"})
        out.word(margin, kPageMargin);
    return out.bytes();
}

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return Writer(document).write();
}
