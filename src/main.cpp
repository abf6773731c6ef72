#include "app/AppFont.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelan [ZorvikOribel]"));
    applyChineseFont();

    programFolder();
    TDM dm;
    dm.DataModuleCreate();

    // Stands in for the main window until it is built: it shows that the data opened.
    QLabel window(dm.isOpen()
                      ? QCoreApplication::translate("main", "数据库已打开：%1").arg(dm.databasePath())
                      : QCoreApplication::translate("main", "数据库未能打开。"));
    window.setWindowTitle(QStringLiteral("   Zorvik [Oribel]"));
    window.setMargin(24);
    window.resize(979, 563);
    window.show();
    return app.exec();
}
