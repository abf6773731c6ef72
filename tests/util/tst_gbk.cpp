#include "TestMain.h"

#include "util/Gbk.h"

#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>

namespace {

const QString kEmoji = QStringLiteral("😀");
const QChar kLoneHighSurrogate(0xD83D);

// A user's change to the box: keys typed, a commit of the input method (how Chinese is
// typed), or the clipboard pasted. Queued corrections are let run before the result is read.
void userEnters(QLineEdit *edit, const QString &how, const QString &text)
{
    if (how == QLatin1String("type")) {
        QTest::keyClicks(edit, text);
    } else if (how == QLatin1String("ime")) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(edit, &commit);
    } else {
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    }
    QCoreApplication::processEvents();
}

} // namespace

class TestGbk : public QObject
{
    Q_OBJECT

private slots:
    void countsBytes_data();
    void countsBytes();
    void truncatesOnCharacterBoundary_data();
    void truncatesOnCharacterBoundary();
    void limitsLineEdit_data();
    void limitsLineEdit();
    void cutPasteIsOneUndoStep();
    void limitsComboBoxText();
};

void TestGbk::countsBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ASCII") << "abc 123" << 7;
    QTest::newRow("Chinese") << "中文" << 4;
    QTest::newRow("mixed") << "a中b文c" << 7;
    QTest::newRow("full-width punctuation") << "，！" << 4;
    QTest::newRow("GBK-only character") << "丂" << 2;
    QTest::newRow("euro sign is one byte in GBK") << "€" << 1;
    QTest::newRow("emoji outside GBK") << kEmoji << 2;
    QTest::newRow("emoji among text") << "a" + kEmoji + "中" << 5;
    QTest::newRow("lone surrogate") << QString(kLoneHighSurrogate) + "a" << 3;
    // Invisible, but outside GBK all the same: each takes the two-byte substitute.
    QTest::newRow("zero-width space") << QString(QChar(0x200B)) << 2;
    QTest::newRow("zero-width joiner") << QString(QChar(0x200D)) << 2;
    QTest::newRow("soft hyphen") << QString(QChar(0x00AD)) << 2;
    QTest::newRow("variation selector") << QString(QChar(0xFE0F)) << 2;
    QTest::newRow("byte-order mark") << "a" + QString(QChar(0xFEFF)) << 3;
}

void TestGbk::countsBytes()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(gbkByteLength(text), bytes);
    QCOMPARE(gbkEncode(text).size(), bytes);
}

void TestGbk::truncatesOnCharacterBoundary_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("truncated");

    QTest::newRow("fits exactly") << "ab中" << 4 << "ab中";
    QTest::newRow("cut between characters") << "中文abc" << 5 << "中文a";
    QTest::newRow("half a Chinese character left out") << "中文abc" << 3 << "中";
    QTest::newRow("half after ASCII left out") << "a中" << 2 << "a";
    QTest::newRow("emoji kept whole") << "a" + kEmoji + "b" << 3 << "a" + kEmoji;
    QTest::newRow("emoji not split") << "a" + kEmoji + "b" << 2 << "a";
    QTest::newRow("nothing fits") << "中" << 1 << "";
    QTest::newRow("zero bytes") << "abc" << 0 << "";
    QTest::newRow("negative limit") << "abc" << -1 << "";
}

void TestGbk::truncatesOnCharacterBoundary()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, truncated);
    QCOMPARE(gbkTruncate(text, maxBytes), truncated);
}

void TestGbk::limitsLineEdit_data()
{
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursor");

    QTest::newRow("typing stops at the limit") << 5 << "" << 0 << 0 << "type" << "abcdefg" << "abcde" << 5;
    QTest::newRow("Chinese typed into the last byte refused") << 5 << "abcd" << 4 << 0 << "ime" << "中" << "abcd" << 4;
    QTest::newRow("Chinese typed into two bytes") << 6 << "abcd" << 4 << 0 << "ime" << "中" << "abcd中" << 5;
    QTest::newRow("input method commit cut") << 6 << "ab" << 2 << 0 << "ime" << "中文字" << "ab中文" << 4;
    QTest::newRow("paste cut between characters") << 7 << "ab" << 2 << 0 << "paste" << "中文字" << "ab中文" << 4;
    QTest::newRow("paste keeps emoji whole") << 5 << "abc" << 3 << 0 << "paste" << kEmoji + kEmoji << "abc" + kEmoji << 5;
    QTest::newRow("paste drops emoji that does not fit") << 4 << "abc" << 3 << 0 << "paste" << kEmoji << "abc" << 3;
    QTest::newRow("paste into the middle") << 6 << "abcd" << 2 << 0 << "paste" << "中文" << "ab中cd" << 3;
    QTest::newRow("paste over a selection") << 6 << "abcdef" << 2 << 2 << "paste" << "中文字" << "ab中ef" << 3;
    QTest::newRow("paste starting like the selection") << 5 << "abcd" << 1 << 2 << "paste" << "bcxyz" << "abcxd" << 4;
    QTest::newRow("paste that fits is whole") << 8 << "ab" << 2 << 0 << "paste" << "中文字" << "ab中文字" << 5;
    QTest::newRow("invisible characters count too") << 4 << "ab" << 2 << 0 << "paste"
                                                    << QString(QChar(0x200B)) + QChar(0x200B) << "ab" + QString(QChar(0x200B)) << 3;
}

void TestGbk::limitsLineEdit()
{
    QFETCH(int, maxBytes);
    QFETCH(QString, before);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, how);
    QFETCH(QString, entered);
    QFETCH(QString, after);
    QFETCH(int, cursor);

    QLineEdit edit;
    setGbkByteLimit(&edit, maxBytes);
    edit.setText(before);
    edit.setSelection(selectionStart, selectionLength);
    userEnters(&edit, how, entered);

    QCOMPARE(edit.text(), after);
    QCOMPARE(edit.cursorPosition(), cursor);
    QVERIFY(gbkByteLength(edit.text()) <= maxBytes);
}

void TestGbk::cutPasteIsOneUndoStep()
{
    QLineEdit edit;
    setGbkByteLimit(&edit, 6);
    userEnters(&edit, QStringLiteral("type"), QStringLiteral("ab"));
    userEnters(&edit, QStringLiteral("paste"), QStringLiteral("中文字"));
    QCOMPARE(edit.text(), QStringLiteral("ab中文"));

    edit.undo();
    QCOMPARE(edit.text(), QStringLiteral("ab"));
    edit.redo();
    QCOMPARE(edit.text(), QStringLiteral("ab中文"));
}

void TestGbk::limitsComboBoxText()
{
    QComboBox combo;
    combo.setEditable(true);
    setGbkByteLimit(&combo, 4);
    QTest::keyClicks(&combo, QStringLiteral("abcdef"));
    QCOMPARE(combo.currentText(), QStringLiteral("abcd"));
}

PANDREL_TEST_MAIN(TestGbk)
#include "tst_gbk.moc"
