#include "TestMain.h"

#include "document/DocumentBounds.h"
#include "document/DocumentStore.h"
#include "util/Compression.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDataStream>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtEndian>

#include <zlib.h>

namespace {

using Pictures = QList<std::pair<QString, QByteArray>>;

// A body in the stored form, built by hand so that it can hold what the program never writes.
QByteArray storedBody(const QString &html, const Pictures &pictures = {})
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << html << quint32(pictures.size());
    for (const auto &[name, bytes] : pictures)
        out << name << bytes;
    return QByteArrayLiteral("PDOC\x00\x01") + qCompress(payload);
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString nestedTables(int depth, const QString &innermost)
{
    return QStringLiteral("<table><tr><td>").repeated(depth) + innermost
           + QStringLiteral("</td></tr></table>").repeated(depth);
}

int deepestTable(const QTextDocument &document)
{
    int deepest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        int depth = 0;
        for (QTextFrame *frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame())
            depth += qobject_cast<QTextTable *>(frame) ? 1 : 0;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

// The names of the pictures the text shows, and whether each has a decoded image behind it.
QMap<QString, bool> shownPictures(const QTextDocument &document)
{
    QMap<QString, bool> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            pictures[name] = !document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>().isNull();
        }
    }
    return pictures;
}

// A loaded document must lay out: this is where deep tables and broken pictures used to hang.
void verifyLaysOut(QTextDocument &document)
{
    document.setPageSize(QSizeF(600, 800));
    QVERIFY(document.documentLayout()->documentSize().height() > 0);
    QVERIFY(deepestTable(document) <= kMaxTableDepth);
    for (const bool decoded : shownPictures(document))
        QVERIFY(decoded);
}

} // namespace

// The stored form of the work items' bodies.
class TestDocumentStore : public QObject
{
    Q_OBJECT

private slots:
    void everyFeatureSurvivesTheRoundTrip();
    void emptyDocumentIsStillABody();
    void plainBodiesAreStoredAsTheirDocumentWouldBe_data();
    void plainBodiesAreStoredAsTheirDocumentWouldBe();
    void compressionKeepsQtsForm_data();
    void compressionKeepsQtsForm();
    void damagedDataGivesAnEmptyDocument_data();
    void damagedDataGivesAnEmptyDocument();
    void inflatingStopsAtTheStatedSize_data();
    void inflatingStopsAtTheStatedSize();
    void onlyShownPicturesAreDecoded();
    void unusedPicturesArePassedOverUninflated_data();
    void unusedPicturesArePassedOverUninflated();
    void pictureBudgetBoundsTheTotal();
    void picturesThatDoNotDecodeAreDropped_data();
    void picturesThatDoNotDecodeAreDropped();
    void deepTablesAreFlattenedIntoTheirCell_data();
    void deepTablesAreFlattenedIntoTheirCell();
    void mutatedDataLoadsOrGivesAnEmptyDocument();
    void longWordsGetBreakOpportunitiesOnlyWhileShown();
    void contentPastTheBoundsIsKeptAsText_data();
    void contentPastTheBoundsIsKeptAsText();

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

// Plain bodies (imports, the sync) are written without a rich-text document; what is stored
// must be byte for byte what that document would have stored, and read back the same.
void TestDocumentStore::plainBodiesAreStoredAsTheirDocumentWouldBe_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("readsBackUnchanged"); // false where the document itself changes the text
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("one line") << QStringLiteral("带上报价单和样品") << true;
    QTest::newRow("lines and empty lines") << QStringLiteral("\n第一行\n\n\n第二行\n") << true;
    QTest::newRow("only line ends") << QStringLiteral("\n\n") << true;
    QTest::newRow("spaces and tabs") << QStringLiteral("  前面两个空格\t制表  后面 ") << true;
    QTest::newRow("lines of spaces only") << QStringLiteral("   \n \n\t\n") << true;
    QTest::newRow("markup characters") << QStringLiteral("<b>&amp;\"引号\"</b> 'a' > < &") << true;
    QTest::newRow("Latin and digits") << QStringLiteral("Tel: 010-12345678, ext. 5; e-mail: zhang@example.com") << true;
    QTest::newRow("many lines") << QStringLiteral("联系人：张经理\n").repeated(300) << true;
    // These go through the document; the classification must send them there.
    QTest::newRow("Windows line ends") << QStringLiteral("一\r\n二\r三") << false;
    QTest::newRow("line separator") << QStringLiteral("一\u2028二\u2029三") << false;
    QTest::newRow("no-break space") << QStringLiteral("一\u00a0二") << false;
    QTest::newRow("control character") << QStringLiteral("一\u0001二\u007f") << false;
    QTest::newRow("emoji") << QStringLiteral("签约了😀") << false;
    QTest::newRow("lone surrogate") << (QStringLiteral("半个") + QChar(0xD83D)) << false;
    QTest::newRow("frame and object marks") << QStringLiteral("一\ufdd0二\ufdd1三\ufffc") << false;
}

