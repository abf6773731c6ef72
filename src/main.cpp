#include "app/AppFont.h"
#include "app/SingleInstance.h"
#include "app/TfrmInitSys.h"
#include "app/TfrmWorkMain.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"
#include "platform/Prompter.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    // The window is hidden into the notification area and dialogs come and go; only closing
    // the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    applyChineseFont();

    SingleInstance instance(programFolder());
    if (instance.otherCopyRunning()) {
        // A restart after a backup begins while the old copy is still closing.
        platform::prompter().message(
            QCoreApplication::translate("main", "Zorvik[Oribel]软件已在运行中，不能重复运行！"));
    }
    instance.claim();

    QApplication::setApplicationDisplayName(QStringLiteral("Kelan [ZorvikOribel]"));
    ShowSplash();

    TDM dm;
    dm.DataModuleCreate();

    TfrmWorkMain window;
    if (!window.FormCreate())
        return 0;
    QObject::connect(&window, &TfrmWorkMain::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
