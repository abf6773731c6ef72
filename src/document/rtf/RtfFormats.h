#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <map>

// Character and paragraph properties as RTF sets them, and the Qt formats they stand for
// through the document's font and colour tables.

// What \af, \afs, \ab and \ai set after \dbch; unset values follow the plain properties.
struct RtfEastAsianProperties
{
    int font = -1;
    int halfPoints = 0;
    int bold = -1;
    int italic = -1;
};

struct RtfCharacterProperties
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
    RtfEastAsianProperties eastAsian;

    // LibreOffice writes a Chinese run as "\dbch\afs40\ab\af7" and a Latin one as
    // "\fs40\b\f5\loch": which properties are in force depends on the run's kind.
    RtfCharacterProperties effective() const;
};

struct RtfParagraphProperties
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

struct RtfFontEntry
{
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct RtfStyleTables
{
    std::map<int, RtfFontEntry> fonts;
    QList<QColor> colors; // an invalid colour for "automatic"
    int defaultFont = 0;

    QColor color(int index) const;
    // The code page of the run's font; 0 when the font names none.
    int codePage(const RtfCharacterProperties &properties) const;
    QTextCharFormat charFormat(const RtfCharacterProperties &properties) const;
    QTextBlockFormat blockFormat(const RtfParagraphProperties &properties) const;

private:
    const RtfFontEntry *font(const RtfCharacterProperties &effective) const;
};