void TestDocumentStore::plainBodiesAreStoredAsTheirDocumentWouldBe()
{
    QFETCH(QString, plain);
    QFETCH(bool, readsBackUnchanged);
    QTextDocument document;
    document.setDefaultFont(defaultDocumentFont());
    document.setPlainText(plain);
    const QByteArray expected = saveDocument(document);

    const QByteArray stored = bodyOfPlainText(plain);
    QCOMPARE(stored, expected);
    if (readsBackUnchanged)
        QCOMPARE(storedDocumentText(stored), plain);
}

// Bodies and the index's copies of text are read by qUncompress in older versions and written
// by qCompress before: the same bytes both ways, and damage gives nothing.
void TestDocumentStore::compressionKeepsQtsForm_data()
{
    QTest::addColumn<QByteArray>("data");
    QRandomGenerator random(7);
    QByteArray noise(300'000, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("one byte") << QByteArray("x");
    QTest::newRow("text") << QStringLiteral("联系人：张经理, 电话 010-12345678\n").repeated(200).toUtf8();
    QTest::newRow("noise") << noise;
    QTest::newRow("zeros") << QByteArray(5'000'000, '\0');
}

void TestDocumentStore::compressionKeepsQtsForm()
{
    QFETCH(QByteArray, data);
    const QByteArray compressed = compression::compressed(data);
    QCOMPARE(compressed, qCompress(data, 6));
    QCOMPARE(compression::uncompressed(compressed), data);
    // The state kept between calls carries nothing over.
    QCOMPARE(compression::compressed(data), compressed);
    QCOMPARE(compression::uncompressed(qCompress(data, 6)), data);

    QVERIFY(compression::uncompressed(compressed.left(compressed.size() - 1)).isEmpty());
    QVERIFY(compression::uncompressed(compressed + QByteArray("more")).isEmpty());
    QByteArray lying = compressed;
    qToBigEndian(quint32(data.size() + 1), lying.data());
    QVERIFY(compression::uncompressed(lying).isEmpty());
    qToBigEndian(quint32(0xFFFFFFF0), lying.data());
    QVERIFY(compression::uncompressed(lying).isEmpty());
    QVERIFY(compression::uncompressed(compressed.left(3)).isEmpty());
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

// The size in front of the stream is ours and always true: a stream that gives more (the
// lying header of a 300 MB body) or less is damaged, and inflating never goes beyond it.
void TestDocumentStore::inflatingStopsAtTheStatedSize_data()
{
    QTest::addColumn<QByteArray>("stored");
    const QByteArray body = storedBody(QString(2'000'000, QLatin1Char('a')));
    const auto withStatedSize = [&](quint32 size) {
        QByteArray changed = body;
        qToBigEndian(size, changed.data() + 6);
        return changed;
    };
    QTest::newRow("states 64 bytes") << withStatedSize(64);
    QTest::newRow("states one byte too few") << withStatedSize(qFromBigEndian<quint32>(body.constData() + 6) - 1);
    QTest::newRow("states one byte too many") << withStatedSize(qFromBigEndian<quint32>(body.constData() + 6) + 1);
    QTest::newRow("states more than any body") << withStatedSize(0xFFFFFFF0);
}

void TestDocumentStore::inflatingStopsAtTheStatedSize()
{
    QFETCH(QByteArray, stored);
    QTextDocument document;
    document.setPlainText(QStringLiteral("旧内容"));

    QVERIFY(!loadDocument(stored, document));
    QVERIFY(document.isEmpty());
}

// A body listing a big picture many times decoded all of them, used or not.
void TestDocumentStore::onlyShownPicturesAreDecoded()
{
    Pictures pictures{{QStringLiteral("shown.png"), pngBytes(12, 8)}};
    for (int i = 0; i < 20; ++i)
        pictures.append({QStringLiteral("listed-%1.png").arg(i), pngBytes(300, 300)});
    QTextDocument document;

    QVERIFY(loadDocument(storedBody(QStringLiteral("<p>x<img src=\"shown.png\"></p>"), pictures), document));

    QCOMPARE(document.toPlainText(), QStringLiteral("x\uFFFC"));
    QCOMPARE(document.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("shown.png"))).value<QImage>().size(),
             QSize(12, 8));
    for (int i = 0; i < 20; ++i)
        QVERIFY(document.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("listed-%1.png").arg(i))).isNull());
}

