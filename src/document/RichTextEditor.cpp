#include "document/RichTextEditor.h"

#include "data/ProgramFolder.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "document/DocumentBounds.h"
#include "document/DocumentStore.h"
#include "document/FindDialog.h"
#include "document/rtf/Rtf.h"
#include "document/TableCommands.h"
#include "document/ToolbarIcons.h"
#include "document/SpecialCharacterDialog.h"
#include "document/DocumentPreviewDialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextTable>
#include <QToolBar>
#include <QToolButton>
#include <QUuid>
#include <QVBoxLayout>

namespace {

constexpr int kIndentStep = 20;
constexpr int kIndentMax = 200;

QToolButton *toolButton(const QString &text, const QString &hint, bool checkable = false)
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(18, 18));
    return button;
}

QToolButton *iconButton(toolbaricons::Kind kind, const QString &hint, bool checkable = false)
{
    QToolButton *button = toolButton(QString(), hint, checkable);
    button->setIcon(toolbaricons::icon(kind));
    return button;
}

// The picture kinds the dialog offers, of those this machine can read: Qt reads no
// Windows metafiles (WMF, EMF), so offering them would only lead to an error.
QString readablePicturePatterns()
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const char *suffix : {"bmp", "wmf", "emf", "ico", "jpg", "jpeg", "png", "gif"}) {
        if (readable.contains(QByteArray(suffix)))
            patterns.append(QStringLiteral("*.") + QLatin1String(suffix));
    }
    return patterns.join(QLatin1Char(' '));
}

// The installed families, each once: fontconfig can list a family under several foundries
// ("Noto Sans CJK SC [GOOG]"), which all name the same font.
QStringList fontFamilies()
{
    QStringList families;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        if (foundry > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(foundry);
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    }
    families.removeDuplicates();
    return families;
}

// Pasted text gets its break opportunities in the same edit, before anything lays it out;
// copied text leaves them out.
class BodyTextEdit : public QTextEdit
{
protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        QTextCursor edit(document());
        edit.beginEditBlock();
        const int start = textCursor().selectionStart();
        QTextEdit::insertFromMimeData(source);
        addBreakOpportunities(*document(), start, textCursor().position());
        edit.endEditBlock();
    }

    QMimeData *createMimeDataFromSelection() const override
    {
        const QTextDocumentFragment selection = textCursor().selection();
        if (!selection.toPlainText().contains(QChar(0x200B)))
            return QTextEdit::createMimeDataFromSelection();
        QTextDocument copy;
        QTextCursor(&copy).insertFragment(selection);
        if (!removeAddedBreakOpportunities(copy))
            return QTextEdit::createMimeDataFromSelection();
        auto *data = new QMimeData;
        data->setHtml(copy.toHtml());
        data->setText(copy.toPlainText());
        return data;
    }
};

} // namespace

RichTextEditor::RichTextEditor(Variant variant, QWidget *parent)
    : QWidget(parent)
    , m_textEdit(new BodyTextEdit)
    , m_alignLeftButton(iconButton(toolbaricons::Kind::AlignLeft, tr("左停靠"), true))
    , m_centerButton(iconButton(toolbaricons::Kind::AlignCenter, tr("居中"), true))
    , m_alignRightButton(iconButton(toolbaricons::Kind::AlignRight, tr("右停靠"), true))
    , m_justifyButton(iconButton(toolbaricons::Kind::Justify, tr("两端对齐"), true))
    , m_indentLessButton(iconButton(toolbaricons::Kind::IndentLess, tr("减少缩进量")))
    , m_indentMoreButton(iconButton(toolbaricons::Kind::IndentMore, tr("增加缩进量")))
    , m_fontCombo(new QComboBox)
    , m_fontSizeCombo(new QComboBox)
    , m_boldButton(toolButton(QStringLiteral("B"), tr("粗体"), true))
    , m_italicButton(toolButton(QStringLiteral("I"), tr("斜体"), true))
    , m_underlineButton(toolButton(QStringLiteral("U"), tr("下划线"), true))
    , m_fontButton(toolButton(QStringLiteral("A"), tr("字体")))
    , m_textColorButton(iconButton(toolbaricons::Kind::TextColor, tr("文本颜色")))
    , m_contextMenu(new QMenu(this))
    , m_variant(variant)
    , m_alignment(new QButtonGroup(this))
{
    QFont bold = m_boldButton->font();
    bold.setBold(true);
    m_boldButton->setFont(bold);
    QFont italic = m_italicButton->font();
    italic.setItalic(true);
    m_italicButton->setFont(italic);
    QFont underline = m_underlineButton->font();
    underline.setUnderline(true);
    m_underlineButton->setFont(underline);
    if (variant == Variant::MainWindow)
        m_saveButton = iconButton(toolbaricons::Kind::Save, tr("保存文档"));

    m_textEdit->setAcceptRichText(true);
    m_textEdit->document()->setDefaultFont(defaultDocumentFont());
    m_textEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    m_textEdit->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(buildToolbar());
    layout->addWidget(m_textEdit, 1);
    buildMenu();

    connect(m_textEdit, &QTextEdit::currentCharFormatChanged, this, &RichTextEditor::syncFontControls);
    connect(m_textEdit, &QTextEdit::cursorPositionChanged, this, &RichTextEditor::syncAlignmentButtons);
    connect(m_textEdit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_contextMenu->popup(m_textEdit->viewport()->mapToGlobal(pos)); });
    clear();
}

