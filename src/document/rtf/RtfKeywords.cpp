#include "document/rtf/RtfKeywords.h"

#include <unordered_map>

namespace {

using enum RtfKeyword;

const std::unordered_map<std::string_view, RtfKeyword> &keywords()
{
    static const std::unordered_map<std::string_view, RtfKeyword> table = {
        {"fonttbl", FontTable}, {"colortbl", ColorTable}, {"pict", Picture},
        {"shppict", ShapePicture},
        // Groups whose text is not document text.
        {"stylesheet", SkippedDestination}, {"info", SkippedDestination},
        {"header", SkippedDestination}, {"headerl", SkippedDestination},
        {"headerr", SkippedDestination}, {"headerf", SkippedDestination},
        {"footer", SkippedDestination}, {"footerl", SkippedDestination},
        {"footerr", SkippedDestination}, {"footerf", SkippedDestination},
        {"footnote", SkippedDestination}, {"annotation", SkippedDestination},
        {"fldinst", SkippedDestination}, {"nonshppict", SkippedDestination},
        {"pn", SkippedDestination}, {"xe", SkippedDestination}, {"tc", SkippedDestination},
        {"txe", SkippedDestination}, {"rxe", SkippedDestination},
        {"ftnsep", SkippedDestination}, {"ftnsepc", SkippedDestination},
        {"ftncn", SkippedDestination}, {"aftnsep", SkippedDestination},
        {"aftnsepc", SkippedDestination}, {"aftncn", SkippedDestination},
        {"atnid", SkippedDestination}, {"atnauthor", SkippedDestination},
        {"listtable", SkippedDestination}, {"listoverridetable", SkippedDestination},
        {"revtbl", SkippedDestination}, {"rsidtbl", SkippedDestination},
        {"template", SkippedDestination}, {"filetbl", SkippedDestination},
        {"objdata", SkippedDestination}, {"objclass", SkippedDestination},
        {"falt", SkippedDestination}, {"panose", SkippedDestination},

        {"ansicpg", AnsiCodePage}, {"ansi", Ansi}, {"mac", Mac}, {"pc", Pc}, {"pca", Pca},
        {"deff", DefaultFont},

        {"par", Paragraph}, {"sect", Paragraph}, {"page", Page}, {"cell", Cell},
        {"nestcell", NestedCell}, {"row", Row},

        {"u", Unicode}, {"uc", UnicodeSkip}, {"bin", Binary},

        {"pard", ParagraphDefaults}, {"ql", AlignLeft}, {"qr", AlignRight}, {"qc", AlignCenter},
        {"qj", AlignJustify}, {"qd", AlignJustify}, {"li", LeftIndent}, {"lin", LeftIndent},
        {"ri", RightIndent}, {"rin", RightIndent}, {"fi", FirstLineIndent},
        {"sb", SpaceBefore}, {"sa", SpaceAfter}, {"sl", LineSpacing}, {"slmult", LineMultiple},
        {"pagebb", PageBreakBefore}, {"intbl", InTable}, {"cbpat", ParagraphBackground},

        {"plain", Plain}, {"f", Font}, {"fs", FontSize}, {"b", Bold}, {"i", Italic},
        {"ul", Underline}, {"uld", Underline}, {"uldash", Underline}, {"uldashd", Underline},
        {"uldashdd", Underline}, {"uldb", Underline}, {"ulhwave", Underline},
        {"ulldash", Underline}, {"ulth", Underline}, {"ulthd", Underline},
        {"ulthdash", Underline}, {"ulw", Underline}, {"ulwave", Underline},
        {"ululdbwave", Underline}, {"ulnone", UnderlineNone}, {"strike", Strike},
        {"striked", Strike}, {"cf", Foreground}, {"cb", Background}, {"chcbpat", Background},
        {"highlight", Background},

        {"dbch", DoubleByteRun}, {"loch", SingleByteRun}, {"hich", SingleByteRun},
        {"ltrch", SingleByteRun}, {"rtlch", SingleByteRun}, {"af", AssociatedFont},
        {"afs", AssociatedFontSize}, {"ab", AssociatedBold}, {"ai", AssociatedItalic},

        {"fcharset", FontCharset}, {"red", Red}, {"green", Green}, {"blue", Blue},

        {"trowd", RowDefaults}, {"trgaph", RowGap}, {"trleft", RowLeft}, {"cellx", CellRight},
        {"clmrg", MergeLeft}, {"clvmrg", MergeAbove}, {"clcbpat", CellBackground},
        {"clbrdrt", CellBorder}, {"clbrdrl", CellBorder}, {"clbrdrb", CellBorder},
        {"clbrdrr", CellBorder}, {"brdrnone", BorderNone}, {"brdrs", BorderLine},
        {"brdrth", BorderLine}, {"brdrsh", BorderLine}, {"brdrdb", BorderLine},
        {"brdrdot", BorderLine}, {"brdrdash", BorderLine}, {"brdrhair", BorderLine},
        {"brdrinset", BorderLine}, {"brdroutset", BorderLine}, {"brdrtriple", BorderLine},

        {"pngblip", PngBlip}, {"jpegblip", JpegBlip}, {"picwgoal", PictureGoalWidth},
        {"pichgoal", PictureGoalHeight}, {"picscalex", PictureScaleX},
        {"picscaley", PictureScaleY},
    };
    return table;
}

} // namespace

std::optional<RtfKeyword> rtfKeyword(std::string_view word)
{
    const auto found = keywords().find(word);
    return found == keywords().end() ? std::nullopt : std::optional(found->second);
}

std::optional<char16_t> rtfCharacterWord(std::string_view word)
{
    static const std::unordered_map<std::string_view, char16_t> characters = {
        {"tab", u'\t'},        {"line", u'\u2028'},      {"emdash", u'\u2014'},
        {"endash", u'\u2013'}, {"bullet", u'\u2022'},    {"lquote", u'\u2018'},
        {"rquote", u'\u2019'}, {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'},
        {"emspace", u'\u2003'}, {"enspace", u'\u2002'},  {"qmspace", u'\u2005'},
    };
    const auto found = characters.find(word);
    return found == characters.end() ? std::nullopt : std::optional(found->second);
}
