#pragma once

#include <QString>
#include <QtPlugin>

class QWidget;

namespace platform {

// The browser engine is large and only one page shows web pages, so the embedded browser is
// a plugin, loaded the first time a web page is shown: the program does not carry the engine
// while no page needs it. A view is a QWidget with the property `url` (writing it loads the
// address), the property `title` and the signal `loadFinished(bool)`; through Qt's
// meta-objects, so that neither side links the other's code.
class WebViewFactory
{
public:
    virtual ~WebViewFactory() = default;
    // A new view without a parent and without a context menu.
    virtual QWidget *createWebView() = 0;
};

// The installed plugin's factory, loaded on the first call; null when the plugin is missing
// or cannot load (why: `error`).
WebViewFactory *webViewFactory(QString *error = nullptr);

// Looks for the plugin in `folder` first; a program run from outside its folder (the tests,
// the build's tools) names the folder that holds it.
void setWebViewPluginFolder(const QString &folder);

} // namespace platform

#define PANDREL_WEB_VIEW_FACTORY_IID "org.pandrel.WebViewFactory/1"
Q_DECLARE_INTERFACE(platform::WebViewFactory, PANDREL_WEB_VIEW_FACTORY_IID)
