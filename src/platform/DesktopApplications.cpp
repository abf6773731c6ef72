#include "platform/DesktopApplications.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>
#include <functional>

namespace platform {

namespace {

// The keys of one group of an ini-like freedesktop file, values unescaped.
using Group = QHash<QString, QString>;

QString unescapeValue(const QString &raw)
{
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != QLatin1Char('\\') || i + 1 == raw.size()) {
            value += raw.at(i);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's': value += QLatin1Char(' '); break;
        case 'n': value += QLatin1Char('\n'); break;
        case 't': value += QLatin1Char('\t'); break;
        case 'r': value += QLatin1Char('\r'); break;
        case '\\': value += QLatin1Char('\\'); break;
        default: value += QLatin1Char('\\'); value += next; break; // "\;" stays for the list reader
        }
    }
    return value;
}

QHash<QString, Group> readGroups(const QString &path)
{
    QHash<QString, Group> groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QTextStream in(&file);
    QString current;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !current.isEmpty())
            groups[current].insert(line.left(equals).trimmed(), unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return groups;
}

QStringList listValue(const QString &value)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size()) {
            item += value.at(++i);
        } else if (value.at(i) == QLatin1Char(';')) {
            if (!item.isEmpty())
                items.append(item);
            item.clear();
        } else {
            item += value.at(i);
        }
    }
    if (!item.isEmpty())
        items.append(item);
    return items;
}

struct DesktopEntry {
    QString path;
    Group keys;
    QStringList list(const QString &key) const { return listValue(keys.value(key)); }
    bool inTerminal() const { return keys.value(QStringLiteral("Terminal")) == QLatin1String("true"); }
};

bool programExists(const QString &program)
{
    const QFileInfo info(program);
    if (info.isAbsolute())
        return info.isFile() && info.isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool isInstalled(const DesktopEntry &entry)
{
    if (entry.keys.value(QStringLiteral("Type"), QStringLiteral("Application")) != QLatin1String("Application")
        || entry.keys.value(QStringLiteral("Hidden")) == QLatin1String("true"))
        return false;
    const QStringList command = desktopEntryCommand(entry.path);
    if (command.isEmpty() || !programExists(command.first()))
        return false;
    const QString tryExec = entry.keys.value(QStringLiteral("TryExec"));
    return tryExec.isEmpty() || programExists(tryExec);
}

bool shownOn(const DesktopEntry &entry, const QStringList &desktops)
{
    auto named = [&desktops](const QStringList &names) {
        for (const QString &name : names) {
            if (desktops.contains(name.toLower()))
                return true;
        }
        return false;
    };
    const QStringList only = entry.list(QStringLiteral("OnlyShowIn"));
    return (only.isEmpty() || named(only)) && !named(entry.list(QStringLiteral("NotShowIn")));
}

// Every entry under the data folders' applications/ by its desktop-file ID; an ID found in
// a more important folder hides the same ID further down.
class EntryIndex
{
public:
    explicit EntryIndex(const QStringList &dataDirs)
    {
        for (const QString &dataDir : dataDirs) {
            const QDir applications(QDir(dataDir).filePath(QStringLiteral("applications")));
            QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files,
                            QDirIterator::Subdirectories);
            QStringList found;
            while (it.hasNext())
                found.append(it.next());
            found.sort();
            for (const QString &path : found) {
                const QString id = applications.relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('-'));
                if (m_byId.contains(id))
                    continue;
                m_ids.append(id);
                m_byId.insert(id, {path, readGroups(path).value(QStringLiteral("Desktop Entry"))});
            }
        }
    }

    const DesktopEntry *installed(const QString &id) const
    {
        const auto it = m_byId.constFind(id);
        return it != m_byId.cend() && isInstalled(*it) ? &*it : nullptr;
    }

    // The first installed entry, in ID order, that `accept` takes. One that runs in a window of
    // its own comes before a terminal program (vim), which shows nothing without a terminal.
    QString first(const std::function<bool(const DesktopEntry &)> &accept) const
    {
        QStringList ids = m_ids;
        ids.sort();
        QString inTerminal;
        for (const QString &id : ids) {
            const DesktopEntry *entry = installed(id);
            if (!entry || !accept(*entry))
                continue;
            if (!entry->inTerminal())
                return entry->path;
            if (inTerminal.isEmpty())
                inTerminal = entry->path;
        }
        return inTerminal;
    }

private:
    QStringList m_ids;
    QHash<QString, DesktopEntry> m_byId;
};

