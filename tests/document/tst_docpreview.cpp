#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "document/DocumentStore.h"
#include "document/rtf/Rtf.h"
#include "document/DocumentPreviewDialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

// Each case: a temporary folder for the document files, scripted prompts and a preview
// window shown offscreen, so that fitting and paging work on a real viewport.
class TestDocPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void previewOpensOnlyExistingFiles_data();
    void previewOpensOnlyExistingFiles();
    void nameChoosesTheReader_data();
    void nameChoosesTheReader();
    void emptyDocumentHasNoPages();
    void pageButtons_data();
    void pageButtons();
    void zoom_data();
    void zoom();
    void zoomListAppliesChoiceAndTypedValue();
    void printWithoutPrinter_data();
    void printWithoutPrinter();

private:
    enum class Format { Native, Rtf };
    QString writeDocument(const QString &name, const QTextDocument &document, Format format) const;
    QString writeLongDocument(const QString &name = QStringLiteral("tmp.rvf"),
                              Format format = Format::Native) const;
    QPushButton *button(const QString &name) const;
    QString pageLabel() const { return m_window->m_pageLabel->text(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<DocumentPreviewDialog> m_window;
};

namespace {

const QString zoomRangeMessage = QStringLiteral("请输入数值 10 到 500");

// About four printed pages of Chinese text.
void fillLongText(QTextDocument &document)
{
    QTextCursor cursor(&document);
    for (int line = 1; line <= 180; ++line) {
        if (line > 1)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("第%1段：这是一段用于分页预览的中文文字。").arg(line));
    }
}

} // namespace

void TestDocPreview::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<DocumentPreviewDialog>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestDocPreview::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_dir.reset();
}

QString TestDocPreview::writeDocument(const QString &name, const QTextDocument &document, Format format) const
{
    const QString path = m_dir->filePath(name);
    if (format == Format::Native) {
        if (!saveDocumentFile(document, path))
            return {};
    } else {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(writeRtf(document)) <= 0)
            return {};
    }
    return path;
}

QString TestDocPreview::writeLongDocument(const QString &name, Format format) const
{
    QTextDocument document;
    fillLongText(document);
    return writeDocument(name, document, format);
}

QPushButton *TestDocPreview::button(const QString &name) const
{
    const QMap<QString, QPushButton *> buttons{{"第一页", m_window->m_firstPageButton}, {"前一页", m_window->m_previousPageButton},
                                               {"下一页", m_window->m_nextPageButton}, {"末页", m_window->m_lastPageButton}};
    return buttons.value(name);
}

void TestDocPreview::previewOpensOnlyExistingFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("missing file") << "missing.rvf" << false;
    QTest::newRow("folder, not a file") << "folder.rvf" << false;
    QTest::newRow("document") << "tmp.rvf" << true;
}

void TestDocPreview::previewOpensOnlyExistingFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    QVERIFY(!writeLongDocument().isEmpty());
    QVERIFY(QDir(m_dir->path()).mkdir("folder.rvf"));

    int shownPages = -1;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *window = qobject_cast<DocumentPreviewDialog *>(QApplication::activeModalWidget())) {
            closer.stop();
            shownPages = window->pageCount();
            QTest::mouseClick(window->m_closeButton, Qt::LeftButton);
        }
    });
    closer.start(10);

    previewDocument(m_dir->filePath(name));

    QCOMPARE(shownPages >= 3, opens);
    QCOMPARE(shownPages == -1, !opens);
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestDocPreview::nameChoosesTheReader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Format>("format");
    QTest::addColumn<bool>("readable");
    QTest::newRow("native .rvf") << "tmp.rvf" << Format::Native << true;
    QTest::newRow("native, upper case") << "TMP.RVF" << Format::Native << true;
    QTest::newRow("native, .rvf inside the name") << "body.rvf.bak" << Format::Native << true;
    QTest::newRow("rtf") << "letter.rtf" << Format::Rtf << true;
    QTest::newRow("rtf, any other name") << "letter" << Format::Rtf << true;
    QTest::newRow("native content named .rtf") << "letter.rtf" << Format::Native << false;
    QTest::newRow("rtf content named .rvf") << "letter.rvf" << Format::Rtf << false;
}

