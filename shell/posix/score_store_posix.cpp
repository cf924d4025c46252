// The Top Ten's store on POSIX systems: the file "highscores.dat" in the
// current directory.
//
// A save locks the file itself with a record lock (shell/posix/
// record_lock_posix.h), which the kernel drops with the process, so a killed
// copy never leaves it behind, and which holds between machines sharing a
// network folder. A regular file is replaced whole: the new bytes go to a
// temporary file beside it, are synced to the disk, and only then take its
// place in one rename, after which the folder is synced too; after a crash at
// any moment the file holds the old table or the new one, whole. Where the
// folder refuses the temporary file or the rename (a read-only folder,
// another user's file in a sticky shared one) but the file itself may be
// written, it is written in place. Anything else the name leads to (a device
// such as /dev/null, a FIFO) is written in place and never replaced, and
// nothing is ever waited on: every open is non-blocking. When
// "highscores.dat" is a symbolic link, the file it leads to is the one
// locked and written, and the link stays as it is.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "scores/score_store.h"
#include "shell/posix/record_lock_posix.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const StoreFileName = "highscores.dat";
// Long enough for any other copy's save, which takes milliseconds.
constexpr auto LockWait = std::chrono::milliseconds(3000);
constexpr long LockRetryMs = 10;
// Links are followed this many times before the chain counts as a loop.
constexpr int MaxLinkHops = 40;
constexpr int OpenFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

enum TargetKind { NotOpen, RegularFile, SpecialFile };

