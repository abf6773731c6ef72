#include "document/rtf/Rtf.h"

#include "document/DocumentBounds.h"

#include "document/rtf/RtfContent.h"
#include "document/rtf/RtfEncoding.h"
#include "document/rtf/RtfFlow.h"
#include "document/rtf/RtfFormats.h"
#include "document/rtf/RtfKeywords.h"
#include "document/rtf/RtfUnits.h"

#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

// Word processors nest a few dozen groups at most; deeper input is refused rather than
// followed with a stack that grows with it.
constexpr qsizetype kMaxGroupDepth = 256;
constexpr qsizetype kMaxKeywordLength = 32;
constexpr qint64 kMaxParameter = 1'000'000'000;
constexpr int kMaxPictureScale = 1000;

enum class Destination { Text, Skipped, FontTable, ColorTable, Picture };

struct GroupState
{
    Destination destination = Destination::Text;
    RtfCharacterProperties characters;
    RtfParagraphProperties paragraph;
    int unicodeSkip = 1;
};

struct PictureState
{
    const char *format = nullptr; // "png" or "jpeg"; metafiles and bitmaps are left out
    int goalWidth = 0;      // twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    QByteArray data;
    int highNibble = -1;
};

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Characters that would change the document's structure if inserted as text.
bool isInsertable(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 || u == u'\t') && u != 0x7F && u != QChar::ParagraphSeparator
           && u != QChar::ObjectReplacementCharacter && u != 0xFDD0 && u != 0xFDD1;
}

int clampedLength(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips);
}

class Parser
{
public:
    explicit Parser(const QByteArray &input) : m_input(input) {}

    // False for input that is not RTF or nests too deep. Truncated RTF is read as far as it goes.
    bool parse(RtfContent &content);

private:
    GroupState &group() { return m_groups.back(); }
    int parameterOr(int fallback) const { return m_hasParameter ? m_parameter : fallback; }
    bool toggle() const { return !m_hasParameter || m_parameter != 0; }

    bool openGroup();
    void closeGroup();
    void readControl();
    void controlWord(std::string_view word);
    void apply(RtfKeyword keyword);
    void controlSymbol(char symbol);
    void textByte(char byte);
    void skipBinary(qint64 length);

    int textCodePage() const;
    void flushBytes();
    void addText(const QString &text);

    void startFontEntry(int number);
    void finishFontEntry();
    void setColorComponent(int &component);
    void finishColorEntry();
    void addPicture();

    RtfParagraph takeParagraph();
    void endRow();
    void finish();

    const QByteArray &m_input;
    qsizetype m_position = 0;
    bool m_hasParameter = false;
    int m_parameter = 0;
    bool m_ignorableDestination = false;
    int m_fallbackToSkip = 0;
    QList<GroupState> m_groups;

    CodePageDecoder m_decoder;
    QByteArray m_pendingBytes;
    int m_codePage = 1252;
    RtfStyleTables m_tables;
    int m_fontNumber = 0;
    RtfFontEntry m_fontEntry;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorHasComponents = false;
    PictureState m_picture;
    PictureBudget m_pictureBudget;

    RtfContent m_content;
    RtfFlow m_flow;
    QList<RtfRun> m_runs;
    bool m_breakBeforeNext = false;
    RtfCellDefinition m_cellDefinition;
    bool m_borderSidePending = false;
};

bool Parser::parse(RtfContent &content)
{
    while (m_position < m_input.size() && QChar::isSpace(uchar(m_input.at(m_position))))
        ++m_position;
    if (!QByteArrayView(m_input).sliced(m_position).startsWith("{\\rtf"))
        return false;

    while (m_position < m_input.size()) {
        const char c = m_input.at(m_position++);
        if (c == '{') {
            if (!openGroup())
                return false;
        } else if (c == '}') {
            if (m_groups.size() == 1)
                break; // the end of the document; anything after it is not RTF
            closeGroup();
        } else if (c == '\\') {
            readControl();
        } else if (c != '\r' && c != '\n') {
            textByte(c);
        }
    }
    finish();
    content = std::move(m_content);
    return true;
}

bool Parser::openGroup()
{
    if (m_groups.size() >= kMaxGroupDepth)
        return false;
    flushBytes();
    m_fallbackToSkip = 0;
    m_groups.append(m_groups.isEmpty() ? GroupState() : m_groups.last());
    return true;
}

void Parser::closeGroup()
{
    flushBytes();
    m_fallbackToSkip = 0;
    m_ignorableDestination = false;
    const Destination closing = m_groups.takeLast().destination;
    if (closing == Destination::FontTable)
        finishFontEntry();
    if (closing == Destination::Picture && group().destination == Destination::Text)
        addPicture();
}

