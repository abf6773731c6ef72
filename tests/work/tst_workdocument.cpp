#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"
#include "document/DocumentStore.h"
#include "document/RichTextEditor.h"
#include "work/WorkBody.h"
#include "work/WorkListPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include "widgets/DataGrid.h"
#include "work/WorkItemEditor.h"
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

// The body of the work item shown on the work page: loaded with the current row, stored
// into the item it was loaded for.
class TestWorkDocument : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bodyFollowsTheCurrentItem();
    void leavingAnEmptyBodyStoresItForThatItem();
    void unchangedBodyDoesNotOverwriteLaterEdits();
    void storedBodiesThatAreNotBodies_data();
    void storedBodiesThatAreNotBodies();
    void savesIntoTheOwnerOnAnyPage();
    void failedSaveIsReported();
    void emptyListClearsTheEditor();
    void reloadOrMoveKeepsTheTyping_data();
    void reloadOrMoveKeepsTheTyping();
    void editingTheItemKeepsTheTyping();
    void editorShortcutsStayInTheEditor_data();
    void editorShortcutsStayInTheEditor();

private:
    void setBody(qint64 id, const QString &text);
    QString storedText(qint64 id);
    QString shownText() const { return m_page->m_documentEditor->m_textEdit->toPlainText(); }
    // What the user types over the whole body.
    void typeBody(const QString &text);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    WorkListPage *m_page = nullptr;
};

void TestWorkDocument::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral("Insert into TWork (ID, Title, WorkType, FinStu, ZY) values "
                                      "(1, '有正文', '办公事务', 1, 0), (2, '无正文', '办公事务', 1, 0), (3, '另一条', '办公事务', 2, 0)")));
    setBody(1, QStringLiteral("第一条的正文"));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>();
    QVERIFY(m_window->startUp());
    m_page = m_window->m_workPage;
}

void TestWorkDocument::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestWorkDocument::setBody(qint64 id, const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    QCOMPARE(workbody::save(m_folder->database(), id, document), workbody::SaveResult::Saved);
}

void TestWorkDocument::typeBody(const QString &text)
{
    QTextCursor cursor = m_page->m_documentEditor->m_textEdit->textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

QString TestWorkDocument::storedText(qint64 id)
{
    QTextDocument document;
    workbody::load(m_folder->database(), id, document);
    return document.toPlainText();
}

void TestWorkDocument::bodyFollowsTheCurrentItem()
{
    QCOMPARE(m_page->documentOwner(), 1);
    QCOMPARE(shownText(), QStringLiteral("第一条的正文"));

    m_page->workItems().locate(2);
    QCOMPARE(m_page->documentOwner(), 2);
    QCOMPARE(shownText(), QString());

    m_page->workItems().locate(1);
    QCOMPARE(shownText(), QStringLiteral("第一条的正文"));
}

void TestWorkDocument::leavingAnEmptyBodyStoresItForThatItem()
{
    m_page->workItems().locate(2);
    typeBody(QStringLiteral("第二条新写的"));
    typeBody(QString()); // typed and taken back: an empty document, changed

    m_page->saveCurrentDocument();

    QCOMPARE(storedText(2), QString());
    QVERIFY(m_folder->database().queryValue(QStringLiteral("Select length(Content) from TWork where ID=2")).toInt() > kNoBodyLimit);
    QCOMPARE(storedText(1), QStringLiteral("第一条的正文"));
}

void TestWorkDocument::unchangedBodyDoesNotOverwriteLaterEdits()
{
    setBody(1, QStringLiteral("在编辑窗口里改过")); // say, from the reminder's editor

    m_page->saveCurrentDocument(); // the page's editor still shows the old body, untouched

    QCOMPARE(storedText(1), QStringLiteral("在编辑窗口里改过"));
}

void TestWorkDocument::storedBodiesThatAreNotBodies_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("exactly ten bytes") << QByteArray("PDOC\x00\x01xxxx", 10);
    QTest::newRow("garbage") << QByteArray("this is not a document of ours at all");
}

void TestWorkDocument::storedBodiesThatAreNotBodies()
{
    QFETCH(QByteArray, content);
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set Content=? where ID=3"), {content}));

    m_page->workItems().locate(3);

    QCOMPARE(m_page->documentOwner(), 3);
    QVERIFY(m_page->m_documentEditor->document()->isEmpty());
}

