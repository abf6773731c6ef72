#pragma once

#include "platform/WebView.h"

#include <QObject>

// The embedded browser the program loads on demand: Qt WebEngine's view.
class WebEngineViewPlugin : public QObject, public platform::WebViewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PANDREL_WEB_VIEW_FACTORY_IID)
    Q_INTERFACES(platform::WebViewFactory)

public:
    WebEngineViewPlugin();
    QWidget *createWebView() override;
};
