#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/SplashScreen.h"
#include "app/MainWindow.h"
#include "data/ProgramFolder.h"
#include "data/Database.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    setUpApplication();

    SingleInstance instance(programFolder());
    instance.warnAndClaim();

    showSplashScreen();

    Database database;
    database.openAtStartup();

    MainWindow window;
    window.setSingleInstance(&instance);
    if (!window.startUp())
        return 0;
    QObject::connect(&window, &MainWindow::closed, &app, &QApplication::quit);
    window.showAsLastLeft();
    return app.exec();
}