void Parser::readControl()
{
    if (m_position >= m_input.size())
        return;
    const char first = m_input.at(m_position);
    if (!isAsciiLetter(first)) {
        ++m_position;
        if (first != '\'') {
            controlSymbol(first);
            return;
        }
        int byte = 0;
        for (int digits = 0; digits < 2 && m_position < m_input.size(); ++digits) {
            const int value = hexValue(m_input.at(m_position));
            if (value < 0)
                break;
            byte = byte * 16 + value;
            ++m_position;
        }
        textByte(char(byte));
        return;
    }

    const qsizetype start = m_position;
    while (m_position < m_input.size() && isAsciiLetter(m_input.at(m_position)))
        ++m_position;
    const std::string_view word(m_input.constData() + start,
                                size_t(std::min(m_position - start, kMaxKeywordLength)));
    const bool negative = m_position + 1 < m_input.size() && m_input.at(m_position) == '-'
                          && isDigit(m_input.at(m_position + 1));
    if (negative)
        ++m_position;
    qint64 value = 0;
    m_hasParameter = false;
    while (m_position < m_input.size() && isDigit(m_input.at(m_position))) {
        m_hasParameter = true;
        value = std::min(value * 10 + (m_input.at(m_position++) - '0'), kMaxParameter);
    }
    m_parameter = int(negative ? -value : value);
    if (m_position < m_input.size() && m_input.at(m_position) == ' ')
        ++m_position;
    controlWord(word);
}

void Parser::controlWord(std::string_view word)
{
    flushBytes();
    if (word == "bin") {
        skipBinary(parameterOr(0));
        return;
    }
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    const bool ignorable = std::exchange(m_ignorableDestination, false);
    if (group().destination == Destination::Skipped)
        return;
    if (const auto character = rtfCharacterWord(word)) {
        addText(QString(QChar(*character)));
        return;
    }
    const auto keyword = rtfKeyword(word);
    if (ignorable && keyword != RtfKeyword::ShapePicture)
        group().destination = Destination::Skipped;
    else if (keyword)
        apply(*keyword);
}