// Pictures the text does not show are passed over as they are inflated, so even ones larger
// than a body could hold leave the shown picture after them loading; a body that lists such
// a picture as shown is refused.
void TestDocumentStore::unusedPicturesArePassedOverUninflated()
{
    QFETCH(bool, shown);
    const QString html = shown ? QStringLiteral("<p>x<img src=\"huge\"><img src=\"shown.png\"></p>")
                               : QStringLiteral("<p>x<img src=\"shown.png\"></p>");
    const QByteArray shownPng = pngBytes(12, 8);
    // 300 MB of one byte, deflated piece by piece so that the test never holds it.
    const qsizetype hugeSize = 300 * 1024 * 1024;
    QByteArray head;
    QDataStream out(&head, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << html << quint32(2) << QStringLiteral("huge") << quint32(hugeSize);
    QByteArray tail;
    QDataStream tailOut(&tail, QIODevice::WriteOnly);
    tailOut.setVersion(QDataStream::Qt_6_4);
    tailOut << QStringLiteral("shown.png") << shownPng;
    const qsizetype total = head.size() + hugeSize + tail.size();
    QByteArray stored = QByteArrayLiteral("PDOC\x00\x01");
    stored += char(total >> 24), stored += char(total >> 16), stored += char(total >> 8), stored += char(total);
    z_stream stream{};
    QCOMPARE(deflateInit(&stream, 6), Z_OK);
    QByteArray chunk(1024 * 1024, 'p');
    const auto feed = [&](const QByteArray &bytes, int flush) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
        stream.avail_in = uInt(bytes.size());
        char buffer[64 * 1024];
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            stored.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    for (qsizetype done = 0; done < hugeSize; done += chunk.size())
        feed(chunk, Z_NO_FLUSH);
    feed(tail, Z_FINISH);
    deflateEnd(&stream);
    QTextDocument document;

    QCOMPARE(loadDocument(stored, document), !shown);

    const QImage image = document.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("shown.png"))).value<QImage>();
    QCOMPARE(image.isNull(), shown);
    if (!shown)
        QCOMPARE(image.size(), QSize(12, 8));
}

void TestDocumentStore::unusedPicturesArePassedOverUninflated_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("not shown") << false;
    QTest::newRow("shown") << true;
}

// The size comes from the picture's header: a picture that would pass the budget is never
// decoded, and smaller ones after it still fit.
void TestDocumentStore::pictureBudgetBoundsTheTotal()
{
    PictureBudget budget(10 * 10 * 4 + 5 * 5 * 4);

    QCOMPARE(budget.decode(pngBytes(10, 10), "png").size(), QSize(10, 10));
    QVERIFY(budget.decode(pngBytes(6, 5), "png").isNull());
    QCOMPARE(budget.decode(pngBytes(5, 5), "png").size(), QSize(5, 5));
    QVERIFY(budget.decode(pngBytes(1, 1), "png").isNull());
    QVERIFY(PictureBudget().decode(pngBytes(1, 1), "jpeg").isNull());
}

