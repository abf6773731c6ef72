#include "document/rtf/RtfFormats.h"

#include "document/rtf/RtfUnits.h"

RtfCharacterProperties RtfCharacterProperties::effective() const
{
    RtfCharacterProperties properties = *this;
    if (!eastAsianRun)
        return properties;
    if (eastAsian.font >= 0)
        properties.font = eastAsian.font;
    if (eastAsian.halfPoints > 0)
        properties.halfPoints = eastAsian.halfPoints;
    if (eastAsian.bold >= 0)
        properties.bold = eastAsian.bold;
    if (eastAsian.italic >= 0)
        properties.italic = eastAsian.italic;
    return properties;
}

QColor RtfStyleTables::color(int index) const
{
    return index >= 0 && index < colors.size() ? colors.at(index) : QColor();
}

const RtfFontEntry *RtfStyleTables::font(const RtfCharacterProperties &effective) const
{
    const auto found = fonts.find(effective.font >= 0 ? effective.font : defaultFont);
    return found == fonts.end() ? nullptr : &found->second;
}

int RtfStyleTables::codePage(const RtfCharacterProperties &properties) const
{
    const RtfFontEntry *entry = font(properties.effective());
    return entry ? entry->codePage : 0;
}

QTextCharFormat RtfStyleTables::charFormat(const RtfCharacterProperties &properties) const
{
    const RtfCharacterProperties effective = properties.effective();
    QTextCharFormat format;
    if (const RtfFontEntry *entry = font(effective))
        format.setFontFamilies({entry->name});
    format.setFontPointSize(effective.halfPoints / 2.0);
    if (effective.bold)
        format.setFontWeight(QFont::Bold);
    if (effective.italic)
        format.setFontItalic(true);
    if (effective.underline)
        format.setFontUnderline(true);
    if (effective.strike)
        format.setFontStrikeOut(true);
    if (const QColor foreground = color(effective.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = color(effective.background); background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat RtfStyleTables::blockFormat(const RtfParagraphProperties &properties) const
{
    QTextBlockFormat format;
    format.setAlignment(properties.alignment);
    format.setLeftMargin(pixelsFromTwips(properties.leftIndent));
    format.setRightMargin(pixelsFromTwips(properties.rightIndent));
    format.setTextIndent(pixelsFromTwips(properties.firstLineIndent));
    format.setTopMargin(pixelsFromTwips(properties.spaceBefore));
    format.setBottomMargin(pixelsFromTwips(properties.spaceAfter));
    const int spacing = properties.lineSpacing;
    if (spacing > 0 && properties.lineMultiple)
        format.setLineHeight(spacing * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else if (spacing > 0)
        format.setLineHeight(pixelsFromTwips(spacing), QTextBlockFormat::MinimumHeight);
    else if (spacing < 0)
        format.setLineHeight(pixelsFromTwips(-spacing), QTextBlockFormat::FixedHeight);
    if (properties.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (const QColor background = color(properties.background); background.isValid())
        format.setBackground(background);
    return format;
}
