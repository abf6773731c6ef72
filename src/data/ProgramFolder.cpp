#include "data/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSeparator(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    return clean.endsWith('/') ? clean : clean + '/';
}

QString &storedFolder()
{
    static QString folder;
    return folder;
}

// Where an installation puts the template database (see the install rules).
QString installedTemplate()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../share/pandrel/DOZA.dat"));
}

} // namespace

QString programFolder()
{
    if (storedFolder().isEmpty())
        storedFolder() = resolveProgramFolder();
    return storedFolder();
}

void setProgramFolder(const QString &folder)
{
    storedFolder() = withSeparator(folder);
}

QString resolveProgramFolder()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(QDir(exeFolder).filePath(QStringLiteral("db"))).isDir())
        return withSeparator(exeFolder);

    const QString user = withSeparator(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pandrel"));
    QDir dir(user);
    for (const char *sub : {"db", "Bak", "Images", "Help"})
        dir.mkpath(QString::fromLatin1(sub));
    const QString database = user + QString::fromLatin1(kDatabaseFile);
    if (!QFileInfo::exists(database) && QFileInfo::exists(installedTemplate()))
        QFile::copy(installedTemplate(), database);
    return user;
}
