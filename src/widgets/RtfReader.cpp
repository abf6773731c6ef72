#include "widgets/Rtf.h"

#include "widgets/RtfContent.h"
#include "widgets/RtfEncoding.h"
#include "widgets/RtfKeywords.h"
#include "widgets/RtfUnits.h"

#include <QTextDocument>

#include <algorithm>
#include <map>
#include <utility>

namespace {

// Word processors nest a few dozen groups at most; deeper input is refused rather than
// followed with a stack that grows with it.
constexpr qsizetype kMaxGroupDepth = 256;
constexpr qsizetype kMaxKeywordLength = 32;
constexpr qint64 kMaxParameter = 1'000'000'000;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxPictureScale = 1000;
// A row definition stays in force for the rows after it, so a few bytes per "\row" could
// otherwise make millions of cells.
constexpr int kMaxTableCells = 100'000;

enum class Destination { Text, Skipped, FontTable, ColorTable, Picture };

// What \af, \afs, \ab and \ai set after \dbch; unset values follow the plain ones.
struct EastAsianState
{
    int font = -1;
    int halfPoints = 0;
    int bold = -1;
    int italic = -1;
};

struct CharacterState
{
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // colour table indices; 0 is "automatic"
    int background = 0;
    bool eastAsianRun = false;
    EastAsianState eastAsian;

    // LibreOffice writes a Chinese run as "\dbch\afs40\ab\af7" and a Latin one as
    // "\fs40\b\f5\loch": the properties in force depend on the run's kind.
    CharacterState effective() const
    {
        CharacterState state = *this;
        if (!eastAsianRun)
            return state;
        if (eastAsian.font >= 0)
            state.font = eastAsian.font;
        if (eastAsian.halfPoints > 0)
            state.halfPoints = eastAsian.halfPoints;
        if (eastAsian.bold >= 0)
            state.bold = eastAsian.bold;
        if (eastAsian.italic >= 0)
            state.italic = eastAsian.italic;
        return state;
    }
};

struct ParagraphState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 240ths of a line with \slmult1, else twips (negative: exactly)
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool inTable = false;
    int background = 0;
};

