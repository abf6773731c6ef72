#include "TestProgramFolder.h"

#include "data/ProgramFolder.h"

#include <QDir>
#include <QFile>

QString templateDatabasePath()
{
    return QStringLiteral(PANDREL_TEMPLATE_DB);
}

TestProgramFolder::TestProgramFolder(DatabaseSetup setup)
{
    if (!m_dir.isValid())
        return;
    QDir root(m_dir.path());
    for (const char *sub : {"db", "Bak", "Images", "Help"})
        root.mkpath(QString::fromLatin1(sub));
    setProgramFolder(m_dir.path());
    if (setup != DatabaseSetup::Missing && !QFile::copy(templateDatabasePath(), databasePath()))
        return;
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    m_database = std::make_unique<Database>();
    if (setup == DatabaseSetup::Open)
        m_valid = m_database->open();
    else
        m_valid = true;
}

TestProgramFolder::~TestProgramFolder()
{
    m_database.reset();
}

QString TestProgramFolder::path() const
{
    return QDir(m_dir.path()).absolutePath() + '/';
}

QString TestProgramFolder::filePath(const QString &relative) const
{
    return path() + relative;
}