// Damaged picture bytes before a table whose cell shows the same picture made Qt's layout of a
// bare document loop for ever. Pictures without decoded bytes behind them leave the text, so
// layout never meets them nor looks for them in files or data URLs.
void TestDocumentStore::picturesThatDoNotDecodeAreDropped_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("text");

    const QString damagedBeforeTable = QStringLiteral(
        "<img src=\"p.png\" width=\"100\"><table><tr><td>:<img src=\"p.png\" width=\"100\"></td></tr></table>");
    QTest::newRow("damaged bytes before a table")
        << storedBody(damagedBeforeTable, {{QStringLiteral("p.png"), QByteArray("\x89PNG damaged")}}) << QStringLiteral("\n:\n");
    QTest::newRow("no name, no bytes") << storedBody(QStringLiteral("<img width=\"0\"><td>:<img width=\"0\">"))
                                       << QStringLiteral("\n:\n");
    QTest::newRow("a file of this machine") << storedBody(QStringLiteral("a<img src=\"../../etc/passwd\">b"))
                                            << QStringLiteral("ab");
    QTest::newRow("a data address") << storedBody(QStringLiteral("a<img src=\"data:image/png;base64,")
                                                  + QString::fromLatin1(pngBytes(4, 4).toBase64()) + QStringLiteral("\">b"))
                                    << QStringLiteral("ab");
}

void TestDocumentStore::picturesThatDoNotDecodeAreDropped()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    QTextDocument document;

    QVERIFY(loadDocument(stored, document));

    QCOMPARE(document.toPlainText(), text);
    QVERIFY(shownPictures(document).isEmpty());
    verifyLaysOut(document);
}

// Layout time doubles with each level of tables in table cells (20 levels: 14 s; 3000 levels
// overflowed the stack). Deeper tables become the paragraphs of the cell at the bound.
void TestDocumentStore::deepTablesAreFlattenedIntoTheirCell_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("kept");

    QTest::newRow("at the bound") << kMaxTableDepth << kMaxTableDepth;
    QTest::newRow("one level beyond") << kMaxTableDepth + 1 << kMaxTableDepth;
    QTest::newRow("3000 levels") << 3000 << kMaxTableDepth;
}

void TestDocumentStore::deepTablesAreFlattenedIntoTheirCell()
{
    QFETCH(int, depth);
    QFETCH(int, kept);
    const QString innermost = QStringLiteral("<p>深处</p><p><b>粗</b>与<img src=\"p.png\"></p>");
    const QString html = QStringLiteral("<p>前</p>") + nestedTables(depth, innermost) + QStringLiteral("<p>后</p>");
    QTextDocument document;

    QVERIFY(loadDocument(storedBody(html, {{QStringLiteral("p.png"), pngBytes(3, 3)}}), document));

    QCOMPARE(deepestTable(document), kept);
    const QStringList blocks = document.toPlainText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(blocks, QStringList({"前", "深处", "粗与\uFFFC", "后"}));
    const QTextBlock deep = document.findBlock(document.toPlainText().indexOf(QStringLiteral("粗")));
    QCOMPARE(QTextCursor(deep).currentTable() != nullptr, true);
    QVERIFY(deep.begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    QCOMPARE(shownPictures(document).value(QStringLiteral("p.png")), true);
    verifyLaysOut(document);
}

// Damaged bodies either load into a document that lays out, or give an empty one. The seed is
// fixed so that a failure can be replayed.
void TestDocumentStore::mutatedDataLoadsOrGivesAnEmptyDocument()
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
        document.setPlainText(QStringLiteral("旧内容"));
        const QString replay = QStringLiteral("round %1").arg(round);
        if (!loadDocument(data, document)) {
            QVERIFY2(document.isEmpty(), qPrintable(replay));
            continue;
        }
        QVERIFY2(!document.toPlainText().contains(QStringLiteral("旧内容")), qPrintable(replay));
        verifyLaysOut(document);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(replay));
    }
}


namespace {

QString tableHtml(int rows, int columns)
{
    QString html = QStringLiteral("<table>");
    for (int row = 0; row < rows; ++row) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < columns; ++column)
            html += QStringLiteral("<td>c%1</td>").arg(row * columns + column);
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString paragraphsHtml(int count)
{
    QString html;
    for (int i = 0; i < count; ++i)
        html += QStringLiteral("<p>p%1</p>").arg(i);
    return html;
}

int cellCount(const QTextDocument &document)
{
    int cells = 0;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            cells += table->rows() * table->columns();
    }
    return cells;
}

} // namespace

