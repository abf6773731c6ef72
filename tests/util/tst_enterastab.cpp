#include "TestMain.h"

#include "util/EnterAsTab.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// An editor window as the program builds them: one-line boxes, a disabled box the focus
// skips, a multi-line box and a grid, with Enter moving on through the window.
struct EditorWindow
{
    QWidget window;
    QLineEdit *name = new QLineEdit;
    QLineEdit *disabled = new QLineEdit;
    QPlainTextEdit *notes = new QPlainTextEdit;
    QTableWidget *grid = new QTableWidget(2, 2);
    QSpinBox *amount = new QSpinBox;
    QLineEdit *last = new QLineEdit;

    EditorWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *control : std::initializer_list<QWidget *>{name, disabled, notes, grid, amount, last})
            layout->addWidget(control);
        disabled->setEnabled(false);
        grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("甲")));
        new EnterAsTabFilter(&window);
    }

    QWidget *control(const QString &role) const
    {
        const QHash<QString, QWidget *> controls{{"name", name}, {"notes", notes}, {"grid", grid},
                                                 {"amount", amount}, {"last", last}};
        return controls.value(role);
    }
};

} // namespace

class TestEnterAsTab : public QObject
{
    Q_OBJECT

private slots:
    void movesFocusOnEnter_data();
    void movesFocusOnEnter();
    void gridCellEditorKeepsEnter();
    void ignoresOtherKeysAndNoControl();
};

void TestEnterAsTab::movesFocusOnEnter_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("notesText");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("line edit, skipping the disabled box") << "name" << int(Qt::Key_Return) << none << "notes" << "";
    QTest::newRow("keypad Enter in a spin box") << "amount" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "last" << "";
    QTest::newRow("last control wraps to the first") << "last" << int(Qt::Key_Return) << none << "name" << "";
    QTest::newRow("plain Enter adds a line") << "notes" << int(Qt::Key_Return) << none << "notes" << "\n";
    QTest::newRow("Ctrl+Enter leaves the multi-line box") << "notes" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << "grid" << "";
    QTest::newRow("grid keeps Enter") << "grid" << int(Qt::Key_Return) << none << "grid" << "";
}

void TestEnterAsTab::movesFocusOnEnter()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, to);
    QFETCH(QString, notesText);

    EditorWindow editor;
    editor.window.show();
    QApplication::setActiveWindow(&editor.window);
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    QWidget *start = editor.control(from);
    start->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), start);
    QSignalSpy returnPressed(editor.name, &QLineEdit::returnPressed);

    QTest::keyClick(start, Qt::Key(key), modifiers);

    QCOMPARE(QApplication::focusWidget(), editor.control(to));
    QCOMPARE(editor.notes->toPlainText(), notesText);
    // A key that moved the focus is swallowed: the box it left never sees it.
    QCOMPARE(returnPressed.count(), 0);
}

void TestEnterAsTab::gridCellEditorKeepsEnter()
{
    EditorWindow editor;
    editor.window.show();
    QApplication::setActiveWindow(&editor.window);
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    editor.grid->setFocus();
    editor.grid->setCurrentCell(0, 0);
    editor.grid->editItem(editor.grid->item(0, 0));
    auto *cellEditor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(cellEditor);
    cellEditor->setText(QStringLiteral("乙"));

    QTest::keyClick(cellEditor, Qt::Key_Return);

    QTRY_COMPARE(editor.grid->item(0, 0)->text(), QStringLiteral("乙"));
    QCOMPARE(QApplication::focusWidget(), editor.grid);
}

void TestEnterAsTab::ignoresOtherKeysAndNoControl()
{
    QLineEdit edit;
    QVERIFY(!moveFocusOnEnter(&edit, Qt::Key_Tab, Qt::NoModifier));
    QVERIFY(!moveFocusOnEnter(&edit, Qt::Key_A, Qt::NoModifier));
    QVERIFY(!moveFocusOnEnter(nullptr, Qt::Key_Return, Qt::NoModifier));
}

PANDREL_TEST_MAIN(TestEnterAsTab)
#include "tst_enterastab.moc"
