#pragma once

#include <QString>

// A folder that nobody can write into, the superuser included (who ignores permissions, so
// the folder is also made immutable). Writable again when this ends.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False when the machine does not allow it (a superuser without the right to make files
    // immutable); the test should then be skipped.
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

private:
    void setImmutable(bool on);

    QString m_path;
    bool m_readOnly = false;
};