QWidget *RichTextEditor::buildToolbar()
{
    int id = 0;
    for (QToolButton *button : {m_alignLeftButton, m_alignRightButton, m_centerButton, m_justifyButton})
        m_alignment->addButton(button, id++); // ids are the stored alignments: left 0, right 1, centre 2, justify 3
    m_alignLeftButton->setChecked(true);

    m_fontCombo->addItems(fontFamilies());
    m_fontCombo->setMaxVisibleItems(20);
    // Some styles open a list as tall as the screen and ignore the count above; this keeps
    // the usual drop-down list.
    m_fontCombo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_fontCombo->setMinimumContentsLength(16);
    m_fontCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_fontCombo->view()->setMinimumWidth(m_fontCombo->view()->sizeHintForColumn(0) + 24);
    m_fontSizeCombo->setEditable(true);
    m_fontSizeCombo->addItems({"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"});
    m_fontSizeCombo->setMinimumContentsLength(3);
    m_fontSizeCombo->setInsertPolicy(QComboBox::NoInsert);
    m_fontSizeCombo->lineEdit()->installEventFilter(this);

    // A tool bar shrinks with its pane: what does not fit goes behind its overflow button, so
    // the bar never holds the splitter beside it.
    auto *bar = new QToolBar;
    bar->setIconSize(QSize(18, 18));
    bar->setMovable(false);
    bar->setFloatable(false);
    for (QToolButton *button : {m_alignLeftButton, m_centerButton, m_alignRightButton, m_justifyButton, m_indentLessButton, m_indentMoreButton})
        bar->addWidget(button);
    bar->addSeparator();
    bar->addWidget(new QLabel(tr("字体")));
    bar->addWidget(m_fontCombo);
    bar->addWidget(new QLabel(tr("字体大小")));
    bar->addWidget(m_fontSizeCombo);
    for (QToolButton *button : {m_boldButton, m_italicButton, m_underlineButton, m_fontButton, m_textColorButton})
        bar->addWidget(button);
    if (m_saveButton)
        bar->addWidget(m_saveButton);

    connect(m_alignment, &QButtonGroup::idClicked, this, [this] { applyParaConversion(Alignment); });
    connect(m_indentMoreButton, &QToolButton::clicked, this, [this] { applyParaConversion(IndentMore); });
    connect(m_indentLessButton, &QToolButton::clicked, this, [this] { applyParaConversion(IndentLess); });
    connect(m_boldButton, &QToolButton::clicked, this, [this] { applyTextConversion(Bold); });
    connect(m_italicButton, &QToolButton::clicked, this, [this] { applyTextConversion(Italic); });
    connect(m_underlineButton, &QToolButton::clicked, this, [this] { applyTextConversion(Underline); });
    connect(m_fontButton, &QToolButton::clicked, this, [this] { applyTextConversion(FontDialog); });
    connect(m_textColorButton, &QToolButton::clicked, this, [this] { applyTextConversion(TextColor); });
    connect(m_fontCombo, &QComboBox::activated, this, [this] { applyTextConversion(FontName); });
    connect(m_fontSizeCombo, &QComboBox::activated, this, [this] { applyTextConversion(FontSize); });
    if (m_saveButton)
        connect(m_saveButton, &QToolButton::clicked, this, &RichTextEditor::saveRequested);
    return bar;
}

