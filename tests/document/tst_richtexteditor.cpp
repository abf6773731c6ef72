#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "document/DocumentBounds.h"
#include "document/DocumentStore.h"
#include "document/RichTextEditor.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QAbstractItemView>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextTable>
#include <QToolButton>

// The document editor with its toolbar and menu, driven as the user drives it.
class TestRichTextEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuHasEveryCommand_data();
    void menuHasEveryCommand();
    void fontSizeBoxApplies_data();
    void fontSizeBoxApplies();
    void toolbarFollowsTheCaret();
    void boldAppliesToTheSelectionAsOneUndoStep();
    void indentStaysWithinItsLimits();
    void indentMovesEachParagraphFromItsOwn();
    void alignmentAndLineSpacing();
    void dateTimeGoesInAndOnTheClipboard_data();
    void dateTimeGoesInAndOnTheClipboard();
    void unreadablePictureIsReported();
    void pictureIsInserted();
    void picturesBeyondWhatABodyKeepsAreRefused();
    void tableCommandsWork();
    void tabMovesBetweenCells();
    void pictureDialogOffersReadableKinds();
    void fontBoxListsEachFamilyOnceInAUsualList();
    void splitAsksForTheParts();
    void pastedLongWordReadsBackTheSame_data();
    void pastedLongWordReadsBackTheSame();
    void splitPartsStayWithinTheTableBound_data();
    void splitPartsStayWithinTheTableBound();
    void tableDeeperThanTheBoundIsRefused();
    void findReportsTheEnd();
    void exportWritesRtf();

private:
    QString text() const { return m_editor->m_textEdit->toPlainText(); }
    void selectAll() { m_editor->m_textEdit->selectAll(); }

    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RichTextEditor> m_editor;
};

void TestRichTextEditor::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_editor = std::make_unique<RichTextEditor>(RichTextEditor::Variant::MainWindow);
    m_editor->resize(900, 500);
}

void TestRichTextEditor::cleanup()
{
    m_editor.reset();
    m_prompter.reset();
}

void TestRichTextEditor::menuHasEveryCommand_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("items");
    const QString before = QStringLiteral("撤消|恢复|-|剪切|拷贝|粘贴|删除|-|行距|-|全选|查找|-|插入图片|插入分页符|插入特殊字符|");
    const QString after = QStringLiteral("-|插入表格|插入|删除|合并单元格|撤分单元格|取消合并|-|输出为Word文件|打印");

    QTest::newRow("main window") << int(RichTextEditor::Variant::MainWindow) << before + QStringLiteral("插入日期时间|") + after;
    QTest::newRow("editor window") << int(RichTextEditor::Variant::EditorWindow) << before + after;
}

void TestRichTextEditor::menuHasEveryCommand()
{
    QFETCH(int, variant);
    QFETCH(QString, items);
    RichTextEditor editor{RichTextEditor::Variant(variant)};

    QStringList captions;
    for (QAction *action : editor.m_contextMenu->actions())
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions.join('|'), items);
    QCOMPARE(bool(editor.m_saveButton), variant == int(RichTextEditor::Variant::MainWindow));
    QCOMPARE(editor.m_contextMenu->actions().at(1)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
}

void TestRichTextEditor::fontSizeBoxApplies_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("size");

    QTest::newRow("a number") << "13" << 13.0;
    QTest::newRow("not a number") << "abc" << 10.0;
}

void TestRichTextEditor::fontSizeBoxApplies()
{
    QFETCH(QString, typed);
    QFETCH(double, size);
    m_editor->m_textEdit->setPlainText(QStringLiteral("一段文字"));
    selectAll();

    m_editor->m_fontSizeCombo->lineEdit()->setText(typed);
    QTest::keyClick(m_editor->m_fontSizeCombo->lineEdit(), Qt::Key_Return);

    QCOMPARE(m_editor->m_textEdit->textCursor().charFormat().fontPointSize(), size);
    QCOMPARE(text(), QStringLiteral("一段文字")); // the Enter key went no further
}