void TestDocPreview::nameChoosesTheReader()
{
    QFETCH(QString, name);
    QFETCH(Format, format);
    QFETCH(bool, readable);
    const QString path = writeLongDocument(name, format);
    QVERIFY(!path.isEmpty());

    // A file read with the wrong reader is an empty document, not a failure to open.
    QVERIFY(m_window->loadFile(path));
    QCOMPARE(m_window->pageCount() >= 3, readable);
    QCOMPARE(m_window->pageCount() == 0, !readable);
}

void TestDocPreview::emptyDocumentHasNoPages()
{
    const QString path = writeDocument("tmp.rvf", QTextDocument(), Format::Native);
    QVERIFY(m_window->loadFile(path));

    QCOMPARE(m_window->pageCount(), 0);
    QCOMPARE(m_window->m_preview->pageCount(), 0);
    QCOMPARE(pageLabel(), "0 / 0");
    for (const char *name : {"下一页", "末页", "前一页", "第一页"}) {
        QTest::mouseClick(button(name), Qt::LeftButton);
        QCOMPARE(pageLabel(), "0 / 0");
    }
}

void TestDocPreview::pageButtons_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<int>("expected"); // counted from the end when negative: -1 is the last page

    QTest::newRow("opens on the first page") << QStringList{} << 1;
    QTest::newRow("previous on the first page stays") << QStringList{"前一页"} << 1;
    QTest::newRow("next") << QStringList{"下一页", "下一页"} << 3;
    QTest::newRow("last") << QStringList{"末页"} << -1;
    QTest::newRow("next on the last page stays") << QStringList{"末页", "下一页"} << -1;
    QTest::newRow("previous from the last") << QStringList{"末页", "前一页"} << -2;
    QTest::newRow("first from the last") << QStringList{"末页", "第一页"} << 1;
}

void TestDocPreview::pageButtons()
{
    QFETCH(QStringList, presses);
    QFETCH(int, expected);
    QVERIFY(m_window->loadFile(writeLongDocument()));
    const int pages = m_window->pageCount();
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));

    for (const QString &name : presses)
        QTest::mouseClick(button(name), Qt::LeftButton);

    const int page = expected > 0 ? expected : pages + 1 + expected;
    QCOMPARE(m_window->currentPage(), page);
    QCOMPARE(m_window->m_preview->currentPage(), page);
    QCOMPARE(pageLabel(), QStringLiteral("%1 / %2").arg(page).arg(pages));
}

void TestDocPreview::zoom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPrintPreviewWidget::ZoomMode>("mode");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("refused");

    using Mode = QPrintPreviewWidget::ZoomMode;
    // Each case starts at 150%.
    QTest::newRow("list step") << "200%" << Mode::CustomZoom << 200 << false;
    QTest::newRow("typed, spaces around") << " 75 " << Mode::CustomZoom << 75 << false;
    QTest::newRow("lowest") << "10%" << Mode::CustomZoom << 10 << false;
    QTest::newRow("highest") << "500" << Mode::CustomZoom << 500 << false;
    QTest::newRow("page width") << "自适应页宽" << Mode::FitToWidth << 150 << false;
    QTest::newRow("whole page, spaces around") << " 整页显示 " << Mode::FitInView << 150 << false;
    QTest::newRow("too small") << "5%" << Mode::CustomZoom << 150 << true;
    QTest::newRow("just too small") << "9" << Mode::CustomZoom << 150 << true;
    QTest::newRow("too big") << "600" << Mode::CustomZoom << 150 << true;
    QTest::newRow("just too big") << "501%" << Mode::CustomZoom << 150 << true;
    QTest::newRow("no number") << "abc" << Mode::CustomZoom << 150 << true;
    QTest::newRow("only one % removed") << "75%%" << Mode::CustomZoom << 150 << true;
    QTest::newRow("empty") << "" << Mode::CustomZoom << 150 << true;
}

