#pragma once

#include "data/TDM.h"

#include <QTemporaryDir>
#include <memory>

// A program folder of its own for one test case: a copy of the template database in db/,
// the empty Bak/, Images/ and Help/ folders, made the program folder, and (unless asked
// otherwise) a data module opened on it. Ends with the test case.
class TestProgramFolder
{
public:
    enum class Database { Open, CopyOnly, Missing };
    explicit TestProgramFolder(Database database = Database::Open);
    ~TestProgramFolder();

    bool isValid() const { return m_valid; }
    QString path() const;                  // with trailing '/'
    QString filePath(const QString &relative) const;
    QString databasePath() const { return filePath(QStringLiteral("db/DOZA.dat")); }
    TDM &dm() { return *m_dm; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;
    bool m_valid = false;
};

// The pristine template database of this build.
QString templateDatabasePath();