void TestRichTextEditor::toolbarFollowsTheCaret()
{
    QTextCursor cursor(m_editor->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(20);
    cursor.insertText(QStringLiteral("普通"));
    cursor.insertText(QStringLiteral("加粗"), bold);

    QTextCursor caret(m_editor->document());
    caret.setPosition(4); // inside the bold run
    m_editor->m_textEdit->setTextCursor(caret);
    QVERIFY(m_editor->m_boldButton->isChecked());
    QCOMPARE(m_editor->m_fontSizeCombo->currentText(), QStringLiteral("20"));

    caret.setPosition(1);
    m_editor->m_textEdit->setTextCursor(caret);
    QVERIFY(!m_editor->m_boldButton->isChecked());
    QCOMPARE(m_editor->m_fontSizeCombo->currentText(), QStringLiteral("12"));
    QCOMPARE(m_editor->document()->toPlainText(), QStringLiteral("普通加粗")); // following applied nothing back
}

void TestRichTextEditor::boldAppliesToTheSelectionAsOneUndoStep()
{
    m_editor->m_textEdit->setPlainText(QStringLiteral("重要通知"));
    selectAll();

    m_editor->m_boldButton->click();
    QCOMPARE(m_editor->document()->begin().begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    m_editor->document()->undo();

    QCOMPARE(m_editor->document()->begin().begin().fragment().charFormat().fontWeight(), int(QFont::Normal));
}

void TestRichTextEditor::indentStaysWithinItsLimits()
{
    m_editor->m_textEdit->setPlainText(QStringLiteral("缩进"));
    for (int i = 0; i < 12; ++i)
        m_editor->m_indentMoreButton->click();
    QCOMPARE(m_editor->m_textEdit->textCursor().blockFormat().leftMargin(), 200.0);
    for (int i = 0; i < 12; ++i)
        m_editor->m_indentLessButton->click();
    QCOMPARE(m_editor->m_textEdit->textCursor().blockFormat().leftMargin(), 0.0);
}

void TestRichTextEditor::indentMovesEachParagraphFromItsOwn()
{
    m_editor->m_textEdit->setPlainText(QStringLiteral("一\n二\n三"));
    auto margins = [this] {
        QList<qreal> list;
        for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next())
            list.append(block.blockFormat().leftMargin());
        return list;
    };
    QTextBlockFormat indented;
    indented.setLeftMargin(40);
    QTextCursor(m_editor->document()->findBlockByNumber(1)).mergeBlockFormat(indented);
    indented.setLeftMargin(200);
    QTextCursor(m_editor->document()->findBlockByNumber(2)).mergeBlockFormat(indented);
    selectAll();

    m_editor->m_indentMoreButton->click();
    QCOMPARE(margins(), (QList<qreal>{20, 60, 200}));
    m_editor->m_indentLessButton->click();
    m_editor->m_indentLessButton->click();
    QCOMPARE(margins(), (QList<qreal>{0, 20, 160}));
    m_editor->document()->undo(); // one step each
    QCOMPARE(margins(), (QList<qreal>{0, 40, 180}));
}

void TestRichTextEditor::alignmentAndLineSpacing()
{
    m_editor->m_textEdit->setPlainText(QStringLiteral("居中的段落"));
    m_editor->m_centerButton->click();
    QCOMPARE(m_editor->m_textEdit->textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QVERIFY(!m_editor->m_alignLeftButton->isChecked());

    m_editor->setLineSpacing(150);
    QCOMPARE(m_editor->m_textEdit->textCursor().blockFormat().lineHeight(), 150.0);
    QCOMPARE(m_editor->m_textEdit->textCursor().blockFormat().lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
}

void TestRichTextEditor::dateTimeGoesInAndOnTheClipboard_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Chinese date") << int(RichTextEditor::ChineseDate) << "2010年03月05日";
    QTest::newRow("ISO date") << int(RichTextEditor::IsoDate) << "2010-03-05";
    QTest::newRow("date and time") << int(RichTextEditor::IsoDateTime) << "2010-03-05 14:07:09";
}

void TestRichTextEditor::dateTimeGoesInAndOnTheClipboard()
{
    QFETCH(int, format);
    QFETCH(QString, expected);
    ManualClock clock(QDateTime(QDate(2010, 3, 5), QTime(14, 7, 9)));
    QApplication::clipboard()->setText(QStringLiteral("别的"));

    m_editor->insertDateTime(RichTextEditor::DateFormat(format));

    QCOMPARE(text(), expected);
    QCOMPARE(QApplication::clipboard()->text(), expected);
}

void TestRichTextEditor::unreadablePictureIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("坏图.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    m_prompter->answerText(path);

    m_editor->insertPicture();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("不能读取图片文件：坏图.jpg"));
    QCOMPARE(m_prompter->titles().last(), QStringLiteral("错误"));
    QCOMPARE(m_prompter->fileRequests().first().title, QStringLiteral("插入图片"));
    QVERIFY(m_editor->document()->isEmpty());
}

void TestRichTextEditor::pictureIsInserted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logo.bmp"));
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(path));
    m_prompter->answerText(path);

    m_editor->insertPicture();

    const QTextCharFormat format = m_editor->document()->begin().begin().fragment().charFormat();
    QVERIFY(format.isImageFormat());
    QVERIFY(QFile::remove(path)); // the document keeps its own copy
    const QImage kept = m_editor->document()->resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name())).value<QImage>();
    QCOMPARE(kept.size(), QSize(30, 20));
}

