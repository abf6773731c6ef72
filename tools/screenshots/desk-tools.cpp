// The desk pages of the main window with the clocks at a fixed moment, the exchange-rate page
// on a local stand-in for the bank's list, and the feedback window.
#include "Shots.h"

#include "app/MainWindow.h"
#include "desk/ExchangeRatesPage.h"
#include "desk/PostCodesPage.h"
#include "platform/Clock.h"
#include "safety/FeedbackDialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>

namespace {

class FixedClock final : public platform::Clock
{
public:
    QDateTime now() const override
    {
        return QDateTime(QDate(2024, 7, 15), QTime(10, 8, 37), QTimeZone("Asia/Shanghai"));
    }
};

void settle(int milliseconds = 0)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

const char kRatesPage[] = R"(<html><head><meta charset="utf-8"><style>
body { font-family: "Noto Sans CJK SC"; font-size: 13px; margin: 8px; }
table { border-collapse: collapse; width: 100%; }
th { background: #C00000; color: white; } td, th { border: 1px solid #ddd; padding: 4px; text-align: center; }
</style></head><body><table>
<tr><th>币种</th><th>现汇买入价</th><th>现钞买入价</th><th>现汇卖出价</th><th>现钞卖出价</th><th>发布时间</th></tr>
<tr><td>美元(USD)</td><td>714.02</td><td>714.02</td><td>716.88</td><td>716.88</td><td>2024-07-15 10:00:00</td></tr>
<tr><td>欧元(EUR)</td><td>777.63</td><td>777.63</td><td>783.08</td><td>783.08</td><td>2024-07-15 10:00:00</td></tr>
<tr><td>日元(JPY)</td><td>4.5116</td><td>4.5116</td><td>4.5432</td><td>4.5432</td><td>2024-07-15 10:00:00</td></tr>
<tr><td>英镑(GBP)</td><td>923.34</td><td>923.34</td><td>929.80</td><td>929.80</td><td>2024-07-15 10:00:00</td></tr>
<tr><td>港币(HKD)</td><td>91.43</td><td>91.43</td><td>91.80</td><td>91.80</td><td>2024-07-15 10:00:00</td></tr>
</table></body></html>)";

void shootDeskTools(Shots &shots)
{
    FixedClock clock;
    platform::setClock(&clock);
    {
        MainWindow window;
        window.startUp();
        window.show();
        window.m_pageTabs->setCurrentIndex(MainWindow::PostCodePage);
        window.m_postCodesPage->m_areaEdit->setText(QStringLiteral("州"));
        window.m_postCodesPage->queryPostCodes();
        settle();
        shots.take(window, QStringLiteral("desk-postcodes"));
        window.m_pageTabs->setCurrentIndex(MainWindow::WorldClockPage);
        settle();
        shots.take(window, QStringLiteral("desk-worldclocks"));
        window.hide();
    }
    platform::setClock(nullptr);

    QTemporaryDir folder;
    QFile page(folder.filePath(QStringLiteral("rates.html")));
    if (page.open(QIODevice::WriteOnly)) {
        page.write(kRatesPage);
        page.close();
    }
    ExchangeRatesPage rates(QUrl::fromLocalFile(page.fileName()));
    rates.resize(971, 525);
    rates.show();
    rates.loadRates();
    QEventLoop loaded;
    QObject::connect(rates.m_browser, SIGNAL(loadFinished(bool)), &loaded, SLOT(quit()));
    QTimer::singleShot(20000, &loaded, &QEventLoop::quit);
    loaded.exec();
    settle(500); // the first frame follows the load
    shots.take(rates, QStringLiteral("desk-exchangerates"));

    FeedbackDialog feedback;
    feedback.m_bodyEdit->setPlainText(QStringLiteral("打印客户列表时，最后一列被截断了。\n希望导出时可以选择列。"));
    feedback.show();
    settle();
    shots.take(feedback, QStringLiteral("dialog-feedback"));
}

const ShotSet deskTools("desk-tools", shootDeskTools);

} // namespace
