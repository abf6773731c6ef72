#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Where the freedesktop conventions look for applications and their associations: the XDG
// base directories, most important first, and the running desktop's names (lower case).
struct XdgLocations {
    QStringList configDirs; // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    QStringList dataDirs;   // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    QStringList desktops;   // $XDG_CURRENT_DESKTOP
};
XdgLocations xdgLocationsFromEnvironment();

// The desktop entry (its file path) of the default application for `mimeType`: the first
// installed entry of the mimeapps.list defaults, else an added association, else an
// installed entry that lists the type, preferring one in `preferredCategory`. Empty if none.
QString defaultApplicationFor(const QString &mimeType, const QString &preferredCategory,
                              const XdgLocations &locations = xdgLocationsFromEnvironment());
// The first installed entry, shown on this desktop, whose categories include `category`
// (for example "Calculator"). Empty if none.
QString applicationInCategory(const QString &category,
                              const XdgLocations &locations = xdgLocationsFromEnvironment());

// The program and arguments of an entry's Exec line, unquoted; empty when the entry has none.
// The file field codes (%f %F %u %U) stand for `file` where one is given, and the file goes
// last where the line has none of them; other field codes are dropped.
QStringList desktopEntryCommand(const QString &entryPath, const QString &file = {});
// Whether the entry's program needs a terminal (Terminal=true): started bare, nothing appears.
bool desktopEntryRunsInTerminal(const QString &entryPath);
// What to run for the entry, opening `file` if given: a terminal program inside the desktop's
// terminal (x-terminal-emulator -e). Empty when the entry has no command, or needs a terminal
// and the desktop has none.
QStringList launchCommand(const QString &entryPath, const QString &file = {});

} // namespace platform
