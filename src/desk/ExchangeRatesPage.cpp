#include "desk/ExchangeRatesPage.h"

#include "util/ShellLaunch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

ExchangeRatesPage::ExchangeRatesPage(const QUrl &address, QWidget *parent)
    : QWidget(parent)
    , lblNote(new QLabel(tr("本数据来自Internet，如果没有连接Internet或被防火墙屏蔽，本页面将无法显示。")))
    , SpeedButton4(new QToolButton)
    , Label24(new QLabel(tr("本数据来自中国工商银行网站")))
    , m_address(address)
    , m_browserArea(new QVBoxLayout)
{
    SpeedButton4->setText(tr("刷新"));
    SpeedButton4->setAutoRaise(true);
    Label24->setCursor(Qt::PointingHandCursor);
    Label24->installEventFilter(this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(lblNote);
    bar->addWidget(SpeedButton4);
    bar->addStretch(1);
    bar->addWidget(Label24);

    m_browserArea->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_browserArea, 1);
    layout->addLayout(bar);

    connect(SpeedButton4, &QToolButton::clicked, this, &ExchangeRatesPage::SpeedButton4Click);
}

QUrl ExchangeRatesPage::quotationAddress()
{
    return QUrl(QStringLiteral("https://www.icbc.com.cn/ICBCDynamicSite/Optimize/Quotation/QuotationListIframe.aspx"));
}

QUrl ExchangeRatesPage::bankHomeAddress()
{
    return QUrl(QStringLiteral("https://www.icbc.com.cn/"));
}

void ExchangeRatesPage::SpeedButton4Click()
{
    if (!WebBrowser1) {
        WebBrowser1 = new QWebEngineView;
        WebBrowser1->setContextMenuPolicy(Qt::NoContextMenu);
        m_browserArea->addWidget(WebBrowser1);
    }
    WebBrowser1->setUrl(m_address);
}

void ExchangeRatesPage::reloadIfStarted()
{
    if (WebBrowser1)
        SpeedButton4Click();
}

bool ExchangeRatesPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label24 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        OpenInBrowser(bankHomeAddress());
    return QWidget::eventFilter(watched, event);
}