struct LockedStore {
    TargetKind kind = NotOpen;
    int file = -1;         // a regular file open to read and write, anything else to write only
    bool locked = false;   // false where the file system offers no lock
    bool created = false;  // made, empty, by this save to have a file to lock
    std::string target;    // the real file, at the end of any links
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

bool SameFile(int file, const std::string& path) {
    struct stat opened, named;
    return fstat(file, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

void CloseTarget() {
    if (locked.file >= 0) close(locked.file);
    locked.file = -1;
    locked.kind = NotOpen;
    locked.created = false;
}

// Opens whatever the name leads to without waiting on it. A regular file is
// opened to read and write (a read-only one is refused here) and made, empty,
// when there is none yet, since the lock needs a file; anything else is
// opened to write only, so that a FIFO without a reader refuses at once.
bool OpenTarget(StoreError* error) {
    const char* target = locked.target.c_str();
    int file = open(target, O_RDWR | OpenFlags);
    if (file < 0 && errno == ENOENT) {
        file = open(target, O_RDWR | O_CREAT | O_EXCL | OpenFlags, 0666);
        locked.created = file >= 0;
        if (file < 0 && errno == EEXIST) file = open(target, O_RDWR | OpenFlags);  // another copy made it first
    }
    if (file < 0) return Fail(error, errno);
    struct stat opened;
    if (fstat(file, &opened) != 0) {
        const int code = errno;
        close(file);
        return Fail(error, code);
    }
    locked.kind = RegularFile;
    if (!S_ISREG(opened.st_mode)) {
        close(file);
        file = open(target, O_WRONLY | OpenFlags);
        if (file < 0) return Fail(error, errno);
        locked.kind = SpecialFile;
    }
    locked.file = file;
    return true;
}

// Waits a bounded time for another copy's save to end. That copy may have
// replaced the file meanwhile, so a lock counts only on the file the name
// leads to now. A file system without locks gets a save without one.
bool LockTarget(StoreError* error) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        if (!OpenTarget(error)) return false;
        if (locked.kind == SpecialFile) return true;  // nothing there to keep whole
        const int code = TryRecordLock(locked.file);
        if (code == 0 && SameFile(locked.file, locked.target)) {
            locked.locked = true;
            return true;
        }
        if (code != 0 && code != EAGAIN && code != EACCES && code != EINTR) return true;
        CloseTarget();
        if (code == 0) continue;  // replaced while this copy waited
        if (Clock::now() - start >= LockWait) return Fail(error, "another copy of the game kept it locked");
        SleepMs(LockRetryMs);
    }
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

// Only a lock holder writes "highscores.dat.tmp", so one found there was
// left by a killed save. A save without the lock takes a name of its own,
// so that saves on machines that cannot lock never write into each other's.
std::string TemporaryName() {
    const std::string shared = locked.target + ".tmp";
    if (locked.locked) return shared;
    std::random_device random;
    return shared + "." + std::to_string(getpid()) + "." + std::to_string(random());
}

// The new file keeps the old one's permissions and, where this user may
// give them, its owner and group: a table shared in a group folder stays
// shared.
void KeepOldOwnership(int file) {
    struct stat old;
    if (fstat(locked.file, &old) != 0) return;
    if (fchmod(file, old.st_mode & 0777) != 0) return;
    if (fchown(file, static_cast<uid_t>(-1), old.st_gid) != 0) return;
    if (fchown(file, old.st_uid, static_cast<gid_t>(-1)) != 0) return;
}

// Writes the temporary file in full and syncs it; false with errno set.
bool WriteSyncedTemporary(const std::string& temporary, const uint8_t* bytes, std::size_t size) {
    if (locked.locked) unlink(temporary.c_str());
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

// The rename is what the folder must keep. The new table is in place
// already, so a folder that cannot be synced is not a failed save.
void SyncFolder() {
    const int folder = open(FolderOf(locked.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

// 0 when the new bytes have replaced the file whole; otherwise the errno of
// the step that failed, with the temporary file gone again.
int ReplaceRegularFile(const uint8_t* bytes, std::size_t size) {
    const std::string temporary = TemporaryName();
    if (!WriteSyncedTemporary(temporary, bytes, size) || rename(temporary.c_str(), locked.target.c_str()) != 0) {
        const int code = errno;
        unlink(temporary.c_str());
        return code;
    }
    SyncFolder();
    return 0;
}

// A regular file is truncated, written and synced; a device or a FIFO only
// written, since the rest means nothing there. False with errno set.
bool WriteInPlace(const uint8_t* bytes, std::size_t size) {
    if (locked.kind == SpecialFile) return WriteAll(locked.file, bytes, size);
    return ftruncate(locked.file, 0) == 0 && lseek(locked.file, 0, SEEK_SET) == 0 &&
           WriteAll(locked.file, bytes, size) && fsync(locked.file) == 0;
}

StoreReadResult ReadAll(int file, uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    while (*size < capacity) {
        const ssize_t got = read(file, bytes + *size, capacity - *size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(error, errno);
            return StoreFailed;
        }
        if (got == 0) break;
        *size += static_cast<std::size_t>(got);
    }
    return StoreFound;
}

}  // namespace

const char* ScoreStoreName() { return StoreFileName; }

StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    *size = 0;
    // Under the lock, through the locked descriptor: closing any other
    // descriptor of the file would let go of a process's record lock. A file
    // made only to be locked is no stored table.
    if (locked.kind == RegularFile) {
        if (lseek(locked.file, 0, SEEK_SET) != 0) {
            Fail(error, errno);
            return StoreFailed;
        }
        const StoreReadResult result = ReadAll(locked.file, bytes, capacity, size, error);
        return result == StoreFound && *size == 0 && locked.created ? StoreMissing : result;
    }
    const int file = open(StoreFileName, O_RDONLY | OpenFlags);
    if (file < 0) {
        if (errno == ENOENT) return StoreMissing;
        Fail(error, errno);
        return StoreFailed;
    }
    const StoreReadResult result = ReadAll(file, bytes, capacity, size, error);
    close(file);
    return result;
}

bool LockScoreStore(StoreError* error) {
    std::string target = StoreFileName;
    int code = 0;
    if (!FollowLinks(target, code)) return Fail(error, code);
    locked.target = target;
    if (LockTarget(error)) return true;
    CloseTarget();
    locked = LockedStore{};
    return false;
}

// Where the folder refuses the replace, the file itself was opened to be
// written when it was locked, so it may be written in place.
bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error) {
    if (locked.kind == NotOpen) return Fail(error, EBADF);
    if (locked.kind == RegularFile) {
        const int code = ReplaceRegularFile(bytes, size);
        if (code == 0) return true;
        if (code != EACCES && code != EPERM) return Fail(error, code);
    }
    if (!WriteInPlace(bytes, size)) return Fail(error, errno);
    return true;
}

// A file made only to be locked goes again when nothing was stored in it, so
// that a failed save leaves the folder as it was.
void UnlockScoreStore() {
    struct stat opened;
    if (locked.created && fstat(locked.file, &opened) == 0 && opened.st_size == 0 &&
        SameFile(locked.file, locked.target)) {
        unlink(locked.target.c_str());
    }
    CloseTarget();  // which lets go of the lock
    locked = LockedStore{};
}
