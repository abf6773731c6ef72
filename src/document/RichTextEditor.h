#pragma once

#include <QTextCharFormat>
#include <QTextCursor>
#include <QWidget>

class QButtonGroup;
class QComboBox;
class QMenu;
class QTextEdit;
class QToolButton;

// The document editor of the work items: a rich-text box with its formatting toolbar and
// its pop-up menu. The main window's copy also saves on demand and inserts dates.
class RichTextEditor : public QWidget
{
    Q_OBJECT
public:
    enum class Variant { MainWindow, EditorWindow };

    // The commands that change text and paragraph formats, as the toolbar applies them.
    enum TextConversion { Bold = 1, Italic, Underline, FontName, FontDialog, FontSize, TextColor, TextBackground };
    enum ParaConversion { Alignment = 1, IndentMore, IndentLess, ParaBackground };
    enum DateFormat { ChineseDate, IsoDate, IsoDateTime };
    enum TableCommand {
        RowAbove = 1, RowBelow, ColumnLeft, ColumnRight, DeleteRows, DeleteColumns, Merge,
        UnmergeRows, UnmergeColumns, UnmergeBoth, SplitVertically, SplitHorizontally
    };

    explicit RichTextEditor(Variant variant, QWidget *parent = nullptr);

    QTextDocument *document() const;
    // Empties the document and brings the toolbar in line with the default style.
    void clear();

    void applyTextConversion(int conversion);
    void applyParaConversion(int conversion);
    void setLineSpacing(int percent);
    void insertPicture();
    void insertPageBreak();
    void insertSpecialChar();
    void insertDateTime(DateFormat format);
    void insertTable();
    void runTableCommand(int command);
    // Opens the find dialog; findNext searches from the caret and reports the end of the search.
    void showFindDialog();
    bool findNext(const QString &text, bool backward, bool matchCase, bool wholeWord);
    void exportWord();
    void print();

    QTextEdit *m_textEdit;
    QToolButton *m_alignLeftButton;
    QToolButton *m_centerButton;
    QToolButton *m_alignRightButton;
    QToolButton *m_justifyButton;
    QToolButton *m_indentLessButton;
    QToolButton *m_indentMoreButton;
    QComboBox *m_fontCombo;
    QComboBox *m_fontSizeCombo;
    QToolButton *m_boldButton;
    QToolButton *m_italicButton;
    QToolButton *m_underlineButton;
    QToolButton *m_fontButton;
    QToolButton *m_textColorButton;
    QToolButton *m_saveButton = nullptr;  // the main window's copy only
    QMenu *m_contextMenu;

signals:
    void saveRequested();
    // The editor lost the input focus.
    void editorExited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildToolbar();
    void buildMenu();
    void syncFontControls(const QTextCharFormat &format);
    void syncAlignmentButtons();
    void mergeFormat(const QTextCharFormat &change);
    void shiftIndent(QTextCursor cursor, int step);
    // Tab and Shift+Tab in a table: to the next or previous cell; false outside a table.
    bool moveToNeighbourCell(bool backward);
    void focusEditorIfShown();

    Variant m_variant;
    QButtonGroup *m_alignment;
    bool m_updating = false; // the toolbar follows the caret: its lists must not apply back
};
