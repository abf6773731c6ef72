#include "WebEngineViewPlugin.h"

#include <QQuickWindow>
#include <QWebEngineView>

WebEngineViewPlugin::WebEngineViewPlugin()
{
    // The view draws through Qt Quick. Drawn on the graphics card, the first view in a window
    // makes Qt recreate the window's native surface for composing, so the whole window shows
    // black for a moment, and the OpenGL driver (some 40 MiB) loads. A page of exchange rates
    // needs no graphics card: drawn in software, the window stays as it is.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

QWidget *WebEngineViewPlugin::createWebView()
{
    auto *view = new QWebEngineView;
    view->setContextMenuPolicy(Qt::NoContextMenu);
    return view;
}
