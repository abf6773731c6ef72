#include "data/MappedReadVfs.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *kName = "mapped-read";

// Our file object, followed in the same allocation by the default VFS's own.
struct MappedFile {
    sqlite3_file base;
    sqlite3_file *real;
    const char *map;
    sqlite3_int64 size;
};

sqlite3_vfs *defaultVfs()
{
    static sqlite3_vfs *const vfs = sqlite3_vfs_find(nullptr);
    return vfs;
}

sqlite3_file *realOf(sqlite3_file *file)
{
    return reinterpret_cast<MappedFile *>(file)->real;
}

int mappedRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    const MappedFile *mapped = reinterpret_cast<MappedFile *>(file);
    if (!mapped->map)
        return mapped->real->pMethods->xRead(mapped->real, buffer, amount, offset);
    const sqlite3_int64 available = offset >= mapped->size ? 0 : std::min<sqlite3_int64>(amount, mapped->size - offset);
    if (available > 0)
        std::memcpy(buffer, mapped->map + offset, size_t(available));
    if (available == amount)
        return SQLITE_OK;
    // SQLite relies on the rest being zeroed after a short read.
    std::memset(static_cast<char *>(buffer) + available, 0, size_t(amount - available));
    return SQLITE_IOERR_SHORT_READ;
}

int mappedClose(sqlite3_file *file)
{
    MappedFile *mapped = reinterpret_cast<MappedFile *>(file);
    if (mapped->map)
        ::munmap(const_cast<char *>(mapped->map), size_t(mapped->size));
    mapped->map = nullptr;
    return mapped->real->pMethods ? mapped->real->pMethods->xClose(mapped->real) : SQLITE_OK;
}

// Everything but reading and closing goes to the default VFS's file as it is.
const sqlite3_io_methods kMappedMethods = {
    1,
    mappedClose,
    mappedRead,
    [](sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset) {
        return realOf(file)->pMethods->xWrite(realOf(file), data, amount, offset);
    },
    [](sqlite3_file *file, sqlite3_int64 size) { return realOf(file)->pMethods->xTruncate(realOf(file), size); },
    [](sqlite3_file *file, int flags) { return realOf(file)->pMethods->xSync(realOf(file), flags); },
    [](sqlite3_file *file, sqlite3_int64 *size) { return realOf(file)->pMethods->xFileSize(realOf(file), size); },
    [](sqlite3_file *file, int lock) { return realOf(file)->pMethods->xLock(realOf(file), lock); },
    [](sqlite3_file *file, int lock) { return realOf(file)->pMethods->xUnlock(realOf(file), lock); },
    [](sqlite3_file *file, int *reserved) {
        return realOf(file)->pMethods->xCheckReservedLock(realOf(file), reserved);
    },
    [](sqlite3_file *file, int operation, void *argument) {
        return realOf(file)->pMethods->xFileControl(realOf(file), operation, argument);
    },
    [](sqlite3_file *file) { return realOf(file)->pMethods->xSectorSize(realOf(file)); },
    [](sqlite3_file *file) { return realOf(file)->pMethods->xDeviceCharacteristics(realOf(file)); },
    // Version 1: no shared memory for a write-ahead log, and no pages lent out by SQLite itself.
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

// Maps a whole read-only main database file; any other file, or one that cannot be mapped, is
// read the ordinary way.
void mapIfReadOnlyDatabase(MappedFile &mapped, const char *name, int flags)
{
    if (!name || !(flags & SQLITE_OPEN_MAIN_DB) || !(flags & SQLITE_OPEN_READONLY))
        return;
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        // Populated at once: one call instead of a page fault for every few pages.
        void *map = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
        if (map != MAP_FAILED) {
            ::madvise(map, size_t(info.st_size), MADV_SEQUENTIAL);
            mapped.map = static_cast<const char *>(map);
            mapped.size = info.st_size;
        }
    }
    ::close(fd);
}

int mappedOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    MappedFile *mapped = reinterpret_cast<MappedFile *>(file);
    mapped->base.pMethods = nullptr;
    mapped->real = reinterpret_cast<sqlite3_file *>(mapped + 1);
    mapped->map = nullptr;
    mapped->size = 0;
    const int result = defaultVfs()->xOpen(defaultVfs(), name, mapped->real, flags, outFlags);
    if (result != SQLITE_OK)
        return result;
    mapIfReadOnlyDatabase(*mapped, name, flags);
    mapped->base.pMethods = &kMappedMethods;
    return SQLITE_OK;
}

} // namespace

const char *mappedReadVfsName()
{
    static std::once_flag registered;
    static sqlite3_vfs vfs;
    std::call_once(registered, [] {
        vfs = *defaultVfs();
        vfs.szOsFile = int(sizeof(MappedFile)) + defaultVfs()->szOsFile;
        vfs.zName = kName;
        vfs.xOpen = mappedOpen;
        vfs.pNext = nullptr;
        sqlite3_vfs_register(&vfs, 0);
    });
    return kName;
}
