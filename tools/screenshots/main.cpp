// Renders every page of the main window and every dialog offscreen into PNG files, so they
// can be looked at without a display: screenshots <output folder>.
#include "Shots.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "data/ProgramFolder.h"
#include "data/Database.h"
#include "platform/WebView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextStream>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::Files);
    for (const QFileInfo &file : entries) {
        if (!QFile::copy(file.filePath(), QDir(to).filePath(file.fileName())))
            return false;
    }
    return true;
}

// A program folder of its own: the template database and the build's pictures and help.
bool prepareFolder(const QString &folder)
{
    const QDir build(QStringLiteral(PANDREL_PROGRAM_DIR));
    QDir root(folder);
    return root.mkpath(QStringLiteral("db")) && root.mkpath(QStringLiteral("Bak"))
           && QFile::copy(QStringLiteral(PANDREL_TEMPLATE_DB), root.filePath(QStringLiteral("db/DOZA.dat")))
           && QFile::setPermissions(root.filePath(QStringLiteral("db/DOZA.dat")), QFile::ReadOwner | QFile::WriteOwner)
           && copyFolder(build.filePath(QStringLiteral("Images")), root.filePath(QStringLiteral("Images")))
           && copyFolder(build.filePath(QStringLiteral("Help")), root.filePath(QStringLiteral("Help")));
}

void shootMainWindow(Shots &shots)
{
    MainWindow window;
    window.startUp();
    window.show();
    for (int page = 0; page < MainWindow::PageCount; ++page) {
        window.m_pageTabs->setCurrentIndex(page);
        QCoreApplication::processEvents();
        shots.take(window, QStringLiteral("page-%1").arg(page + 1, 2, 10, QChar('0')));
    }
    window.resize(1366, 740); // as maximised on a common laptop screen
    window.m_pageTabs->setCurrentIndex(MainWindow::SettingsPageIndex);
    QCoreApplication::processEvents();
    shots.take(window, QStringLiteral("page-10-large"));
    window.hide();
}

// The offscreen screen is 800 × 600 device pixels. Scaled, it grows by the factor, so that
// it keeps its 800 × 600 logical pixels as a real HiDPI screen does, and dialogs that fit
// themselves to the screen lay out as in the unscaled set.
void useOffscreenScreen(QTemporaryFile &configuration)
{
    bool scaled = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&scaled);
    if (!scaled || factor <= 0 || !configuration.open()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    QTextStream(&configuration) << QStringLiteral(R"({"screens": [{"name": "offscreen", "width": %1, "height": %2}]})")
                                       .arg(qRound(800 * factor))
                                       .arg(qRound(600 * factor));
    configuration.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(configuration.fileName()));
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryFile screenConfiguration;
    useOffscreenScreen(screenConfiguration);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    setUpApplication();
    platform::setWebViewPluginFolder(QStringLiteral(PANDREL_PROGRAM_DIR "/plugins"));
    if (argc != 2) {
        QTextStream(stderr) << "usage: screenshots <output folder>\n";
        return 2;
    }
    QTemporaryDir folder;
    if (!prepareFolder(folder.path())) {
        QTextStream(stderr) << "screenshots: cannot prepare a program folder\n";
        return 1;
    }
    setProgramFolder(folder.path());
    Database database;
    database.openAtStartup();

    Shots shots(QString::fromLocal8Bit(argv[1]));
    shootMainWindow(shots);
    for (const ShotSet &set : shotSets())
        set.shoot(shots);
    return shots.report();
}
