// The Top Ten file's calls on POSIX systems (shell/common/score_file_system.h).
// The lock is a record lock on the file itself (shell/posix/record_lock_posix.h),
// which holds between machines sharing a network folder. Every open is
// non-blocking, so that nothing waits on a FIFO.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

#include "shell/common/score_file_system.h"
#include "shell/posix/record_lock_posix.h"

namespace {

// Links are followed this many times before the chain counts as a loop.
constexpr int MaxLinkHops = 40;
constexpr int OpenFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

int Descriptor(const SystemFile& file) { return static_cast<int>(file.handle); }

SystemError LastError() { return static_cast<SystemError>(errno); }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file at the end of path's chain of links, which need not exist yet.
SystemError FollowLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        char next[4096];
        const ssize_t length = readlink(path.c_str(), next, sizeof next - 1);
        if (length < 0) return errno == EINVAL || errno == ENOENT ? 0 : LastError();  // not a link, or nothing yet
        next[length] = '\0';
        path = next[0] == '/' ? std::string(next) : FolderOf(path) + "/" + next;
    }
    return ELOOP;
}

// The new file keeps the old one's permissions and, where this user may
// give them, its owner and group: a table shared in a group folder stays
// shared.
void KeepOwnership(int file, const SystemFile& like) {
    struct stat old;
    if (fstat(Descriptor(like), &old) != 0) return;
    if (fchmod(file, old.st_mode & 0777) != 0) return;
    if (fchown(file, static_cast<uid_t>(-1), old.st_gid) != 0) return;
    if (fchown(file, old.st_uid, static_cast<gid_t>(-1)) != 0) return;
}

}  // namespace

const char* const PathSeparators = "/";

SystemError OpenOrMakeTarget(const char* name, SystemFile* file, std::string* target, bool* made) {
    *target = name;
    if (const SystemError code = FollowLinks(*target)) return code;
    const char* path = target->c_str();
    int opened = open(path, O_RDWR | OpenFlags);
    if (opened < 0 && errno == ENOENT) {
        opened = open(path, O_RDWR | O_CREAT | O_EXCL | OpenFlags, 0666);
        *made = opened >= 0;
        if (opened < 0 && errno == EEXIST) opened = open(path, O_RDWR | OpenFlags);  // another copy made it first
    }
    if (opened < 0) return LastError();
    struct stat status;
    if (fstat(opened, &status) != 0) {
        const SystemError code = LastError();
        close(opened);
        return code;
    }
    file->kind = RegularFile;
    if (!S_ISREG(status.st_mode)) {
        // Write only, so that a FIFO without a reader refuses at once.
        close(opened);
        opened = open(path, O_WRONLY | OpenFlags);
        if (opened < 0) return LastError();
        file->kind = OtherFile;
    }
    file->handle = opened;
    return 0;
}

SystemError OpenToRead(const char* name, SystemFile* file) {
    const int opened = open(name, O_RDONLY | OpenFlags);
    if (opened < 0) return LastError();
    file->handle = opened;
    return 0;
}

bool MeansNotFound(SystemError code) { return code == ENOENT; }

LockOutcome LockOpenFile(SystemFile* file, const std::string&) {
    const int code = TryRecordLock(Descriptor(*file));
    if (code == 0) return LockTaken;
    return code == EAGAIN || code == EACCES || code == EINTR ? LockBusy : LockUnavailable;
}

bool NameLeadsToFile(const SystemFile& file, const std::string& path) {
    struct stat opened, named;
    return fstat(Descriptor(file), &opened) == 0 && stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

SystemError FileLength(const SystemFile& file, std::uint64_t* length) {
    struct stat status;
    if (fstat(Descriptor(file), &status) != 0) return LastError();
    *length = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

SystemError ReadAt(const SystemFile& file, std::uint64_t offset, std::uint8_t* bytes, std::size_t capacity,
                   std::size_t* got) {
    for (;;) {
        const ssize_t read = pread(Descriptor(file), bytes, capacity, static_cast<off_t>(offset));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return LastError();
        *got = static_cast<std::size_t>(read);
        return 0;
    }
}

SystemError WriteAt(const SystemFile& file, std::uint64_t offset, const std::uint8_t* bytes, std::size_t size) {
    bool inTurn = false;  // a FIFO or a terminal, which has no offsets
    while (size > 0) {
        ssize_t written = inTurn ? write(Descriptor(file), bytes, size)
                                 : pwrite(Descriptor(file), bytes, size, static_cast<off_t>(offset));
        if (written < 0 && errno == ESPIPE && !inTurn) {
            inTurn = true;
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return LastError();
        if (written == 0) return EIO;
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return 0;
}

SystemError CutToLength(const SystemFile& file, std::uint64_t length) {
    return ftruncate(Descriptor(file), static_cast<off_t>(length)) == 0 ? 0 : LastError();
}

SystemError SyncFile(const SystemFile& file) { return fsync(Descriptor(file)) == 0 ? 0 : LastError(); }

SystemError CloseFile(SystemFile* file) {
    SystemError code = 0;
    if (file->handle >= 0 && close(Descriptor(*file)) != 0) code = LastError();
    *file = SystemFile{};
    return code;
}

SystemError MakeNewFile(const std::string& path, const SystemFile& like, SystemFile* file) {
    const int made = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (made < 0) return LastError();
    KeepOwnership(made, like);
    file->handle = made;
    return 0;
}

SystemError RenameFile(const std::string& from, const std::string& to, SystemFile*) {
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : LastError();
}

SystemError SyncFolder(const std::string& folder) {
    const int opened = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0) return LastError();
    const SystemError code = fsync(opened) == 0 ? 0 : LastError();
    close(opened);
    return code;
}

SystemError RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0 ? 0 : LastError(); }

SystemError ListFolder(const std::string& folder, std::vector<std::string>* names) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return LastError();
    while (const dirent* entry = readdir(listing)) names->emplace_back(entry->d_name);
    closedir(listing);
    return 0;
}

SystemError ModifiedTime(const std::string& path, std::int64_t* seconds) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return LastError();
    *seconds = static_cast<std::int64_t>(status.st_mtime);
    return 0;
}

std::string UniqueNamePart() {
    std::random_device random;
    return std::to_string(getpid()) + "." + std::to_string(random());
}

void DescribeError(SystemError code, char* text, std::size_t size) {
    std::snprintf(text, size, "%s", std::strerror(static_cast<int>(code)));
}

void PauseMs(long ms) {
    timespec pause = {0, ms * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}
