#pragma once

#include <QString>

// The folder that holds db/DOZA.dat, Bak/, Images/, Help/ and the temporary documents,
// always with a trailing '/'. Every path of the program is built from it.
QString programFolder();
void setProgramFolder(const QString &folder);

// The executable's folder when it holds db/ (the portable layout of a build); otherwise the
// per-user data folder, seeded from the template database installed beside the program.
QString resolveProgramFolder(const QString &executableFolder);

// Relative paths inside the program folder.
inline constexpr char kDatabaseFile[] = "db/DOZA.dat";
inline constexpr char kBackupFolder[] = "Bak";
