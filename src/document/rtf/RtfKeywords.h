#pragma once

#include <optional>
#include <string_view>

// The RTF control words the reader acts on. Any other word is ignored, and any other
// destination group marked ignorable (\*) is skipped whole.
enum class RtfKeyword {
    // destinations
    FontTable, ColorTable, Picture, ShapePicture, SkippedDestination,
    // document
    AnsiCodePage, Ansi, Mac, Pc, Pca, DefaultFont,
    // breaks
    Paragraph, Page, Cell, NestedCell, Row,
    // text that is not plain bytes
    Unicode, UnicodeSkip, Binary,
    // paragraph
    ParagraphDefaults, AlignLeft, AlignRight, AlignCenter, AlignJustify, LeftIndent, RightIndent,
    FirstLineIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, PageBreakBefore, InTable,
    ParagraphBackground,
    // character
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, Foreground, Background,
    // East Asian text: \dbch starts it, and the associated properties (\af, \afs, \ab, \ai)
    // given after \dbch apply to it
    DoubleByteRun, SingleByteRun, AssociatedFont, AssociatedFontSize, AssociatedBold,
    AssociatedItalic,
    // font and colour tables
    FontCharset, Red, Green, Blue,
    // table rows
    RowDefaults, RowGap, RowLeft, CellRight, MergeLeft, MergeAbove, CellBackground, CellBorder,
    BorderNone, BorderLine,
    // pictures
    PngBlip, JpegBlip, PictureGoalWidth, PictureGoalHeight, PictureScaleX, PictureScaleY,
};

std::optional<RtfKeyword> rtfKeyword(std::string_view word);
// The character a control word such as \tab or \emdash stands for.
std::optional<char16_t> rtfCharacterWord(std::string_view word);