void Parser::apply(RtfKeyword keyword)
{
    GroupState &state = group();
    RtfCharacterProperties &characters = state.characters;
    RtfParagraphProperties &paragraph = state.paragraph;
    const bool inText = state.destination == Destination::Text;
    using enum RtfKeyword;
    switch (keyword) {
    case FontTable: state.destination = Destination::FontTable; break;
    case ColorTable: state.destination = Destination::ColorTable; break;
    case Picture:
        state.destination = Destination::Picture;
        m_picture = {};
        break;
    case ShapePicture: break;
    case SkippedDestination: state.destination = Destination::Skipped; break;

    case AnsiCodePage: m_codePage = std::clamp(parameterOr(m_codePage), 0, 65535); break;
    case Ansi: m_codePage = 1252; break;
    case Mac: m_codePage = 10000; break;
    case Pc: m_codePage = 437; break;
    case Pca: m_codePage = 850; break;
    case DefaultFont: m_tables.defaultFont = parameterOr(0); break;

    case Paragraph:
    case Page:
        if (inText) {
            m_flow.addParagraph(takeParagraph(), paragraph.inTable);
            m_breakBeforeNext = keyword == Page;
        }
        break;
    case Cell:
        if (inText)
            m_flow.endCell(takeParagraph());
        break;
    case NestedCell: // a table inside a cell is read as the cell's paragraphs
        if (inText)
            m_flow.addParagraph(takeParagraph(), true);
        break;
    case Row:
        if (inText)
            endRow();
        break;

    case Unicode:
        addText(QString(QChar(char16_t(m_parameter & 0xFFFF))));
        m_fallbackToSkip = state.unicodeSkip;
        break;
    case UnicodeSkip: state.unicodeSkip = std::clamp(parameterOr(1), 0, 16); break;
    case Binary: break; // read before any keyword

    case ParagraphDefaults: paragraph = {}; break;
    case AlignLeft: paragraph.alignment = Qt::AlignLeft; break;
    case AlignRight: paragraph.alignment = Qt::AlignRight; break;
    case AlignCenter: paragraph.alignment = Qt::AlignHCenter; break;
    case AlignJustify: paragraph.alignment = Qt::AlignJustify; break;
    case LeftIndent: paragraph.leftIndent = clampedLength(m_parameter); break;
    case RightIndent: paragraph.rightIndent = clampedLength(m_parameter); break;
    case FirstLineIndent: paragraph.firstLineIndent = clampedLength(m_parameter); break;
    case SpaceBefore: paragraph.spaceBefore = clampedLength(m_parameter); break;
    case SpaceAfter: paragraph.spaceAfter = clampedLength(m_parameter); break;
    case LineSpacing: paragraph.lineSpacing = clampedLength(m_parameter); break;
    case LineMultiple: paragraph.lineMultiple = toggle(); break;
    case PageBreakBefore: paragraph.pageBreakBefore = toggle(); break;
    case InTable: paragraph.inTable = true; break;
    case ParagraphBackground: paragraph.background = m_parameter; break;

    case Plain: characters = {}; break;
    case Font:
        if (state.destination == Destination::FontTable)
            startFontEntry(m_parameter);
        else
            characters.font = m_parameter;
        break;
    case FontSize: characters.halfPoints = std::clamp(parameterOr(24), 1, kMaxHalfPoints); break;
    case Bold: characters.bold = toggle(); break;
    case Italic: characters.italic = toggle(); break;
    case Underline: characters.underline = toggle(); break;
    case UnderlineNone: characters.underline = false; break;
    case Strike: characters.strike = toggle(); break;
    case Foreground: characters.foreground = m_parameter; break;
    case Background: characters.background = m_parameter; break;
    case DoubleByteRun: characters.eastAsianRun = true; break;
    case SingleByteRun: characters.eastAsianRun = false; break;
    case AssociatedFont:
        if (characters.eastAsianRun)
            characters.eastAsian.font = m_parameter;
        break;
    case AssociatedFontSize:
        if (characters.eastAsianRun)
            characters.eastAsian.halfPoints = std::clamp(parameterOr(24), 1, kMaxHalfPoints);
        break;
    case AssociatedBold:
        if (characters.eastAsianRun)
            characters.eastAsian.bold = toggle();
        break;
    case AssociatedItalic:
        if (characters.eastAsianRun)
            characters.eastAsian.italic = toggle();
        break;

    case FontCharset: m_fontEntry.codePage = codePageOfCharset(m_parameter); break;
    case Red: setColorComponent(m_red); break;
    case Green: setColorComponent(m_green); break;
    case Blue: setColorComponent(m_blue); break;

    case RowDefaults:
        m_flow.rowDefinition = {};
        m_cellDefinition = {};
        break;
    case RowGap: m_flow.rowDefinition.gap = clampedLength(m_parameter); break;
    case RowLeft: m_flow.rowDefinition.left = clampedLength(m_parameter); break;
    case CellRight:
        m_cellDefinition.right = clampedLength(m_parameter);
        if (m_flow.rowDefinition.definitions.size() < kMaxRtfColumns)
            m_flow.rowDefinition.definitions.append(m_cellDefinition);
        m_cellDefinition = {};
        break;
    case MergeLeft: m_cellDefinition.mergesLeft = true; break;
    case MergeAbove: m_cellDefinition.continuesAbove = true; break;
    case CellBackground: m_cellDefinition.background = m_tables.color(m_parameter); break;
    case CellBorder: m_borderSidePending = true; break;
    case BorderNone: m_borderSidePending = false; break;
    case BorderLine:
        m_cellDefinition.bordered = m_cellDefinition.bordered || m_borderSidePending;
        m_borderSidePending = false;
        break;

    case PngBlip: m_picture.format = "png"; break;
    case JpegBlip: m_picture.format = "jpeg"; break;
    case PictureGoalWidth: m_picture.goalWidth = std::clamp(m_parameter, 0, kMaxTwips); break;
    case PictureGoalHeight: m_picture.goalHeight = std::clamp(m_parameter, 0, kMaxTwips); break;
    case PictureScaleX: m_picture.scaleX = std::clamp(m_parameter, 1, kMaxPictureScale); break;
    case PictureScaleY: m_picture.scaleY = std::clamp(m_parameter, 1, kMaxPictureScale); break;
    }
}

void Parser::controlSymbol(char symbol)
{
    flushBytes();
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    switch (symbol) {
    case '*': m_ignorableDestination = true; break;
    case '\\':
    case '{':
    case '}': m_pendingBytes.append(symbol); break;
    case '~': addText(QString(QChar(QChar::Nbsp))); break;
    case '_': addText(QStringLiteral("\u2011")); break;
    case '\r':
    case '\n':
        if (group().destination == Destination::Text)
            m_flow.addParagraph(takeParagraph(), group().paragraph.inTable);
        break;
    default: break; // optional hyphens, index subentries and unknown symbols
    }
}