void RichTextEditor::buildMenu()
{
    QMenu *menu = m_contextMenu;
    menu->addAction(tr("撤消"), QKeySequence(Qt::CTRL | Qt::Key_Z), m_textEdit, &QTextEdit::undo);
    menu->addAction(tr("恢复"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), m_textEdit, &QTextEdit::redo);
    menu->addSeparator();
    menu->addAction(tr("剪切"), QKeySequence(Qt::CTRL | Qt::Key_X), m_textEdit, &QTextEdit::cut);
    menu->addAction(tr("拷贝"), QKeySequence(Qt::CTRL | Qt::Key_C), m_textEdit, &QTextEdit::copy);
    menu->addAction(tr("粘贴"), QKeySequence(Qt::CTRL | Qt::Key_V), m_textEdit, &QTextEdit::paste);
    menu->addAction(tr("删除"), this, [this] { m_textEdit->textCursor().removeSelectedText(); });
    menu->addSeparator();
    QMenu *spacing = menu->addMenu(tr("行距"));
    spacing->addAction(tr("单倍行距"), this, [this] { setLineSpacing(100); });
    spacing->addAction(tr("1.5倍行距"), this, [this] { setLineSpacing(150); });
    spacing->addAction(tr("双倍行距"), this, [this] { setLineSpacing(200); });
    menu->addSeparator();
    menu->addAction(tr("全选"), m_textEdit, &QTextEdit::selectAll);
    menu->addAction(tr("查找"), this, &RichTextEditor::showFindDialog);
    menu->addSeparator();
    menu->addAction(tr("插入图片"), this, &RichTextEditor::insertPicture);
    menu->addAction(tr("插入分页符"), this, &RichTextEditor::insertPageBreak);
    menu->addAction(tr("插入特殊字符"), this, &RichTextEditor::insertSpecialChar);
    if (m_variant == Variant::MainWindow) {
        QMenu *dates = menu->addMenu(tr("插入日期时间"));
        dates->addAction(tr("插入当前日期 如：2001年01月01日"), this, [this] { insertDateTime(ChineseDate); });
        dates->addAction(tr("插入当前日期 如：2001-01-01"), this, [this] { insertDateTime(IsoDate); });
        dates->addAction(tr("插入当前日期/时间 如：2001-01-01 23:59:59"), this, [this] { insertDateTime(IsoDateTime); });
    }
    menu->addSeparator();
    menu->addAction(tr("插入表格"), this, &RichTextEditor::insertTable);
    auto table = [this](QMenu *into, const QString &text, TableCommand command) {
        into->addAction(text, this, [this, command] { runTableCommand(command); });
    };
    QMenu *insert = menu->addMenu(tr("插入"));
    table(insert, tr("上一行"), RowAbove);
    table(insert, tr("下一行"), RowBelow);
    insert->addSeparator();
    table(insert, tr("左一列"), ColumnLeft);
    table(insert, tr("右一列"), ColumnRight);
    QMenu *remove = menu->addMenu(tr("删除"));
    table(remove, tr("行"), DeleteRows);
    table(remove, tr("列"), DeleteColumns);
    table(menu, tr("合并单元格"), Merge);
    QMenu *split = menu->addMenu(tr("撤分单元格"));
    table(split, tr("垂直撤分"), SplitVertically);
    table(split, tr("水平撤分"), SplitHorizontally);
    QMenu *unmerge = menu->addMenu(tr("取消合并"));
    table(unmerge, tr("行"), UnmergeRows);
    table(unmerge, tr("列"), UnmergeColumns);
    table(unmerge, tr("行以及列"), UnmergeBoth);
    menu->addSeparator();
    menu->addAction(tr("输出为Word文件"), this, &RichTextEditor::exportWord);
    menu->addAction(tr("打印"), this, &RichTextEditor::print);
    // The shortcuts work from the body and its toolbar, not only from the open menu; never
    // from the rest of the window, where Ctrl+X in a list would cut the body unseen.
    for (QAction *action : menu->actions())
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addActions(menu->actions());
}

QTextDocument *RichTextEditor::document() const
{
    return m_textEdit->document();
}

