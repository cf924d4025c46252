// The Top Ten's store on POSIX systems: the file "highscores.dat" in the
// current directory.
//
// A save takes an exclusive lock on the folder that holds the file, so two
// copies of the game never store at once; the kernel drops the lock with the
// process, so a killed copy never leaves it behind. The new bytes go to a
// temporary file beside the real one, are synced to the disk, and only then
// take its place in one rename, after which the folder is synced too: after a
// crash at any moment the file holds the old table or the new one, whole.
// When "highscores.dat" is a symbolic link, the file it leads to is the one
// replaced, and the link stays as it is.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "scores/score_store.h"

namespace {

const char* const StoreFileName = "highscores.dat";
// Long enough for any other copy's save, which takes milliseconds.
constexpr long LockWaitMs = 3000;
constexpr long LockRetryMs = 10;
// Links are followed this many times before the chain counts as a loop.
constexpr int MaxLinkHops = 40;

struct LockedStore {
    int folder = -1;     // the folder of the real file, locked while this is not -1
    std::string target;  // the real file, at the end of any links
    bool existed = false;
    struct stat old = {};  // the real file as it was, when it existed
};

LockedStore locked;

bool Fail(StoreError* error, int code) {
    if (error != nullptr) std::snprintf(error->reason, sizeof error->reason, "%s", std::strerror(code));
    return false;
}

bool Fail(StoreError* error, const char* reason) {
    if (error != nullptr) std::snprintf(error->reason, sizeof error->reason, "%s", reason);
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file at the end of path's chain of links, which need not exist yet.
bool FollowLinks(std::string& path, int& code) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        char next[4096];
        const ssize_t length = readlink(path.c_str(), next, sizeof next - 1);
        if (length < 0) {
            if (errno == EINVAL || errno == ENOENT) return true;  // not a link, or nothing there yet
            code = errno;
            return false;
        }
        next[length] = '\0';
        path = next[0] == '/' ? std::string(next) : FolderOf(path) + "/" + next;
    }
    code = ELOOP;
    return false;
}

void SleepMs(long ms) {
    timespec pause = {0, ms * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

// Waits a bounded time for another copy's save to end. A file system without
// locks (some network shares) gets the old behaviour: saving unlocked.
bool LockFolder(int folder, StoreError* error) {
    for (long waited = 0;; waited += LockRetryMs) {
        if (flock(folder, LOCK_EX | LOCK_NB) == 0) return true;
        const int code = errno;
        if (code == ENOLCK || code == EOPNOTSUPP || code == EBADF) return true;
        if (code != EWOULDBLOCK && code != EINTR) return Fail(error, code);
        if (waited >= LockWaitMs) return Fail(error, "another copy of the game kept it locked");
        SleepMs(LockRetryMs);
    }
}

// Replacing a file only needs the folder's permission, so a read-only file
// would be swapped for a writable one of this user's: ask the file itself.
bool MayWriteOldFile(StoreError* error) {
    const int file = open(locked.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0) return Fail(error, errno);
    close(file);
    return true;
}

bool WriteAll(int file, const uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The new file keeps the old one's permissions and, where this user may
// give them, its owner and group: a table shared in a group folder stays
// shared.
void KeepOldOwnership(int file) {
    if (!locked.existed) return;
    if (fchmod(file, locked.old.st_mode & 0777) != 0) return;
    if (fchown(file, static_cast<uid_t>(-1), locked.old.st_gid) != 0) return;
    if (fchown(file, locked.old.st_uid, static_cast<gid_t>(-1)) != 0) return;
}

// Writes the temporary file in full and syncs it; false with errno set.
bool WriteSyncedTemporary(const std::string& temporary, const uint8_t* bytes, std::size_t size) {
    // Only the lock holder writes it, so one left here was a killed save's.
    unlink(temporary.c_str());
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file < 0) return false;
    KeepOldOwnership(file);
    bool done = WriteAll(file, bytes, size) && fsync(file) == 0;
    int code = errno;
    if (close(file) != 0 && done) {
        done = false;
        code = errno;
    }
    errno = code;
    return done;
}

}  // namespace

const char* ScoreStoreName() { return StoreFileName; }

StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    *size = 0;
    const int file = open(StoreFileName, O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        if (errno == ENOENT) return StoreMissing;
        Fail(error, errno);
        return StoreFailed;
    }
    while (*size < capacity) {
        const ssize_t got = read(file, bytes + *size, capacity - *size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(error, errno);
            close(file);
            return StoreFailed;
        }
        if (got == 0) break;
        *size += static_cast<std::size_t>(got);
    }
    close(file);
    return StoreFound;
}

bool LockScoreStore(StoreError* error) {
    std::string target = StoreFileName;
    int code = 0;
    if (!FollowLinks(target, code)) return Fail(error, code);
    const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return Fail(error, errno);
    if (!LockFolder(folder, error)) {
        close(folder);
        return false;
    }
    locked.folder = folder;
    locked.target = target;
    locked.existed = lstat(target.c_str(), &locked.old) == 0;
    if (locked.existed && !MayWriteOldFile(error)) {
        UnlockScoreStore();
        return false;
    }
    return true;
}

bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error) {
    if (locked.folder < 0) return Fail(error, EBADF);
    const std::string temporary = locked.target + ".tmp";
    if (!WriteSyncedTemporary(temporary, bytes, size) || rename(temporary.c_str(), locked.target.c_str()) != 0) {
        const int code = errno;
        unlink(temporary.c_str());
        return Fail(error, code);
    }
    // The rename is what the folder must keep. The new table is in place
    // already, so a folder that cannot be synced is not a failed save.
    fsync(locked.folder);
    return true;
}

void UnlockScoreStore() {
    if (locked.folder >= 0) {
        flock(locked.folder, LOCK_UN);
        close(locked.folder);
    }
    locked = LockedStore{};
}