void TestWorkDocument::savesIntoTheOwnerOnAnyPage()
{
    typeBody(QStringLiteral("改过的正文"));
    m_window->m_pageTabs->setCurrentIndex(MainWindow::HelpPage);
    m_page->workItems().locate(3); // the list moves while another page is shown: the editor stays

    m_page->saveCurrentDocument();

    QCOMPARE(storedText(1), QStringLiteral("改过的正文"));
    QCOMPARE(storedText(3), QString());
    m_window->m_pageTabs->setCurrentIndex(MainWindow::WorkPage);
    QCOMPARE(m_page->documentOwner(), 3); // coming back loads the current item
}

void TestWorkDocument::failedSaveIsReported()
{
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Create trigger keep before update of Content on TWork begin select raise(abort, 'kept'); end")));
    typeBody(QStringLiteral("存不进去"));

    m_page->saveCurrentDocument();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("存储参数发生错误！"));
    QCOMPARE(storedText(1), QStringLiteral("第一条的正文"));
}

void TestWorkDocument::emptyListClearsTheEditor()
{
    for (QCheckBox *state : {m_page->m_pendingCheck, m_page->m_inProgressCheck})
        state->setChecked(false);

    m_page->loadList();

    QVERIFY(m_page->m_documentEditor->document()->isEmpty());
    QCOMPARE(m_page->documentOwner(), -1);
    m_page->saveCurrentDocument(); // nobody to save into
    QCOMPARE(storedText(1), QStringLiteral("第一条的正文"));
}

void TestWorkDocument::reloadOrMoveKeepsTheTyping_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("全部") << "all states";
    QTest::newRow("type filter") << "type filter";
    QTest::newRow("another row") << "another row";
    QTest::newRow("state box") << "state box";
}

void TestWorkDocument::reloadOrMoveKeepsTheTyping()
{
    QFETCH(QString, action);
    typeBody(QStringLiteral("还没存的字"));

    // None of these takes the focus from the body: the buttons and boxes keep it.
    if (action == QLatin1String("all states")) {
        m_page->m_allStatesButton->click();
    } else if (action == QLatin1String("type filter")) {
        m_page->m_workTypeCombo->setCurrentIndex(1);
        emit m_page->m_workTypeCombo->activated(1);
    } else if (action == QLatin1String("another row")) {
        m_page->workItems().locate(2);
    } else {
        m_page->m_doneCheck->click();
    }

    QCOMPARE(storedText(1), QStringLiteral("还没存的字"));
}

void TestWorkDocument::editingTheItemKeepsTheTyping()
{
    typeBody(QStringLiteral("先打的字"));
    QString opened;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<WorkItemEditor *>(QApplication::activeModalWidget());
        QVERIFY(window);
        opened = window->m_bodyEditor->m_textEdit->toPlainText();
        window->m_bodyEditor->m_textEdit->setPlainText(QStringLiteral("窗口里改的"));
        window->m_saveButton->click();
    });

    m_page->m_editButton->click(); // as Alt+E does: the button runs, the focus stays in the body

    QCOMPARE(opened, QStringLiteral("先打的字"));
    QCOMPARE(storedText(1), QStringLiteral("窗口里改的"));
    QCOMPARE(shownText(), QStringLiteral("窗口里改的"));
}

void TestWorkDocument::editorShortcutsStayInTheEditor_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("list, Ctrl+X") << "list" << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("list, Ctrl+V") << "list" << QKeySequence(Qt::CTRL | Qt::Key_V);
    QTest::newRow("list, Ctrl+Z") << "list" << QKeySequence(Qt::CTRL | Qt::Key_Z);
    QTest::newRow("type filter, Ctrl+X") << "filter" << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("body, Ctrl+X") << "body" << QKeySequence(Qt::CTRL | Qt::Key_X);
}

void TestWorkDocument::editorShortcutsStayInTheEditor()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence, keys);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QApplication::clipboard()->setText(QStringLiteral("剪贴板"));
    typeBody(QStringLiteral("正文"));
    typeBody(QStringLiteral("正文内容")); // something to undo
    m_page->m_documentEditor->m_textEdit->selectAll();
    QWidget *target = focus == QLatin1String("list")     ? static_cast<QWidget *>(m_page->m_workGrid->view())
                      : focus == QLatin1String("filter") ? static_cast<QWidget *>(m_page->m_workTypeCombo)
                                                         : static_cast<QWidget *>(m_page->m_documentEditor->m_textEdit);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QTest::keySequence(target, keys);

    const QString expected = focus == QLatin1String("body") ? QString() : QStringLiteral("正文内容");
    QCOMPARE(shownText(), expected);
}

PANDREL_TEST_MAIN(TestWorkDocument)
#include "tst_workdocument.moc"
