#include "app/Startup.h"

#include "app/AppFont.h"
#include "platform/Prompter.h"
#include "platform/WebEngineSandbox.h"

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
    installQtTranslations();
    applyChineseFont();
    platform::allowWebPagesForAdministrator();
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
