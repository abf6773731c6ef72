#include "desk/ExchangeRatesPage.h"

#include "platform/WebView.h"
#include "util/ShellLaunch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

ExchangeRatesPage::ExchangeRatesPage(const QUrl &address, QWidget *parent)
    : QWidget(parent)
    , m_noteLabel(new QLabel(tr("本数据来自Internet，如果没有连接Internet或被防火墙屏蔽，本页面将无法显示。")))
    , m_refreshButton(new QToolButton)
    , m_bankLabel(new QLabel(tr("本数据来自中国工商银行网站")))
    , m_address(address)
    , m_browserArea(new QVBoxLayout)
{
    m_refreshButton->setText(tr("刷新"));
    m_refreshButton->setAutoRaise(true);
    m_bankLabel->setCursor(Qt::PointingHandCursor);
    m_bankLabel->installEventFilter(this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_noteLabel);
    bar->addWidget(m_refreshButton);
    bar->addStretch(1);
    bar->addWidget(m_bankLabel);

    m_browserArea->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_browserArea, 1);
    layout->addLayout(bar);

    connect(m_refreshButton, &QToolButton::clicked, this, &ExchangeRatesPage::loadRates);
}

QUrl ExchangeRatesPage::quotationAddress()
{
    return QUrl(QStringLiteral("https://www.icbc.com.cn/ICBCDynamicSite/Optimize/Quotation/QuotationListIframe.aspx"));
}

QUrl ExchangeRatesPage::bankHomeAddress()
{
    return QUrl(QStringLiteral("https://www.icbc.com.cn/"));
}

void ExchangeRatesPage::loadRates()
{
    if (m_missingBrowserLabel)
        return;
    if (!m_browser) {
        platform::WebViewFactory *factory = platform::webViewFactory();
        if (!factory) {
            m_missingBrowserLabel = new QLabel(tr("没有安装网页显示组件，本页面无法显示。"));
            m_missingBrowserLabel->setAlignment(Qt::AlignCenter);
            m_browserArea->addWidget(m_missingBrowserLabel);
            return;
        }
        m_browser = factory->createWebView();
        m_browserArea->addWidget(m_browser);
    }
    m_browser->setProperty("url", m_address);
}

void ExchangeRatesPage::reloadIfStarted()
{
    if (m_browser)
        loadRates();
}

bool ExchangeRatesPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bankLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        openInBrowser(bankHomeAddress());
    return QWidget::eventFilter(watched, event);
}
