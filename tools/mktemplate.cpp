// Builds the template database of a new installation from the rows under assets/data.
#include "template/TemplateBuilder.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    // Bodies are laid out with fonts, which need a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: mktemplate <data folder> <database file>\n";
        return 2;
    }
    QString error;
    if (!buildTemplateDatabase(args.at(1), args.at(2), error)) {
        err << "mktemplate: " << error << '\n';
        return 1;
    }
    return 0;
}
