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

// Where an installation puts the template database, pictures and help (see the install rules).
QDir installedData(const QString &executableFolder)
{
    return QDir(QDir(executableFolder).filePath(QStringLiteral("../share/pandrel")));
}

// Gives the user's folder the installation's database when it has none, and the pictures
// and help of the installed version (they are program files, not the user's data).
void seedFrom(const QDir &installed, const QString &user)
{
    const QString database = user + QString::fromLatin1(kDatabaseFile);
    if (!QFileInfo::exists(database))
        QFile::copy(installed.filePath(QStringLiteral("DOZA.dat")), database);
    for (const char *sub : {"Images", "Help"}) {
        const QDir from(installed.filePath(QString::fromLatin1(sub)));
        const QString to = user + QString::fromLatin1(sub) + '/';
        for (const QFileInfo &file : from.entryInfoList(QDir::Files)) {
            const QFileInfo copy(to + file.fileName());
            if (copy.exists() && copy.lastModified() >= file.lastModified())
                continue;
            QFile::remove(copy.filePath());
            QFile::copy(file.filePath(), copy.filePath());
        }
    }
}

} // namespace

QString programFolder()
{
    if (storedFolder().isEmpty())
        storedFolder() = resolveProgramFolder(QCoreApplication::applicationDirPath());
    return storedFolder();
}

void setProgramFolder(const QString &folder)
{
    storedFolder() = withSeparator(folder);
}

QString resolveProgramFolder(const QString &executableFolder)
{
    if (QFileInfo(QDir(executableFolder).filePath(QStringLiteral("db"))).isDir())
        return withSeparator(executableFolder);

    const QString user = withSeparator(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pandrel"));
    QDir dir(user);
    for (const char *sub : {"db", "Bak", "Images", "Help"})
        dir.mkpath(QString::fromLatin1(sub));
    seedFrom(installedData(executableFolder), user);
    return user;
}
