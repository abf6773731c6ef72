#include "app/Startup.h"

#include "app/AppFont.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("pandrel"));
    // The window is hidden into the notification area and dialogs come and go; only closing
    // the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::setApplicationTitle(QStringLiteral("Kelan [ZorvikOribel]"));
    // Every window and the message boxes that report success show the program's picture.
    QApplication::setWindowIcon(programIcon());
    installQtTranslations();
    applyChineseFont();
}

QIcon programIcon()
{
    // One icon shared by every window, the tray and the message boxes: each icon of its own
    // decodes the pictures again, a third of a megabyte each time.
    static const QIcon icon = [] {
        QIcon pictures;
        for (int size : {16, 32, 48, 64, 128, 256})
            pictures.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(size), QSize(size, size));
        return pictures;
    }();
    return icon;
}

bool installQtTranslations()
{
    // The program speaks Chinese whatever the desktop's language, so the locale is fixed.
    auto *translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
