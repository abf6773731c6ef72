#include "WebEngineViewPlugin.h"

#include <QWebEngineView>

QWidget *WebEngineViewPlugin::createWebView()
{
    auto *view = new QWebEngineView;
    view->setContextMenuPolicy(Qt::NoContextMenu);
    return view;
}