void Parser::textByte(char byte)
{
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    m_ignorableDestination = false;
    switch (group().destination) {
    case Destination::Text: m_pendingBytes.append(byte); break;
    case Destination::FontTable:
        if (byte == ';')
            finishFontEntry();
        else
            m_pendingBytes.append(byte);
        break;
    case Destination::ColorTable:
        if (byte == ';')
            finishColorEntry();
        break;
    case Destination::Picture:
        if (const int value = hexValue(byte); value >= 0) {
            if (m_picture.highNibble < 0)
                m_picture.highNibble = value;
            else
                m_picture.data.append(char(std::exchange(m_picture.highNibble, -1) * 16 + value));
        }
        break;
    case Destination::Skipped: break;
    }
}

void Parser::skipBinary(qint64 length)
{
    const qsizetype available = std::clamp<qsizetype>(length, 0, m_input.size() - m_position);
    if (group().destination == Destination::Picture)
        m_picture.data.append(m_input.sliced(m_position, available));
    m_position += available;
}

int Parser::textCodePage() const
{
    const GroupState &state = m_groups.last();
    const int codePage = state.destination == Destination::FontTable ? m_fontEntry.codePage
                                                                      : m_tables.codePage(state.characters);
    return codePage > 0 ? codePage : m_codePage;
}

// Bytes are decoded together, as a character of a double-byte code page such as GBK comes
// as two \'xx escapes.
void Parser::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString text = m_decoder.decode(m_pendingBytes, textCodePage());
    m_pendingBytes.clear();
    addText(text);
}

void Parser::addText(const QString &text)
{
    if (group().destination == Destination::FontTable) {
        m_fontEntry.name += text;
        return;
    }
    if (group().destination != Destination::Text)
        return;
    QString insertable;
    std::copy_if(text.begin(), text.end(), std::back_inserter(insertable), isInsertable);
    if (insertable.isEmpty())
        return;
    const QTextCharFormat format = m_tables.charFormat(group().characters);
    if (!m_runs.isEmpty() && m_runs.last().format == format)
        m_runs.last().text += insertable;
    else
        m_runs.append({insertable, format});
}

void Parser::startFontEntry(int number)
{
    finishFontEntry();
    m_fontNumber = number;
}

void Parser::finishFontEntry()
{
    flushBytes();
    const QString name = m_fontEntry.name.trimmed();
    if (!name.isEmpty())
        m_tables.fonts[m_fontNumber] = {name, m_fontEntry.codePage};
    m_fontEntry = {};
}

void Parser::setColorComponent(int &component)
{
    component = std::clamp(m_parameter, 0, 255);
    m_colorHasComponents = true;
}

void Parser::finishColorEntry()
{
    m_tables.colors.append(m_colorHasComponents ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colorHasComponents = false;
}

void Parser::addPicture()
{
    const QImage image = m_picture.format ? m_pictureBudget.decode(m_picture.data, m_picture.format) : QImage();
    if (image.isNull())
        return;
    const auto size = [](int goal, int pixels, int scale) {
        return (goal > 0 ? pixelsFromTwips(goal) : qreal(pixels)) * scale / 100;
    };
    const QString name = QStringLiteral("rtf-picture-%1").arg(m_content.images.size() + 1);
    m_content.images.append({name, image});
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(size(m_picture.goalWidth, image.width(), m_picture.scaleX));
    format.setHeight(size(m_picture.goalHeight, image.height(), m_picture.scaleY));
    m_runs.append({QString(), format});
}

// Paragraph properties are those in force at the paragraph mark, as in word processors.
RtfParagraph Parser::takeParagraph()
{
    RtfParagraph paragraph{m_tables.blockFormat(group().paragraph),
                           m_tables.charFormat(group().characters), std::exchange(m_runs, {})};
    if (std::exchange(m_breakBeforeNext, false))
        paragraph.format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return paragraph;
}

void Parser::endRow()
{
    if (!m_runs.isEmpty() || m_flow.hasOpenCell())
        m_flow.endCell(takeParagraph());
    m_flow.endRow();
}

// Word processors end the last paragraph with a mark too, so what follows the last mark is a
// paragraph only when it holds something, or when \page asked for a new page before it. Table
// content left open by truncated input becomes a last row.
void Parser::finish()
{
    flushBytes();
    while (m_groups.size() > 1 && group().destination != Destination::Text)
        closeGroup();
    if (group().paragraph.inTable && !m_runs.isEmpty())
        endRow();
    const bool hasLast = !m_runs.isEmpty() || m_breakBeforeNext;
    m_content.items = m_flow.finish(hasLast ? std::optional(takeParagraph()) : std::nullopt);
}

} // namespace

bool readRtf(const QByteArray &rtf, QTextDocument &document)
{
    RtfContent content;
    const bool read = Parser(rtf).parse(content);
    buildRtfDocument(read ? content : RtfContent(), document);
    return read;
}