void RichTextEditor::clear()
{
    m_textEdit->clear();
    m_textEdit->setCurrentCharFormat(QTextCharFormat());
    syncFontControls(m_textEdit->currentCharFormat());
    syncAlignmentButtons();
}

void RichTextEditor::syncFontControls(const QTextCharFormat &format)
{
    m_updating = true;
    const QFont font = format.font().resolve(document()->defaultFont());
    const QString family = format.hasProperty(QTextFormat::FontFamilies) ? format.fontFamilies().toStringList().value(0)
                                                                         : document()->defaultFont().family();
    m_fontCombo->setCurrentIndex(m_fontCombo->findText(family));
    m_fontSizeCombo->setEditText(QString::number(qRound(font.pointSizeF())));
    m_boldButton->setChecked(font.bold());
    m_italicButton->setChecked(font.italic());
    m_underlineButton->setChecked(font.underline());
    m_updating = false;
}

void RichTextEditor::syncAlignmentButtons()
{
    const Qt::Alignment alignment = m_textEdit->textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    QToolButton *down = m_alignLeftButton;
    if (alignment & Qt::AlignRight)
        down = m_alignRightButton;
    else if (alignment & Qt::AlignHCenter)
        down = m_centerButton;
    else if (alignment & Qt::AlignJustify)
        down = m_justifyButton;
    down->setChecked(true);
}

void RichTextEditor::mergeFormat(const QTextCharFormat &change)
{
    // The selection, or the format typed next when nothing is selected: one undo step.
    m_textEdit->mergeCurrentCharFormat(change);
}

void RichTextEditor::focusEditorIfShown()
{
    if (isVisible())
        m_textEdit->setFocus();
}

void RichTextEditor::applyTextConversion(int conversion)
{
    QTextCharFormat change;
    switch (conversion) {
    case Bold: change.setFontWeight(m_boldButton->isChecked() ? QFont::Bold : QFont::Normal); break;
    case Italic: change.setFontItalic(m_italicButton->isChecked()); break;
    case Underline: change.setFontUnderline(m_underlineButton->isChecked()); break;
    case FontName:
        if (m_updating || m_fontCombo->currentIndex() < 0)
            return;
        change.setFontFamilies({m_fontCombo->currentText()});
        break;
    case FontDialog: {
        const std::optional<QFont> font = platform::prompter().font(m_textEdit->currentCharFormat().font());
        if (!font)
            return;
        change.setFont(*font);
        break;
    }
    case FontSize: {
        if (m_updating || m_fontSizeCombo->currentText().isEmpty())
            return;
        bool ok = false;
        const int size = m_fontSizeCombo->currentText().trimmed().toInt(&ok);
        change.setFontPointSize(ok && size > 0 ? size : 10);
        break;
    }
    case TextColor:
    case TextBackground: {
        const QTextCharFormat current = m_textEdit->currentCharFormat();
        const QColor initial = conversion == TextColor ? current.foreground().color() : current.background().color();
        const std::optional<QColor> color = platform::prompter().color(initial);
        if (!color)
            return;
        if (conversion == TextColor)
            change.setForeground(*color);
        else
            change.setBackground(*color);
        break;
    }
    default: return;
    }
    mergeFormat(change);
    if (conversion == FontName || conversion == FontSize)
        focusEditorIfShown();
}

