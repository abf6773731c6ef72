#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TfrmInitSys.h"
#include "app/TfrmWorkMain.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    setUpApplication();

    SingleInstance instance(programFolder());
    instance.warnAndClaim();

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
