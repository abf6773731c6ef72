#pragma once

#include <QString>

// What a file operation of the data safety commands came to; `error` holds the system's
// reason for a failure.
struct FileResult {
    bool ok = false;
    QString error;

    static FileResult success() { return {true, {}}; }
    static FileResult failure(const QString &error) { return {false, error}; }
    explicit operator bool() const { return ok; }
};

// Copies `source` byte for byte to `target`, with both files locked against other programs
// for the copy: a source that another program is writing, or a target that another program
// holds, fails. A target that is the source itself (under any name) fails before anything is
// written. A file is copied to `target`.part and renamed over `target` once it is complete and
// flushed to the disk, so a failed or interrupted copy leaves an existing target as it was; a
// device or pipe as target is written directly.
FileResult copyFileBytes(const QString &source, const QString &target);

// True when both paths name the same existing file (links included).
bool isSameFile(const QString &first, const QString &second);

// Flushes a folder's entries (a file created or renamed in it) to the disk.
void syncFolder(const QString &folder);

// Holds a write lock on a whole file for its lifetime. Not held when another program has the
// file locked, such as a database in the middle of a transaction; held when there is no file.
class ExclusiveFileLock
{
public:
    explicit ExclusiveFileLock(const QString &path);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock &) = delete;
    ExclusiveFileLock &operator=(const ExclusiveFileLock &) = delete;

    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};