// A body keeps its pictures up to a decoded total; the editor lets no more in, so that nothing
// inserted is missing when the body is loaded again.
void TestRichTextEditor::picturesBeyondWhatABodyKeepsAreRefused()
{
    QTemporaryDir dir;
    const QString half = dir.filePath(QStringLiteral("half.png"));
    QImage image(4096, 4096, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QCOMPARE(image.sizeInBytes() * 2, kMaxPictureBytes);
    QVERIFY(image.save(half));
    image = QImage();
    const QString dot = dir.filePath(QStringLiteral("dot.png"));
    QVERIFY(QImage(1, 1, QImage::Format_RGB32).save(dot));

    m_prompter->answerText(half);
    m_editor->insertPicture();
    m_prompter->answerText(half);
    m_editor->insertPicture();
    QVERIFY(m_prompter->shown().isEmpty());
    m_prompter->answerText(dot);
    m_editor->insertPicture();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("正文中的图片总量不能超过128MB，不能插入这张图片！"));
    QCOMPARE(text(), QStringLiteral("\uFFFC\uFFFC"));
    QTextDocument reloaded;
    QVERIFY(loadDocument(saveDocument(*m_editor->document()), reloaded));
    QCOMPARE(pictureBytes(reloaded), kMaxPictureBytes);
}

void TestRichTextEditor::tableCommandsWork()
{
    m_editor->insertTable();
    QTextTable *table = m_editor->m_textEdit->textCursor().currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 10);
    QCOMPARE(table->columns(), 6);

    m_editor->runTableCommand(RichTextEditor::RowBelow);
    QCOMPARE(table->rows(), 11);

    // Every row selected: deleting the rows deletes the table.
    QTextCursor all = m_editor->m_textEdit->textCursor();
    all.setPosition(table->cellAt(0, 0).firstPosition());
    all.setPosition(table->cellAt(10, 5).firstPosition(), QTextCursor::KeepAnchor);
    m_editor->m_textEdit->setTextCursor(all);
    m_editor->runTableCommand(RichTextEditor::DeleteRows);
    QVERIFY(!QTextCursor(m_editor->document()).currentTable());
    QVERIFY(m_editor->document()->rootFrame()->childFrames().isEmpty());

    m_editor->runTableCommand(RichTextEditor::RowAbove); // outside a table: nothing
    QVERIFY(m_editor->document()->rootFrame()->childFrames().isEmpty());
}

void TestRichTextEditor::tabMovesBetweenCells()
{
    m_editor->insertTable();
    QTextTable *table = m_editor->m_textEdit->textCursor().currentTable();
    QVERIFY(table);
    auto caretCell = [&] {
        const QTextTableCell cell = table->cellAt(m_editor->m_textEdit->textCursor());
        return QPoint(cell.column(), cell.row());
    };
    auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(m_editor->m_textEdit, key, modifiers);
    };

    press(Qt::Key_Tab);
    QCOMPARE(caretCell(), QPoint(1, 0));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(caretCell(), QPoint(0, 0));
    press(Qt::Key_Backtab, Qt::ShiftModifier); // before the first cell: stays
    QCOMPARE(caretCell(), QPoint(0, 0));
    m_editor->m_textEdit->setTextCursor(table->cellAt(0, 5).firstCursorPosition());
    press(Qt::Key_Tab); // the end of a row goes on in the next
    QCOMPARE(caretCell(), QPoint(0, 1));
    m_editor->m_textEdit->setTextCursor(table->cellAt(9, 5).firstCursorPosition());
    press(Qt::Key_Tab); // the last cell adds a row
    QCOMPARE(table->rows(), 11);
    QCOMPARE(caretCell(), QPoint(0, 10));
    QVERIFY(!text().contains(QLatin1Char('\t')));

    m_editor->m_textEdit->setTextCursor(QTextCursor(m_editor->document()));
    m_editor->m_textEdit->moveCursor(QTextCursor::End); // outside the table Tab is a tab
    press(Qt::Key_Tab);
    QVERIFY(text().endsWith(QLatin1Char('\t')));
}