// A word longer than layout wraps in time: shown with a zero-width space every so often,
// stored as it came.
void TestDocumentStore::longWordsGetBreakOpportunitiesOnlyWhileShown()
{
    const QString word(5 * kLongestUnbrokenRun, u'a');
    const QString html = QStringLiteral("<p>short one</p><p>") + word + QStringLiteral("</p>");
    QTextDocument document;

    QVERIFY(loadDocument(storedBody(html), document));

    const QString shown = document.lastBlock().text();
    QCOMPARE(shown.count(QChar(0x200B)), 4);
    QCOMPARE(QString(shown).remove(QChar(0x200B)), word);
    QCOMPARE(document.firstBlock().text(), QStringLiteral("short one"));
    QTextDocument bare;
    const QByteArray saved = saveDocument(document);
    QDataStream in(qUncompress(saved.mid(6)));
    in.setVersion(QDataStream::Qt_6_4);
    QString storedHtml;
    in >> storedHtml;
    bare.setHtml(storedHtml);
    QCOMPARE(bare.toPlainText(), QStringLiteral("short one\n") + word);
    verifyLaysOut(document);
}

void TestDocumentStore::contentPastTheBoundsIsKeptAsText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QString>("lastParagraph"); // the text of the document's last paragraph

    const int rows = kMaxDocumentCells / 5;
    QTest::newRow("a table at the cell bound loads whole")
        << tableHtml(rows, 5) + QStringLiteral("<p>end</p>") << kMaxDocumentCells << "end";
    QTest::newRow("the rows past the cell bound become text")
        << tableHtml(rows + 2, 5) + QStringLiteral("<p>end &amp; more</p>") << kMaxDocumentCells
        << QStringLiteral("c%1 c%2 c%3 c%4 c%5 c%6 c%7 c%8 c%9 c%10 end & more")
               .arg(rows * 5).arg(rows * 5 + 1).arg(rows * 5 + 2).arg(rows * 5 + 3).arg(rows * 5 + 4)
               .arg(rows * 5 + 5).arg(rows * 5 + 6).arg(rows * 5 + 7).arg(rows * 5 + 8).arg(rows * 5 + 9);
    QTest::newRow("paragraphs at the bound load whole")
        << paragraphsHtml(kMaxDocumentParagraphs) << 0 << QStringLiteral("p%1").arg(kMaxDocumentParagraphs - 1);
    QTest::newRow("the paragraphs past the bound become one")
        << paragraphsHtml(kMaxDocumentParagraphs + 3) << 0
        << QStringLiteral("p%1 p%2 p%3").arg(kMaxDocumentParagraphs).arg(kMaxDocumentParagraphs + 1)
               .arg(kMaxDocumentParagraphs + 2);
    QTest::newRow("text at the character bound loads whole")
        << QStringLiteral("<p>") + QString(kMaxDocumentCharacters, u'a') << 0 << QString(kMaxDocumentCharacters, u'a');
    QTest::newRow("text past the character bound is cut with a note")
        << QStringLiteral("<p>short</p><p>") + QString(kMaxOverflowCharacters + 10, u'b') << 0
        << QString(kMaxOverflowCharacters, u'b') + QStringLiteral("……（文档内容过多，其余部分没有载入）");
}

void TestDocumentStore::contentPastTheBoundsIsKeptAsText()
{
    QFETCH(QString, html);
    QFETCH(int, cells);
    QFETCH(QString, lastParagraph);

    QTextDocument document;
    QVERIFY(loadDocument(storedBody(html), document));
    QCOMPARE(cellCount(document), cells);
    QVERIFY(document.blockCount() <= kMaxDocumentParagraphs + 1);
    // Without the zero-width spaces that only help layout
    QVERIFY(document.lastBlock().text().remove(QChar(0x200B)) == lastParagraph);
    verifyLaysOut(document);
}

PANDREL_TEST_MAIN(TestDocumentStore)
#include "tst_documentstore.moc"
