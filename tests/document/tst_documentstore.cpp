#include "TestMain.h"

#include "document/DocumentStore.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

// The stored form of the work items' bodies.
class TestDocumentStore : public QObject
{
    Q_OBJECT

private slots:
    void everyFeatureSurvivesTheRoundTrip();
    void emptyDocumentIsStillABody();
    void damagedDataGivesAnEmptyDocument_data();
    void damagedDataGivesAnEmptyDocument();
    void randomAndMutatedDataNeverCrash();

private:
    static void buildRichDocument(QTextDocument &document);
};

void TestDocumentStore::buildRichDocument(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextCharFormat heading;
    heading.setFontFamilies({QStringLiteral("Noto Serif CJK SC")});
    heading.setFontPointSize(18);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(180, 20, 20));
    heading.setBackground(QColor(250, 250, 200));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("季度销售总结 😀"), heading);

    QTextBlockFormat indented;
    indented.setLeftMargin(40);
    indented.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    indented.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    QTextCharFormat body;
    body.setFontItalic(true);
    body.setFontUnderline(true);
    cursor.insertBlock(indented);
    cursor.insertText(QStringLiteral("本季度完成合同额一百二十万元。"), body);

    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(QColor(20, 120, 200));
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture-1.png")), picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture-1.png"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertImage(image);

    QTextTable *table = cursor.insertTable(3, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("合并"));
    table->mergeCells(0, 0, 1, 2);
    table->cellAt(2, 2).firstCursorPosition().insertText(QStringLiteral("右下"));
}

void TestDocumentStore::everyFeatureSurvivesTheRoundTrip()
{
    QTextDocument original;
    buildRichDocument(original);

    QTextDocument loaded;
    QVERIFY(loadDocument(saveDocument(original), loaded));

    QCOMPARE(loaded.toPlainText(), original.toPlainText());
    const QTextBlock first = loaded.begin();
    QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat heading = first.begin().fragment().charFormat();
    QCOMPARE(heading.fontPointSize(), 18.0);
    QCOMPARE(heading.fontWeight(), int(QFont::Bold));
    QCOMPARE(heading.foreground().color(), QColor(180, 20, 20));
    QCOMPARE(heading.background().color(), QColor(250, 250, 200));
    QCOMPARE(heading.fontFamilies().toStringList().value(0), QStringLiteral("Noto Serif CJK SC"));

    const QTextBlock second = first.next();
    QCOMPARE(second.blockFormat().leftMargin(), 40.0);
    QCOMPARE(second.blockFormat().lineHeight(), 150.0);
    QCOMPARE(second.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysAfter);
    QVERIFY(second.begin().fragment().charFormat().fontItalic());
    QVERIFY(second.begin().fragment().charFormat().fontUnderline());

    const QTextCharFormat picture = second.next().begin().fragment().charFormat();
    QVERIFY(picture.isImageFormat());
    const QImage image = loaded.resource(QTextDocument::ImageResource, QUrl(picture.toImageFormat().name())).value<QImage>();
    QCOMPARE(image.size(), QSize(24, 16));
    QCOMPARE(QColor(image.pixel(3, 3)), QColor(20, 120, 200));

    QTextTable *table = QTextCursor(second.next().next()).currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 3);
    QCOMPARE(table->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(QTextCursor(table->cellAt(2, 2).firstCursorPosition()).block().text(), QStringLiteral("右下"));
}

void TestDocumentStore::emptyDocumentIsStillABody()
{
    QTextDocument empty;
    const QByteArray stored = saveDocument(empty);

    QVERIFY(stored.size() > kNoBodyLimit);
    QTextDocument loaded;
    loaded.setPlainText(QStringLiteral("旧内容"));
    QVERIFY(loadDocument(stored, loaded));
    QVERIFY(loaded.isEmpty());
}

void TestDocumentStore::damagedDataGivesAnEmptyDocument_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTextDocument document;
    document.setPlainText(QStringLiteral("一段正文"));
    const QByteArray good = saveDocument(document);

    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("ten bytes") << QByteArray("0123456789");
    QTest::newRow("another format") << QByteArray("{\\rtf1 not ours}");
    QTest::newRow("header only") << good.left(6);
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("other version") << QByteArray(good).replace(5, 1, "\x09");
    QByteArray huge = good.left(6) + QByteArray("\x7f\xff\xff\xff", 4) + good.mid(10);
    QTest::newRow("claims a gigantic size") << huge;
}

void TestDocumentStore::damagedDataGivesAnEmptyDocument()
{
    QFETCH(QByteArray, stored);
    QTextDocument document;
    document.setPlainText(QStringLiteral("旧内容"));

    QVERIFY(!loadDocument(stored, document));
    QVERIFY(document.isEmpty());
}

void TestDocumentStore::randomAndMutatedDataNeverCrash()
{
    QTextDocument rich;
    buildRichDocument(rich);
    const QByteArray good = saveDocument(rich);
    QRandomGenerator random(20261210);
    for (int round = 0; round < 300; ++round) {
        QByteArray data = good;
        switch (round % 3) {
        case 0:
            data.truncate(random.bounded(good.size()));
            break;
        case 1:
            for (int flips = 0; flips < 1 + random.bounded(8); ++flips)
                data[random.bounded(data.size())] = char(random.bounded(256));
            break;
        default:
            data = QByteArray(random.bounded(200), Qt::Uninitialized);
            for (char &byte : data)
                byte = char(random.bounded(256));
            if (round % 2)
                data.prepend(good.left(6));
        }
        QTextDocument document;
        loadDocument(data, document); // whatever it returns, it returns
    }
}

PANDREL_TEST_MAIN(TestDocumentStore)
#include "tst_documentstore.moc"