void TestRichTextEditor::pictureDialogOffersReadableKinds()
{
    m_prompter->answerCancel();

    m_editor->insertPicture();

    const QString filter = m_prompter->fileRequests().first().filter;
    for (const char *offered : {"*.bmp", "*.ico", "*.jpg", "*.png"})
        QVERIFY2(filter.contains(QLatin1String(offered)), offered);
    for (const char *unreadable : {"wmf", "emf"})
        QVERIFY2(!filter.contains(QLatin1String(unreadable), Qt::CaseInsensitive), unreadable);
}

void TestRichTextEditor::fontBoxListsEachFamilyOnceInAUsualList()
{
    QStringList families;
    for (int i = 0; i < m_editor->m_fontCombo->count(); ++i)
        families.append(m_editor->m_fontCombo->itemText(i));

    QVERIFY(families.contains(QStringLiteral("Noto Sans CJK SC")));
    QCOMPARE(QSet<QString>(families.begin(), families.end()).size(), families.size());
    QVERIFY(!families.join(QLatin1Char('|')).contains(QLatin1String(" [")));

    // The open list: a usual drop-down, not as tall as the screen, wide enough for the names.
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_editor->m_fontCombo->showPopup();
    QAbstractItemView *list = m_editor->m_fontCombo->view();
    QTRY_VERIFY(list->isVisible());
    const int rows = std::min(20, int(families.size()));
    QVERIFY(list->window()->height() <= list->sizeHintForRow(0) * rows + 16);
    QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
    m_editor->m_fontCombo->hidePopup();
}

void TestRichTextEditor::splitAsksForTheParts()
{
    m_editor->insertTable();
    QTextTable *table = m_editor->m_textEdit->textCursor().currentTable();
    m_prompter->answerText(QStringLiteral("3"));

    m_editor->runTableCommand(RichTextEditor::SplitVertically);

    QCOMPARE(m_prompter->titles().last(), QStringLiteral("垂直方向撤分"));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("列数（左右选择的单元格）:"));
    QCOMPARE(table->columns(), 8);
    m_prompter->answerCancel();
    m_editor->runTableCommand(RichTextEditor::SplitHorizontally);
    QCOMPARE(m_prompter->titles().last(), QStringLiteral("水平方向撤分"));
    QCOMPARE(table->rows(), 10);
}

// A word longer than layout can wrap in time gets break opportunities when pasted; saving and
// copying give back exactly what was pasted, and ordinary text gets none.
void TestRichTextEditor::pastedLongWordReadsBackTheSame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("broken"); // whether layout gets added break opportunities

    QTest::newRow("a word of 10 000 letters") << QString(10'000, u'a') << true;
    QTest::newRow("letters and surrogate pairs")
        << QStringLiteral("x") + QStringLiteral("𝐀").repeated(3000) << true;
    QTest::newRow("a long sentence with spaces")
        << QStringLiteral("word ").repeated(2000) << false;
    QTest::newRow("a long Chinese paragraph") << QStringLiteral("客户回访记录").repeated(1000) << false;
    QTest::newRow("a word at the bound") << QString(kLongestUnbrokenRun, u'b') << false;
}

void TestRichTextEditor::pastedLongWordReadsBackTheSame()
{
    QFETCH(QString, text);
    QFETCH(bool, broken);
    QApplication::clipboard()->setText(text);

    m_editor->m_textEdit->paste();

    QTextDocument *document = m_editor->m_textEdit->document();
    QCOMPARE(document->toPlainText().contains(QChar(0x200B)), broken);
    QTextDocument stored;
    QVERIFY(loadDocument(saveDocument(*document), stored));
    QVERIFY(stored.toPlainText().remove(QChar(0x200B)) == text);
    QVERIFY(removeAddedBreakOpportunities(stored) == broken);
    QVERIFY(stored.toPlainText() == text);
    selectAll();
    m_editor->m_textEdit->copy();
    QVERIFY(QApplication::clipboard()->text() == text);
    m_editor->m_textEdit->undo();
    QVERIFY(document->isEmpty());
}