void RichTextEditor::applyParaConversion(int conversion)
{
    QTextCursor cursor = m_textEdit->textCursor();
    QTextBlockFormat format = cursor.blockFormat();
    QTextBlockFormat change;
    switch (conversion) {
    case Alignment: {
        static const Qt::Alignment byId[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
        change.setAlignment(byId[std::clamp(m_alignment->checkedId(), 0, 3)]);
        break;
    }
    case IndentMore:
    case IndentLess:
        shiftIndent(cursor, conversion == IndentMore ? kIndentStep : -kIndentStep);
        return;
    case ParaBackground: {
        const std::optional<QColor> color = platform::prompter().color(format.background().color());
        if (!color)
            return;
        change.setBackground(*color);
        break;
    }
    default: return;
    }
    cursor.mergeBlockFormat(change);
}

void RichTextEditor::shiftIndent(QTextCursor cursor, int step)
{
    // Each selected paragraph moves from its own indent, all in one undo step.
    QTextDocument *doc = document();
    const QTextBlock last = doc->findBlock(std::max(cursor.selectionEnd(), cursor.selectionStart()));
    cursor.beginEditBlock();
    for (QTextBlock block = doc->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
        QTextCursor at(block);
        QTextBlockFormat change;
        change.setLeftMargin(std::clamp(block.blockFormat().leftMargin() + step, 0.0, double(kIndentMax)));
        at.mergeBlockFormat(change);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

void RichTextEditor::setLineSpacing(int percent)
{
    QTextBlockFormat change;
    change.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
    m_textEdit->textCursor().mergeBlockFormat(change);
}

void RichTextEditor::insertPicture()
{
    platform::Prompter::FileRequest request;
    request.title = tr("插入图片");
    request.filter = tr("图片文件 (%1);;All (*.*)").arg(readablePicturePatterns());
    const std::optional<QString> path = platform::prompter().openFileName(request);
    if (!path)
        return;
    const QImage image = QImageReader(*path).read();
    if (image.isNull()) {
        platform::prompter().message(tr("不能读取图片文件：") + QFileInfo(*path).fileName(),
                                     platform::Prompter::Icon::Error, tr("错误"));
        return;
    }
    if (pictureBytes(*document()) + image.sizeInBytes() > kMaxPictureBytes) {
        platform::prompter().message(tr("正文中的图片总量不能超过%1MB，不能插入这张图片！").arg(kMaxPictureBytes / (1024 * 1024)),
                                     platform::Prompter::Icon::Warning);
        return;
    }
    // The picture lives in the document itself, so the body stays whole when the file goes.
    const QString name = QStringLiteral("picture-%1.png").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    m_textEdit->textCursor().insertImage(format);
}

void RichTextEditor::insertPageBreak()
{
    // The break goes after the caret's paragraph, and the new paragraph starts without one,
    // so pressing Enter there does not break the page again.
    QTextCursor cursor = m_textEdit->textCursor();
    QTextBlockFormat next = cursor.blockFormat();
    QTextBlockFormat breakAfter;
    breakAfter.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    cursor.beginEditBlock();
    cursor.mergeBlockFormat(breakAfter);
    next.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    cursor.insertBlock(next);
    cursor.endEditBlock();
    m_textEdit->setTextCursor(cursor);
}

void RichTextEditor::insertSpecialChar()
{
    if (pickSpecialCharacter())
        m_textEdit->paste();
}

void RichTextEditor::insertDateTime(DateFormat format)
{
    static const char *const formats[] = {"yyyy年MM月dd日", "yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss"};
    const QString text = platform::clock().now().toString(QString::fromUtf8(formats[format]));
    QApplication::clipboard()->setText(text);
    m_textEdit->insertPlainText(text);
}

void RichTextEditor::insertTable()
{
    QTextCursor cursor = m_textEdit->textCursor();
    if (tableDepth(cursor) >= kMaxTableDepth) {
        platform::prompter().message(tr("表格最多只能嵌套%1层，不能再插入表格！").arg(kMaxTableDepth),
                                     platform::Prompter::Icon::Warning);
        return;
    }
    tablecommands::insertDefaultTable(cursor);
    m_textEdit->setTextCursor(cursor);
}

void RichTextEditor::runTableCommand(int command)
{
    QTextCursor cursor = m_textEdit->textCursor();
    if (!cursor.currentTable())
        return;
    auto askParts = [](const QString &title, const QString &label, int most) -> std::optional<int> {
        const std::optional<QString> answer = platform::prompter().inputText(title, label, QStringLiteral("2"));
        if (!answer)
            return std::nullopt;
        const int parts = answer->trimmed().toInt(); // 0 when it is not a number: nothing is split
        if (parts > most || (parts == 0 && answer->trimmed().toLongLong() > most)) {
            platform::prompter().message(tr("拆分的份数不能超过%1！").arg(most), platform::Prompter::Icon::Warning);
            return std::nullopt;
        }
        return parts;
    };
    switch (command) {
    case RowAbove: tablecommands::insertRowAbove(cursor); break;
    case RowBelow: tablecommands::insertRowBelow(cursor); break;
    case ColumnLeft: tablecommands::insertColumnLeft(cursor); break;
    case ColumnRight: tablecommands::insertColumnRight(cursor); break;
    case DeleteRows: tablecommands::deleteRows(cursor); break;
    case DeleteColumns: tablecommands::deleteColumns(cursor); break;
    case Merge: tablecommands::mergeCells(cursor); break;
    case UnmergeRows: tablecommands::unmergeCells(cursor, tablecommands::Unmerge::Rows); break;
    case UnmergeColumns: tablecommands::unmergeCells(cursor, tablecommands::Unmerge::Columns); break;
    case UnmergeBoth: tablecommands::unmergeCells(cursor, tablecommands::Unmerge::Both); break;
    case SplitVertically:
        if (const std::optional<int> parts = askParts(tr("垂直方向撤分"), tr("列数（左右选择的单元格）:"),
                                                          tablecommands::maxSplitPartsVertically(cursor)))
            tablecommands::splitVertically(cursor, *parts);
        break;
    case SplitHorizontally:
        if (const std::optional<int> parts = askParts(tr("水平方向撤分"), tr("行数（左右选择的单元格）:"),
                                                          tablecommands::maxSplitPartsHorizontally(cursor)))
            tablecommands::splitHorizontally(cursor, *parts);
        break;
    default: return;
    }
    m_textEdit->document()->setModified(true);
}

void RichTextEditor::showFindDialog()
{
    auto *dialog = findChild<FindDialog *>();
    if (!dialog) {
        dialog = new FindDialog(this);
        connect(dialog, &FindDialog::findNext, this, &RichTextEditor::findNext);
    }
    const QString selected = m_textEdit->textCursor().selectedText();
    if (!selected.isEmpty())
        dialog->m_textEdit->setText(selected);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

bool RichTextEditor::findNext(const QString &text, bool backward, bool matchCase, bool wholeWord)
{
    QTextDocument::FindFlags flags;
    if (backward)
        flags |= QTextDocument::FindBackward;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (m_textEdit->find(text, flags))
        return true;
    platform::prompter().message(tr("没有找到新的类似信息"), platform::Prompter::Icon::Warning, tr("搜索完毕！"));
    return false;
}

void RichTextEditor::exportWord()
{
    platform::Prompter::FileRequest request;
    request.title = tr("导出公告为Word文档");
    request.filter = tr("Word文档 (*.Doc)");
    request.defaultSuffix = QStringLiteral("Doc");
    const std::optional<QString> path = platform::prompter().saveFileName(request);
    if (!path)
        return;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writeRtf(*document())) < 0 || !file.commit())
        platform::prompter().message(tr("确认目标位置可读写！"), platform::Prompter::Icon::Error);
}

void RichTextEditor::print()
{
    const QString path = programFolder() + QStringLiteral("tmp.rvf");
    if (saveDocumentFile(*document(), path))
        previewDocument(path);
}

bool RichTextEditor::moveToNeighbourCell(bool backward)
{
    QTextCursor cursor = m_textEdit->textCursor();
    QTextTable *table = cursor.currentTable();
    if (!table)
        return false;
    const QTextTableCell current = table->cellAt(cursor);
    // Reading order, skipping the places that merged cells cover.
    int row = current.row();
    int column = current.column();
    const int step = backward ? -1 : 1;
    for (;;) {
        column += step;
        if (column >= table->columns()) {
            column = 0;
            ++row;
        } else if (column < 0) {
            column = table->columns() - 1;
            --row;
        }
        if (row < 0)
            return true; // before the first cell: the caret stays
        if (row >= table->rows()) {
            // Past the last cell the table grows by a row, as in a word processor.
            tablecommands::insertRowBelow(cursor);
            row = table->rows() - 1;
            column = 0;
        }
        const QTextTableCell cell = table->cellAt(row, column);
        if (cell.row() == row && cell.column() == column && cell != current) {
            m_textEdit->setTextCursor(cell.firstCursorPosition());
            return true;
        }
    }
}

bool RichTextEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_textEdit && event->type() == QEvent::FocusOut)
        emit editorExited();
    if (watched == m_textEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & Qt::ControlModifier)
            && moveToNeighbourCell(key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier)))
            return true;
    }
    if (watched == m_fontSizeCombo->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                applyTextConversion(FontSize);
                return true; // the key is used up here
            }
        } else if (event->type() == QEvent::FocusOut) {
            applyTextConversion(FontSize);
        }
    }
    return QWidget::eventFilter(watched, event);
}
