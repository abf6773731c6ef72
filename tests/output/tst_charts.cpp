#include "ManualClock.h"
#include "ReadOnlyFolder.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "output/ChartView.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>

// A chart's picture leaves the program the three ways its menu offers, each with the title
// and the day; its axes step in round numbers; its colours survive greyscale.
class TestCharts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuOffersThePictureThreeWays();
    void copiedPictureIsSharp();
    void savedAsPng_data();
    void savedAsPng();
    void printedWithTitleAndDate();
    void valueAxisStepsRoundly_data();
    void valueAxisStepsRoundly();
    void coloursDifferInGreyscale();

private:
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ChartView> m_view;
};

namespace {

QChart *sampleChart(qreal highest = 870, bool whole = false)
{
    auto *series = new QBarSeries;
    series->append(coloredBarSet(QStringLiteral("金额"), chartcolors::blue, {highest / 2, highest}));
    return barChart(series, {QStringLiteral("11月"), QStringLiteral("12月")}, whole);
}

// Relative luminance, as a greyscale print keeps it, 0 to 255.
double grey(const QColor &color)
{
    return 0.2126 * color.red() + 0.7152 * color.green() + 0.0722 * color.blue();
}

} // namespace

void TestCharts::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
    m_view = std::make_unique<ChartView>();
    m_view->showChart(sampleChart(), QStringLiteral("月度跟单金额"));
    m_view->resize(400, 300);
    m_view->show();
    QCoreApplication::processEvents();
}

void TestCharts::cleanup()
{
    m_view.reset();
    m_clock.reset();
    m_prompter.reset();
}

void TestCharts::menuOffersThePictureThreeWays()
{
    QStringList texts;
    for (const QAction *action : m_view->m_menu->actions())
        texts.append(action->text());
    QCOMPARE(texts, (QStringList{"复制图片", "保存为PNG图片…", "打印…"}));
    QCOMPARE(ChartView::dateLine(), "制表日期：2026-12-10");
}

void TestCharts::copiedPictureIsSharp()
{
    m_view->m_menu->actions().at(0)->trigger();
    const QImage copied = QApplication::clipboard()->image();
    // Twice the pixels of the view, plus the title strip above and the date strip beneath.
    QCOMPARE(copied.width(), 2 * m_view->viewport()->width());
    QVERIFY(copied.height() > 2 * m_view->viewport()->height() + 80);
    // The date strip holds dark text at its right end, and nothing at its left.
    const int strip = copied.height() - 40;
    const auto darkIn = [&copied, strip](int left, int right) {
        int dark = 0;
        for (int y = strip; y < copied.height(); ++y) {
            for (int x = left; x < right; ++x)
                dark += qGray(copied.pixel(x, y)) < 128;
        }
        return dark;
    };
    QVERIFY(darkIn(copied.width() / 2, copied.width()) > 50);
    QCOMPARE(darkIn(0, copied.width() / 4), 0);
}

void TestCharts::savedAsPng_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("writable");
    QTest::newRow("saved") << false << true;
    QTest::newRow("cancelled") << true << true;
    QTest::newRow("folder not writable") << false << false;
}

void TestCharts::savedAsPng()
{
    QFETCH(bool, cancel);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    std::optional<ReadOnlyFolder> locked;
    if (!writable) {
        locked.emplace(dir.path());
        if (!locked->isReadOnly())
            QSKIP("this machine cannot make a folder read-only");
    }
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    if (cancel)
        m_prompter->answerCancel();
    else
        m_prompter->answerText(path);

    m_view->m_menu->actions().at(1)->trigger();

    QCOMPARE(m_prompter->fileRequests().constFirst().fileName, "月度跟单金额.png");
    QCOMPARE(m_prompter->fileRequests().constFirst().defaultSuffix, "png");
    if (writable && !cancel)
        QCOMPARE(QImage(path).size(), m_view->picture().size());
    else
        QVERIFY(!QFile::exists(path));
    QCOMPARE(m_prompter->shown(), writable ? QStringList{} : QStringList{"图片保存失败，请检查文件夹是否可写！"});
}

void TestCharts::printedWithTitleAndDate()
{
    ChartPreviewDialog window(*m_view);
    QCOMPARE(window.pageCount(), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    m_prompter->answerText(pdf);
    QTest::mouseClick(window.m_printButton, Qt::LeftButton);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    // The font maps 月 and 日 to look-alike radicals in the text it leaves in the PDF.
    QVERIFY2(printed.contains("度跟单"), qPrintable(printed));
    QVERIFY(printed.contains("制表") && printed.contains("2026-12-10"));
}

void TestCharts::valueAxisStepsRoundly_data()
{
    QTest::addColumn<qreal>("highest");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<qreal>("top");

    QTest::newRow("nothing counted") << 0.0 << true << 4.0;
    QTest::newRow("three things") << 3.0 << true << 4.0;
    QTest::newRow("five things") << 5.0 << true << 8.0;
    QTest::newRow("nine things: whole steps") << 9.0 << true << 12.0;
    QTest::newRow("870 yuan") << 870.0 << false << 1000.0;
    QTest::newRow("1001 yuan") << 1001.0 << false << 2000.0;
    QTest::newRow("a few fen") << 0.07 << false << 1.0;
}

void TestCharts::valueAxisStepsRoundly()
{
    QFETCH(qreal, highest);
    QFETCH(bool, whole);
    QFETCH(qreal, top);
    std::unique_ptr<QChart> chart(sampleChart(highest, whole));
    const auto *axis = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).constFirst());
    QCOMPARE(axis->min(), 0.0);
    QCOMPARE(axis->max(), top);
    QCOMPARE(axis->tickCount(), 5);
}

void TestCharts::coloursDifferInGreyscale()
{
    const QList<QColor> colours{chartcolors::blue, chartcolors::green, chartcolors::orange, chartcolors::lightGrey};
    for (int a = 0; a < colours.size(); ++a) {
        for (int b = a + 1; b < colours.size(); ++b)
            QVERIFY2(qAbs(grey(colours.at(a)) - grey(colours.at(b))) >= 25, qPrintable(colours.at(a).name() + colours.at(b).name()));
        QVERIFY(grey(colours.at(a)) < 230); // still seen on white paper
    }
}

PANDREL_TEST_MAIN(TestCharts)
#include "tst_charts.moc"
