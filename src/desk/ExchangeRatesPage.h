#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;
class QToolButton;
class QVBoxLayout;

// The " 外汇牌价 " page: a bank's quotation list in an embedded browser. The browser engine
// starts the first time the page is loaded, not with the program.
class ExchangeRatesPage : public QWidget
{
    Q_OBJECT
public:
    // `address`: the page to show; the bank's quotation list unless a test gives its own.
    explicit ExchangeRatesPage(const QUrl &address = quotationAddress(), QWidget *parent = nullptr);

    static QUrl quotationAddress();
    static QUrl bankHomeAddress();

    // Loads the page, starting the browser when it has not run yet ("刷新", the first show).
    void loadRates();
    // Loads the page again if the browser runs; otherwise its first show loads it fresh.
    void reloadIfStarted();

    // The plugin's browser view (platform/WebView.h): null until the page is first loaded.
    QWidget *m_browser = nullptr;
    // Says so in place of the browser when the browser plugin is not installed.
    QLabel *m_missingBrowserLabel = nullptr;
    QLabel *m_noteLabel;
    QToolButton *m_refreshButton;
    QLabel *m_bankLabel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QUrl m_address;
    QVBoxLayout *m_browserArea;
};