// The editor's 10 × 6 table: splitting one cell may take the table to 64 columns, or to the
// rows that 10 000 cells of six columns allow.
void TestRichTextEditor::splitPartsStayWithinTheTableBound_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("parts");
    QTest::addColumn<QString>("message"); // empty when the split is made
    QTest::addColumn<int>("lines");       // columns or rows of the table afterwards

    const int vertically = RichTextEditor::SplitVertically;
    const int horizontally = RichTextEditor::SplitHorizontally;
    const QString mostColumns = QString::number(64 - 6 + 1);
    const QString mostRows = QString::number(kMaxDocumentCells / 6 - 10 + 1);
    QTest::newRow("columns up to 64") << vertically << mostColumns << QString() << 64;
    QTest::newRow("one column more") << vertically << QString::number(64 - 6 + 2)
                                     << QStringLiteral("拆分的份数不能超过%1！").arg(mostColumns) << 6;
    QTest::newRow("a hundred thousand columns") << vertically << QStringLiteral("100000")
                                                << QStringLiteral("拆分的份数不能超过%1！").arg(mostColumns) << 6;
    QTest::newRow("a number past any integer") << vertically << QStringLiteral("99999999999")
                                               << QStringLiteral("拆分的份数不能超过%1！").arg(mostColumns) << 6;
    QTest::newRow("rows up to the cell bound") << horizontally << mostRows << QString() << kMaxDocumentCells / 6;
    QTest::newRow("a hundred thousand rows") << horizontally << QStringLiteral("100000")
                                             << QStringLiteral("拆分的份数不能超过%1！").arg(mostRows) << 10;
}

void TestRichTextEditor::splitPartsStayWithinTheTableBound()
{
    QFETCH(int, command);
    QFETCH(QString, parts);
    QFETCH(QString, message);
    QFETCH(int, lines);
    m_editor->insertTable();
    QTextTable *table = m_editor->m_textEdit->textCursor().currentTable();
    m_prompter->answerText(parts);

    m_editor->runTableCommand(command);

    QCOMPARE(command == RichTextEditor::SplitVertically ? table->columns() : table->rows(), lines);
    if (message.isEmpty())
        QCOMPARE(m_prompter->shown().size(), 1);
    else
        QCOMPARE(m_prompter->shown().last(), message);
}

// A table in a table cell, and so on, up to the depth a stored body keeps; one more is refused.
void TestRichTextEditor::tableDeeperThanTheBoundIsRefused()
{
    for (int depth = 1; depth <= kMaxTableDepth; ++depth) {
        m_editor->insertTable();
        QVERIFY(m_editor->m_textEdit->textCursor().currentTable());
    }
    const int characters = m_editor->document()->characterCount();
    QVERIFY(m_prompter->shown().isEmpty());

    m_editor->insertTable();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("表格最多只能嵌套4层，不能再插入表格！"));
    QCOMPARE(m_editor->document()->characterCount(), characters);
    QTextDocument reloaded;
    QVERIFY(loadDocument(saveDocument(*m_editor->document()), reloaded));
    QCOMPARE(reloaded.characterCount(), characters);
}

void TestRichTextEditor::findReportsTheEnd()
{
    m_editor->m_textEdit->setPlainText(QStringLiteral("合同 Contract 合同"));
    m_editor->m_textEdit->moveCursor(QTextCursor::Start);

    QVERIFY(m_editor->findNext(QStringLiteral("合同"), false, false, false));
    QVERIFY(m_editor->findNext(QStringLiteral("合同"), false, false, false));
    QCOMPARE(m_editor->m_textEdit->textCursor().selectionStart(), 12);
    QVERIFY(!m_editor->findNext(QStringLiteral("合同"), false, false, false));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("没有找到新的类似信息"));
    QCOMPARE(m_prompter->titles().last(), QStringLiteral("搜索完毕！"));

    m_editor->m_textEdit->moveCursor(QTextCursor::Start);
    QVERIFY(!m_editor->findNext(QStringLiteral("contract"), false, true, false)); // case matters
    m_editor->m_textEdit->moveCursor(QTextCursor::End);
    QVERIFY(m_editor->findNext(QStringLiteral("合同"), true, false, false)); // backwards from the end
    QCOMPARE(m_editor->m_textEdit->textCursor().selectionStart(), 12);
}

void TestRichTextEditor::exportWritesRtf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("公告.Doc"));
    m_editor->m_textEdit->setPlainText(QStringLiteral("导出的正文"));
    m_prompter->answerText(path);

    m_editor->exportWord();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("{\\rtf1"));
    QCOMPARE(m_prompter->fileRequests().first().title, QStringLiteral("导出公告为Word文档"));
    QCOMPARE(m_prompter->fileRequests().first().defaultSuffix, QStringLiteral("Doc"));
}

PANDREL_TEST_MAIN(TestRichTextEditor)
#include "tst_richtexteditor.moc"