// The mimeapps.list files, most important first.
QStringList mimeappsFiles(const XdgLocations &locations)
{
    QStringList folders = locations.configDirs;
    for (const QString &dataDir : locations.dataDirs)
        folders.append(QDir(dataDir).filePath(QStringLiteral("applications")));
    QStringList files;
    for (const QString &folder : folders) {
        for (const QString &desktop : locations.desktops)
            files.append(QDir(folder).filePath(desktop + QStringLiteral("-mimeapps.list")));
        files.append(QDir(folder).filePath(QStringLiteral("mimeapps.list")));
    }
    return files;
}

QStringList pathList(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

} // namespace

XdgLocations xdgLocationsFromEnvironment()
{
    const QString home = QDir::homePath();
    XdgLocations locations;
    locations.configDirs = pathList("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))
                           + pathList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    locations.dataDirs = pathList("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))
                         + pathList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString &desktop : pathList("XDG_CURRENT_DESKTOP", QString()))
        locations.desktops.append(desktop.toLower());
    return locations;
}

QString defaultApplicationFor(const QString &mimeType, const QString &preferredCategory,
                              const XdgLocations &locations)
{
    const EntryIndex index(locations.dataDirs);
    QStringList added;
    QStringList removed;
    for (const QString &file : mimeappsFiles(locations)) {
        const QHash<QString, Group> groups = readGroups(file);
        for (const QString &id : listValue(groups.value(QStringLiteral("Default Applications")).value(mimeType))) {
            if (const DesktopEntry *entry = index.installed(id))
                return entry->path;
        }
        for (const QString &id : listValue(groups.value(QStringLiteral("Added Associations")).value(mimeType))) {
            if (!removed.contains(id))
                added.append(id);
        }
        removed += listValue(groups.value(QStringLiteral("Removed Associations")).value(mimeType));
    }
    for (const QString &id : added) {
        if (const DesktopEntry *entry = index.installed(id))
            return entry->path;
    }
    auto handles = [&](const DesktopEntry &entry) {
        return entry.list(QStringLiteral("MimeType")).contains(mimeType)
               && !removed.contains(QFileInfo(entry.path).fileName());
    };
    const QString preferred = index.first([&](const DesktopEntry &entry) {
        return handles(entry) && entry.list(QStringLiteral("Categories")).contains(preferredCategory);
    });
    if (!preferred.isEmpty() && !desktopEntryRunsInTerminal(preferred))
        return preferred;
    const QString any = index.first(handles);
    return preferred.isEmpty() || (!any.isEmpty() && !desktopEntryRunsInTerminal(any)) ? any : preferred;
}

QString applicationInCategory(const QString &category, const XdgLocations &locations)
{
    return EntryIndex(locations.dataDirs).first([&](const DesktopEntry &entry) {
        return entry.list(QStringLiteral("Categories")).contains(category) && shownOn(entry, locations.desktops);
    });
}

QStringList desktopEntryCommand(const QString &entryPath, const QString &file)
{
    const QString exec = readGroups(entryPath).value(QStringLiteral("Desktop Entry")).value(QStringLiteral("Exec"));
    QStringList arguments;
    QString argument;
    bool quoted = false;
    bool started = false; // an argument has begun, perhaps an empty quoted one
    bool onlyFieldCodes = true;
    bool fileTaken = false;
    auto finish = [&] {
        if (started && !(argument.isEmpty() && onlyFieldCodes))
            arguments.append(argument);
        argument.clear();
        started = false;
        onlyFieldCodes = true;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            argument += exec.at(++i);
            onlyFieldCodes = false;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
            onlyFieldCodes = false;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            started = true;
            const QChar code = exec.at(++i);
            if (code == QLatin1Char('%')) {
                argument += QLatin1Char('%');
                onlyFieldCodes = false;
            } else if (QStringLiteral("fFuU").contains(code) && !file.isEmpty() && !fileTaken) {
                argument += code.toLower() == QLatin1Char('u') && QFileInfo(file).isAbsolute()
                                ? QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)
                                : file;
                onlyFieldCodes = false;
                fileTaken = true;
            } // any other field code stands for names we do not pass
        } else if (c.isSpace() && !quoted) {
            finish();
        } else {
            argument += c;
            started = true;
            onlyFieldCodes = false;
        }
    }
    finish();
    if (!file.isEmpty() && !fileTaken && !arguments.isEmpty())
        arguments.append(file);
    return arguments;
}

bool desktopEntryRunsInTerminal(const QString &entryPath)
{
    return readGroups(entryPath).value(QStringLiteral("Desktop Entry")).value(QStringLiteral("Terminal"))
           == QLatin1String("true");
}

QStringList launchCommand(const QString &entryPath, const QString &file)
{
    const QStringList command = desktopEntryCommand(entryPath, file);
    if (command.isEmpty() || !desktopEntryRunsInTerminal(entryPath))
        return command;
    const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (terminal.isEmpty())
        return {};
    return QStringList{terminal, QStringLiteral("-e")} + command;
}

} // namespace platform
