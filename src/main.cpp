#include "app/AppFont.h"
#include "app/SingleInstance.h"
#include "app/TfrmInitSys.h"
#include "app/TfrmWorkMain.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("pandrel"));
    // The window is hidden into the notification area and dialogs come and go; only closing
    // the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    applyChineseFont();

    SingleInstance instance(programFolder());
    instance.warnAndClaim();

    QApplication::setApplicationDisplayName(QStringLiteral("Kelan [ZorvikOribel]"));
    ShowSplash();

    TDM dm;
    dm.DataModuleCreate();

    TfrmWorkMain window;
    window.setSingleInstance(&instance);
    if (!window.FormCreate())
        return 0;
    QObject::connect(&window, &TfrmWorkMain::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