struct GroupState
{
    Destination destination = Destination::Text;
    CharacterState characters;
    ParagraphState paragraph;
    int unicodeSkip = 1;
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct PictureState
{
    bool decodable = false; // PNG or JPEG; metafiles and bitmaps are left out
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

    QColor color(int index) const;
    QTextCharFormat charFormat(const CharacterState &state) const;
    QTextBlockFormat blockFormat(const ParagraphState &state) const;

    RtfParagraph takeParagraph();
    void endParagraph();
    void endCell();
    void endRow();
    void closeCell();
    void closeRow();
    void closeTable();
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
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    int m_fontNumber = 0;
    FontEntry m_fontEntry;
    QList<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorHasComponents = false;
    PictureState m_picture;

    RtfContent m_content;
    QList<RtfRun> m_runs;
    bool m_breakBeforeNext = false;
    QList<RtfParagraph> m_cellParagraphs;
    RtfRow m_rowDefinition;
    RtfCellDefinition m_cellDefinition;
    bool m_borderSidePending = false;
    QList<QList<RtfParagraph>> m_rowCells;
    QList<RtfRow> m_tableRows;
    int m_tableCells = 0;
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
    CharacterState &characters = state.characters;
    ParagraphState &paragraph = state.paragraph;
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
    case DefaultFont: m_defaultFont = parameterOr(0); break;

    case Paragraph:
        if (inText)
            endParagraph();
        break;
    case Page:
        if (inText) {
            endParagraph();
            m_breakBeforeNext = true;
        }
        break;
    case Cell:
        if (inText)
            endCell();
        break;
    case NestedCell: // a table inside a cell is read as the cell's paragraphs
        if (inText)
            m_cellParagraphs.append(takeParagraph());
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
        m_rowDefinition = {};
        m_cellDefinition = {};
        break;
    case RowGap: m_rowDefinition.gap = clampedLength(m_parameter); break;
    case RowLeft: m_rowDefinition.left = clampedLength(m_parameter); break;
    case CellRight:
        m_cellDefinition.right = clampedLength(m_parameter);
        if (m_rowDefinition.definitions.size() < kMaxRtfColumns)
            m_rowDefinition.definitions.append(m_cellDefinition);
        m_cellDefinition = {};
        break;
    case MergeLeft: m_cellDefinition.mergesLeft = true; break;
    case MergeAbove: m_cellDefinition.continuesAbove = true; break;
    case CellBackground: m_cellDefinition.background = color(m_parameter); break;
    case CellBorder: m_borderSidePending = true; break;
    case BorderNone: m_borderSidePending = false; break;
    case BorderLine:
        m_cellDefinition.bordered = m_cellDefinition.bordered || m_borderSidePending;
        m_borderSidePending = false;
        break;

    case PngBlip:
    case JpegBlip: m_picture.decodable = true; break;
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
            endParagraph();
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
    int codePage = m_fontEntry.codePage;
    if (state.destination != Destination::FontTable) {
        const int number = state.characters.effective().font;
        const auto font = m_fonts.find(number >= 0 ? number : m_defaultFont);
        codePage = font == m_fonts.end() ? 0 : font->second.codePage;
    }
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
    const QTextCharFormat format = charFormat(group().characters);
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
        m_fonts[m_fontNumber] = {name, m_fontEntry.codePage};
    m_fontEntry = {};
}

void Parser::setColorComponent(int &component)
{
    component = std::clamp(m_parameter, 0, 255);
    m_colorHasComponents = true;
}

void Parser::finishColorEntry()
{
    m_colors.append(m_colorHasComponents ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colorHasComponents = false;
}

void Parser::addPicture()
{
    const QImage image = m_picture.decodable ? QImage::fromData(m_picture.data) : QImage();
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

QColor Parser::color(int index) const
{
    return index >= 0 && index < m_colors.size() ? m_colors.at(index) : QColor();
}

QTextCharFormat Parser::charFormat(const CharacterState &runState) const
{
    const CharacterState state = runState.effective();
    QTextCharFormat format;
    const auto font = m_fonts.find(state.font >= 0 ? state.font : m_defaultFont);
    if (font != m_fonts.end())
        format.setFontFamilies({font->second.name});
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline)
        format.setFontUnderline(true);
    if (state.strike)
        format.setFontStrikeOut(true);
    if (const QColor foreground = color(state.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = color(state.background); background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat Parser::blockFormat(const ParagraphState &state) const
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    format.setLeftMargin(pixelsFromTwips(state.leftIndent));
    format.setRightMargin(pixelsFromTwips(state.rightIndent));
    format.setTextIndent(pixelsFromTwips(state.firstLineIndent));
    format.setTopMargin(pixelsFromTwips(state.spaceBefore));
    format.setBottomMargin(pixelsFromTwips(state.spaceAfter));
    if (state.lineSpacing > 0 && state.lineMultiple)
        format.setLineHeight(state.lineSpacing * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else if (state.lineSpacing > 0)
        format.setLineHeight(pixelsFromTwips(state.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (state.lineSpacing < 0)
        format.setLineHeight(pixelsFromTwips(-state.lineSpacing), QTextBlockFormat::FixedHeight);
    if (state.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (const QColor background = color(state.background); background.isValid())
        format.setBackground(background);
    return format;
}

// Paragraph properties are those in force at the paragraph mark, as in word processors.
RtfParagraph Parser::takeParagraph()
{
    RtfParagraph paragraph{blockFormat(group().paragraph), charFormat(group().characters),
                           std::exchange(m_runs, {})};
    if (std::exchange(m_breakBeforeNext, false))
        paragraph.format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return paragraph;
}

void Parser::endParagraph()
{
    const bool inTable = group().paragraph.inTable;
    RtfParagraph paragraph = takeParagraph();
    if (inTable) {
        m_cellParagraphs.append(std::move(paragraph));
        return;
    }
    closeTable();
    m_content.items.push_back(std::move(paragraph));
}

void Parser::endCell()
{
    m_cellParagraphs.append(takeParagraph());
    closeCell();
}

void Parser::endRow()
{
    if (!m_runs.isEmpty() || !m_cellParagraphs.isEmpty())
        endCell();
    closeRow();
}

void Parser::closeCell()
{
    if (m_rowCells.size() < kMaxRtfColumns)
        m_rowCells.append(m_cellParagraphs);
    m_cellParagraphs.clear();
}

void Parser::closeRow()
{
    if (m_rowCells.isEmpty() && m_rowDefinition.definitions.isEmpty())
        return;
    RtfRow row = m_rowDefinition;
    row.cells = std::exchange(m_rowCells, {});
    const int cells = int(std::max(row.cells.size(), row.definitions.size()));
    if (m_tableCells + cells > kMaxTableCells)
        return;
    m_tableCells += cells;
    m_tableRows.append(std::move(row));
}

void Parser::closeTable()
{
    if (!m_cellParagraphs.isEmpty())
        closeCell();
    if (!m_rowCells.isEmpty())
        closeRow();
    if (m_tableRows.isEmpty())
        return;
    m_content.items.push_back(RtfTable{std::exchange(m_tableRows, {})});
    m_tableCells = 0;
}

// What follows the last paragraph mark is the last paragraph, even when empty: it carries
// the formatting of the document's end. Table content left open by truncated input becomes
// a last row.
void Parser::finish()
{
    flushBytes();
    while (m_groups.size() > 1 && group().destination != Destination::Text)
        closeGroup();
    if (group().destination != Destination::Text)
        return;
    if (group().paragraph.inTable && !m_runs.isEmpty())
        endRow();
    closeTable();
    m_content.items.push_back(takeParagraph());
}

} // namespace

bool readRtf(const QByteArray &rtf, QTextDocument &document)
{
    RtfContent content;
    const bool read = Parser(rtf).parse(content);
    buildDocument(read ? content : RtfContent(), document);
    return read;
}
