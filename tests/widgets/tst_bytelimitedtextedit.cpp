#include "TestMain.h"

#include "widgets/ByteLimitedTextEdit.h"

#include <QClipboard>
#include <QInputMethodEvent>

// A ten-byte box: ASCII counts one byte, a Chinese character two.
class TestByteLimitedTextEdit : public QObject
{
    Q_OBJECT

private slots:
    void userInputIsCut_data();
    void userInputIsCut();
    void cutIsOneUndoStepWithThePaste();
    void programTextIsNotCut();
};

void TestByteLimitedTextEdit::userInputIsCut_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("after");

    QTest::newRow("typing stops at the limit") << "" << 0 << "type" << "abcdefghijkl" << "abcdefghij";
    QTest::newRow("never half a character") << "a" << 1 << "ime" << "中文字体设计" << "a中文字体";
    QTest::newRow("paste in the middle") << "ab\ncd" << 2 << "paste" << "一二三四" << "ab一二\ncd";
    QTest::newRow("new line counts one byte") << "abcdefghi" << 9 << "type" << "\r" << "abcdefghi\n";
    QTest::newRow("emoji is two bytes") << "abcdefgh" << 8 << "paste" << "😀x" << "abcdefgh😀";
}

void TestByteLimitedTextEdit::userInputIsCut()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, after);
    ByteLimitedTextEdit edit(10);
    edit.setPlainText(before);
    QTextCursor at = edit.textCursor();
    at.setPosition(cursor);
    edit.setTextCursor(at);

    if (how == QLatin1String("type")) {
        QTest::keyClicks(&edit, input);
    } else if (how == QLatin1String("ime")) {
        QInputMethodEvent commit;
        commit.setCommitString(input);
        QCoreApplication::sendEvent(&edit, &commit);
    } else {
        QGuiApplication::clipboard()->setText(input);
        edit.paste();
    }

    QCOMPARE(edit.toPlainText(), after);
}

void TestByteLimitedTextEdit::cutIsOneUndoStepWithThePaste()
{
    ByteLimitedTextEdit edit(10);
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QGuiApplication::clipboard()->setText(QStringLiteral("一二三四五"));
    edit.paste();
    QCOMPARE(edit.toPlainText(), QStringLiteral("abc一二三"));

    edit.undo();

    QCOMPARE(edit.toPlainText(), QStringLiteral("abc"));
}

void TestByteLimitedTextEdit::programTextIsNotCut()
{
    ByteLimitedTextEdit edit(10);
    const QString stored = QStringLiteral("一二三四五六七八");

    edit.setPlainText(stored);

    QCOMPARE(edit.toPlainText(), stored);
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.toPlainText(), stored); // still over the limit: nothing more goes in
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.toPlainText(), stored.chopped(1)); // shortening is always allowed
}

PANDREL_TEST_MAIN(TestByteLimitedTextEdit)
#include "tst_bytelimitedtextedit.moc"
