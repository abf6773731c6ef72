#pragma once

#include <QTextBrowser>

// The help page's browser. On a HiDPI screen a picture of the page comes from its "@2x" file
// beside it where there is one (Qt's naming for such pictures), so the page stays sharp.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override;
};
