#include "app/HelpBrowser.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = source().resolved(name);
    if (type == QTextDocument::ImageResource && devicePixelRatioF() > 1 && url.isLocalFile()) {
        const QFileInfo file(url.toLocalFile());
        QPixmap sharp;
        if (sharp.load(file.dir().filePath(file.completeBaseName() + QStringLiteral("@2x.") + file.suffix()))) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return QTextBrowser::loadResource(type, name);
}