void TestDocPreview::zoom()
{
    QFETCH(QString, text);
    QFETCH(QPrintPreviewWidget::ZoomMode, mode);
    QFETCH(int, percent);
    QFETCH(bool, refused);
    QVERIFY(m_window->loadFile(writeLongDocument()));
    m_window->m_zoomCombo->setEditText("150%");
    m_window->applyZoom();

    m_window->m_zoomCombo->setEditText(text);
    m_window->applyZoom();

    QCOMPARE(m_window->m_preview->zoomMode(), mode);
    if (mode == QPrintPreviewWidget::CustomZoom)
        QCOMPARE(qRound(m_window->m_preview->zoomFactor() * 100), percent);
    QCOMPARE(m_prompter->shown(), refused ? QStringList{zoomRangeMessage} : QStringList{});
    QCOMPARE(m_prompter->titles(), refused ? QStringList{QStringLiteral("比例")} : QStringList{});
}

void TestDocPreview::zoomListAppliesChoiceAndTypedValue()
{
    QVERIFY(m_window->loadFile(writeLongDocument()));
    // The box names the zoom the preview opens with.
    QCOMPARE(m_window->m_zoomCombo->currentText(), "自适应页宽");
    QCOMPARE(m_window->m_preview->zoomMode(), QPrintPreviewWidget::FitToWidth);

    // Choosing from the list.
    QTest::keyClick(m_window->m_zoomCombo, Qt::Key_Down);
    QCOMPARE(m_window->m_zoomCombo->currentText(), "整页显示");
    QCOMPARE(m_window->m_preview->zoomMode(), QPrintPreviewWidget::FitInView);
    for (int step = 0; step < 8; ++step)
        QTest::keyClick(m_window->m_zoomCombo, Qt::Key_Up);
    QCOMPARE(m_window->m_zoomCombo->currentText(), "200%");
    QCOMPARE(m_window->m_preview->zoomFactor(), 2.0);

    // Typing a value: Enter applies it, keeps it out of the list and presses no button.
    QTest::mouseClick(m_window->m_nextPageButton, Qt::LeftButton);
    QLineEdit *field = m_window->m_zoomCombo->lineEdit();
    field->setFocus();
    field->setText("150");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(m_window->m_preview->zoomFactor(), 1.5);
    QCOMPARE(m_window->m_zoomCombo->count(), 9);
    QCOMPARE(m_window->currentPage(), 2);
}

void TestDocPreview::printWithoutPrinter_data()
{
    QTest::addColumn<QString>("answer"); // the PDF file named, in the case's folder; null cancels
    QTest::addColumn<bool>("written");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("into a PDF file") << "printed.pdf" << true << QStringList{};
    QTest::newRow("cancelled") << QString() << false << QStringList{};
    QTest::newRow("unwritable") << "missing/printed.pdf" << false << QStringList{"打印发生错误！"};
}

void TestDocPreview::printWithoutPrinter()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    QFETCH(QStringList, messages);
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("This machine has a printer; the tests never print on one.");
    QVERIFY(m_window->loadFile(writeLongDocument()));
    const QString pdf = m_dir->filePath(answer);
    if (answer.isNull())
        m_prompter->answerCancel();
    else
        m_prompter->answerText(pdf);

    QTest::mouseClick(m_window->m_printButton, Qt::LeftButton);

    QCOMPARE(m_prompter->fileRequests().size(), 1);
    const platform::Prompter::FileRequest request = m_prompter->fileRequests().constFirst();
    QCOMPARE(request.title, "打印");
    QCOMPARE(request.filter, "PDF (*.pdf)");
    QCOMPARE(request.defaultSuffix, "pdf");
    QCOMPARE(m_prompter->shown(), messages);
    const QStringList pdfs = QDir(m_dir->path()).entryList({"*.pdf"}, QDir::Files);
    QCOMPARE(pdfs.size(), written ? 1 : 0);
    if (!written)
        return;
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page\\b"));
    QCOMPARE(QString::fromLatin1(bytes).count(pageObject), m_window->pageCount());
}

PANDREL_TEST_MAIN(TestDocPreview)
#include "tst_docpreview.moc"
