#pragma once

#include "data/Database.h"

#include <QTemporaryDir>
#include <memory>

// A program folder of its own for one test case: a copy of the template database in db/,
// the empty Bak/, Images/ and Help/ folders, made the program folder, and (unless asked
// otherwise) a data module opened on it. Ends with the test case.
class TestProgramFolder
{
public:
    enum class DatabaseSetup { Open, CopyOnly, Missing };
    explicit TestProgramFolder(DatabaseSetup setup = DatabaseSetup::Open);
    ~TestProgramFolder();

    bool isValid() const { return m_valid; }
    QString path() const;                  // with trailing '/'
    QString filePath(const QString &relative) const;
    QString databasePath() const { return filePath(QStringLiteral("db/DOZA.dat")); }
    Database &database() { return *m_database; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
    bool m_valid = false;
};

// The pristine template database of this build.
QString templateDatabasePath();
