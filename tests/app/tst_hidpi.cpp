#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/HelpBrowser.h"
#include "app/SettingsPage.h"
#include "document/ToolbarIcons.h"
#include "work/ReminderWindow.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTextDocument>

// The pictures on a screen with two device pixels per logical pixel, as a scale factor of 2
// makes it: every case runs in a process started that way.
class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reminderPictureFillsExactlyItsShape();
    void aboutPicture_data();
    void aboutPicture();
    void helpPagePictures_data();
    void helpPagePictures();
    void toolbarIconsDrawnForTheScreen();

private:
    std::unique_ptr<TestProgramFolder> m_folder;
};

namespace {

QImage plainImage(QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture resource of a text document: a picture, or the bytes of its file.
QPixmap resourcePixmap(const QVariant &resource)
{
    QPixmap pixmap;
    if (resource.typeId() == QMetaType::QByteArray)
        pixmap.loadFromData(resource.toByteArray());
    else
        pixmap = resource.value<QPixmap>();
    return pixmap;
}

} // namespace

void TestHiDpi::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
}

void TestHiDpi::cleanup()
{
    m_folder.reset();
}

// The shape is in logical pixels and the picture in device pixels: every device pixel of the
// window's shape shows the card, every one outside it the cut-away red.
void TestHiDpi::reminderPictureFillsExactlyItsShape()
{
    ReminderWindow reminder(1);
    QCOMPARE(reminder.devicePixelRatioF(), 2.0);
    const QPixmap shown = reminder.m_pictureLabel->pixmap();
    QCOMPARE(shown.devicePixelRatio(), 2.0);
    QCOMPARE(shown.size(), reminder.size() * 2);

    const QImage picture = shown.toImage();
    const QRegion shape = reminder.mask();
    int strays = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool cutAway = picture.pixelColor(x, y) == QColor(Qt::red);
            strays += cutAway == shape.contains(QPoint(x / 2, y / 2));
        }
    }
    QCOMPARE(strays, 0);
    QVERIFY(shape.boundingRect().width() > reminder.width() / 2); // the card, not a corner of it
}

void TestHiDpi::aboutPicture_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<QSize>("logicalSize");

    QTest::newRow("as shipped: drawn for the screen") << true << QSize(240, 180);
    QTest::newRow("the user's own: shown as supplied") << false << QSize(40, 30);
}

void TestHiDpi::aboutPicture()
{
    QFETCH(bool, shipped);
    QFETCH(QSize, logicalSize);
    const QString path = m_folder->filePath(QStringLiteral("Images/Vey1.bmp"));
    const QImage own = plainImage(QSize(40, 30), Qt::darkCyan);
    QVERIFY(shipped ? QFile::copy(QStringLiteral(":/pictures/Images/Vey1.bmp"), path) : own.save(path));

    SettingsPage page;
    page.loadAboutPicture(path);

    const QPixmap shown = page.m_aboutPictureLabel->pixmap();
    QCOMPARE(shown.deviceIndependentSize(), QSizeF(logicalSize));
    if (shipped) {
        QCOMPARE(shown.size(), logicalSize * 2); // a device pixel for every pixel shown
    } else {
        const QImage image = shown.toImage();
        QCOMPARE(image.pixelColor(image.rect().center()), QColor(Qt::darkCyan));
    }
}

void TestHiDpi::helpPagePictures_data()
{
    QTest::addColumn<bool>("withSharpFile");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("with logo@2x.png") << true << QSize(96, 96);
    QTest::newRow("logo.png alone") << false << QSize(48, 48);
}

void TestHiDpi::helpPagePictures()
{
    QFETCH(bool, withSharpFile);
    QFETCH(QSize, pixels);
    QFile page(m_folder->filePath(QStringLiteral("Help/Help.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(R"(<html><body><img src="logo.png" width="48" height="48"></body></html>)");
    page.close();
    QVERIFY(plainImage(QSize(48, 48), Qt::blue).save(m_folder->filePath(QStringLiteral("Help/logo.png"))));
    if (withSharpFile)
        QVERIFY(plainImage(QSize(96, 96), Qt::blue).save(m_folder->filePath(QStringLiteral("Help/logo@2x.png"))));

    HelpBrowser browser;
    browser.setSource(QUrl::fromLocalFile(page.fileName()));

    const QPixmap logo = resourcePixmap(
        browser.document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("logo.png"))));
    QCOMPARE(logo.size(), pixels);
    QCOMPARE(logo.deviceIndependentSize(), QSizeF(48, 48));
}

void TestHiDpi::toolbarIconsDrawnForTheScreen()
{
    const QPixmap shown = toolbaricons::icon(toolbaricons::Kind::Save).pixmap(QSize(18, 18), 2.0);
    QCOMPARE(shown.size(), QSize(36, 36));
    QCOMPARE(shown.devicePixelRatio(), 2.0);
}

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    applyChineseFont();
    TestHiDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
