// The Top Ten's store on POSIX systems and on Windows: the file
// "highscores.dat" in the current directory, saved by one set of rules over
// the system's own calls (shell/common/score_file_system.h).
//
// A save opens what the name leads to (a link is followed and stays as it
// is; a missing file is made, empty, to have a file to lock) and takes the
// lock that belongs to it, which the system drops with the process, so a
// killed copy never leaves it behind. A regular file is replaced whole: the
// new bytes go to a temporary file beside it, are synced to the disk, and
// only then take its place in one rename, after which the folder is synced
// too; after a crash at any moment the file holds the old table or the new
// one, whole. Where the temporary file or the rename cannot be had (a
// read-only folder, another user's file in a sticky shared one, a leftover
// that cannot be removed) but the file itself may be written, it is written
// in place: the new bytes from the start, then the file cut to their length,
// then synced, so that a kill at any step leaves the old table or the new
// one (a read ignores whatever follows the table). Anything else the name
// leads to (a device such as /dev/null, a FIFO) is only written, and nothing
// is ever waited on but another copy's lock, for a bounded time. A failed
// save leaves the folder as it found it.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "scores/score_codec.h"
#include "scores/score_store.h"
#include "shell/common/score_file_system.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const StoreFileName = "highscores.dat";
// Long enough for any other copy's save, which takes milliseconds.
constexpr auto LockWait = std::chrono::milliseconds(3000);
constexpr long RetryMs = 10;
// A lock granted on a file the name no longer seems to lead to is tried
// again this many times: another copy's replace shows at once, a file system
// whose two answers never agree (some overlay and FUSE ones) never does.
constexpr int MostDisagreements = 20;
// A temporary file left this long (by the file system's clock) belongs to
// no running save: a save over a network takes seconds at most, and the
// machines' clocks need not agree.
constexpr std::int64_t AbandonedAfterSeconds = 60;
// A byte that never pairs with a 0x0D before it, written after new bytes
// that end in one, for as long as an old tail follows them.
constexpr std::uint8_t TailGuard = 0x00;
constexpr std::uint8_t CarriageReturn = 0x0D;

struct LockedStore {
    bool open = false;    // between LockScoreStore and UnlockScoreStore
    SystemFile file;      // a regular file open to read and write, anything else to write only
    bool locked = false;  // false where the file system offers no lock
    bool made = false;    // made, empty, by this save to have a file to lock
    std::string target;   // the real file, at the end of any links
};

LockedStore store;

bool Fail(StoreError* error, SystemError code) {
    if (error != nullptr) DescribeError(code, error->reason, sizeof error->reason);
    return false;
}

bool Fail(StoreError* error, const char* reason) {
    if (error != nullptr) std::snprintf(error->reason, sizeof error->reason, "%s", reason);
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::size_t end = path.find_last_of(PathSeparators);
    if (end == std::string::npos) return ".";
    return end == 0 ? path.substr(0, 1) : path.substr(0, end);
}

std::string NameOf(const std::string& path) {
    const std::size_t end = path.find_last_of(PathSeparators);
    return end == std::string::npos ? path : path.substr(end + 1);
}

// The path of the file called name in path's folder.
std::string Beside(const std::string& path, const std::string& name) {
    return path.substr(0, path.size() - NameOf(path).size()) + name;
}

// A file this save made only to lock it goes again while nothing is stored
// in it and the name still leads to it, so that a failed save, or one that
// never wrote, leaves the folder as it was. Closes the file either way.
void CloseRemovingMadeFile() {
    std::uint64_t length = 1;
    if (store.made && store.file.kind == RegularFile && FileLength(store.file, &length) == 0 && length == 0 &&
        NameLeadsToFile(store.file, store.target)) {
        RemoveFile(store.target);
    }
    CloseFile(&store.file);
}

// Opens and locks what the name leads to, waiting a bounded time for another
// copy's save to end. That copy may have replaced the file meanwhile, so a
// lock counts only on the file the name leads to now. A file system without
// locks gets a save without one. Every pass checks the time and pauses.
bool OpenAndLockTarget(StoreError* error) {
    const Clock::time_point deadline = Clock::now() + LockWait;
    for (int disagreements = 0;;) {
        bool made = false;
        const SystemError opened = OpenOrMakeTarget(StoreFileName, &store.file, &store.target, &made);
        if (opened != 0) return Fail(error, opened);
        store.made = store.made || made;
        if (store.file.kind == OtherFile) return true;  // nothing there to keep whole
        const LockOutcome lock = LockOpenFile(&store.file, store.target);
        if (lock == LockUnavailable) return true;
        if (lock == LockTaken &&
            (NameLeadsToFile(store.file, store.target) || ++disagreements > MostDisagreements)) {
            store.locked = true;
            return true;
        }
        if (Clock::now() >= deadline) {
            CloseRemovingMadeFile();
            return Fail(error, "another copy of the game kept it locked");
        }
        CloseFile(&store.file);
        PauseMs(RetryMs);
    }
}

SystemError WriteSynced(const SystemFile& file, const std::uint8_t* bytes, std::size_t size) {
    const SystemError written = WriteAt(file, 0, bytes, size);
    return written != 0 ? written : SyncFile(file);
}

// Only a lock holder writes "highscores.dat.tmp", so one found there was
// left by a killed save. A save without the lock takes a name of its own,
// so that saves on machines that cannot lock never write into each other's.
std::string TemporaryName() {
    const std::string shared = store.target + ".tmp";
    return store.locked ? shared : shared + "." + UniqueNamePart();
}

// Killed saves' temporary files, found beside the one just written, go once
// they are older than it by a margin that no running save reaches.
void RemoveAbandonedTemporaries(const std::string& justWritten) {
    std::int64_t now = 0;
    std::vector<std::string> names;
    if (ModifiedTime(justWritten, &now) != 0 || ListFolder(FolderOf(justWritten), &names) != 0) return;
    const std::string prefix = NameOf(store.target) + ".tmp";
    const std::string own = NameOf(justWritten);
    for (const std::string& name : names) {
        if (name == own || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = Beside(justWritten, name);
        std::int64_t written = 0;
        if (ModifiedTime(path, &written) == 0 && now - written > AbandonedAfterSeconds) RemoveFile(path);
    }
}

enum ReplaceOutcome {
    Replaced,
    NoReplaceToBeHad,  // the temporary file or the rename refused: the file may be written in place
    NewBytesNotKept,   // the disk took no new bytes (full, failing): the old table must stay as it is
};

// Unless the new bytes have replaced the file whole, the temporary file is
// gone again.
ReplaceOutcome ReplaceWhole(const std::uint8_t* bytes, std::size_t size, SystemError* code) {
    const std::string temporary = TemporaryName();
    if (store.locked) RemoveFile(temporary);
    SystemFile file;
    if (MakeNewFile(temporary, store.file, &file) != 0) return NoReplaceToBeHad;
    *code = WriteSynced(file, bytes, size);
    const SystemError closed = CloseFile(&file);
    if (*code == 0) *code = closed;
    if (*code != 0) {
        RemoveFile(temporary);
        return NewBytesNotKept;
    }
    RemoveAbandonedTemporaries(temporary);
    if (RenameFile(temporary, store.target, &store.file) != 0) {
        RemoveFile(temporary);
        return NoReplaceToBeHad;
    }
    // The new table is in place already, so a folder that cannot be synced
    // is not a failed save.
    SyncFolder(FolderOf(store.target));
    return Replaced;
}

// From the start, so that the old table stays until the new bytes are
// there, then cut to their length. Until the cut an old tail may follow
// them; new bytes that end in a 0x0D get a guard after them, which keeps
// that 0x0D from reading as the first of a stored pair with an old 0x0A.
SystemError WriteInPlace(const std::uint8_t* bytes, std::size_t size) {
    if (store.file.kind == OtherFile) return WriteAt(store.file, 0, bytes, size);
    std::uint8_t guarded[HighScoreStoredMaxSize + 1];
    const bool guard = size > 0 && size <= HighScoreStoredMaxSize && bytes[size - 1] == CarriageReturn;
    if (guard) {
        std::memcpy(guarded, bytes, size);
        guarded[size] = TailGuard;
    }
    SystemError code = WriteAt(store.file, 0, guard ? guarded : bytes, size + (guard ? 1 : 0));
    if (code == 0) code = CutToLength(store.file, size);
    if (code == 0) code = SyncFile(store.file);
    return code;
}

StoreReadResult ReadAll(const SystemFile& file, std::uint8_t* bytes, std::size_t capacity, std::size_t* size,
                        StoreError* error) {
    while (*size < capacity) {
        std::size_t got = 0;
        const SystemError code = ReadAt(file, *size, bytes + *size, capacity - *size, &got);
        if (code != 0) {
            Fail(error, code);
            return StoreFailed;
        }
        if (got == 0) break;
        *size += got;
    }
    return StoreFound;
}

}  // namespace

const char* ScoreStoreName() { return StoreFileName; }

StoreReadResult ReadScoreStore(std::uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    *size = 0;
    // Under the lock, through the locked file: on POSIX, closing any other
    // descriptor of the file would let go of a process's record lock. A file
    // made only to be locked is no stored table.
    if (store.open && store.file.kind == RegularFile) {
        const StoreReadResult result = ReadAll(store.file, bytes, capacity, size, error);
        return result == StoreFound && *size == 0 && store.made ? StoreMissing : result;
    }
    SystemFile file;
    const SystemError opened = OpenToRead(StoreFileName, &file);
    if (opened != 0) {
        if (MeansNotFound(opened)) return StoreMissing;
        Fail(error, opened);
        return StoreFailed;
    }
    const StoreReadResult result = ReadAll(file, bytes, capacity, size, error);
    CloseFile(&file);
    return result;
}

bool LockScoreStore(StoreError* error) {
    store = LockedStore{};
    if (!OpenAndLockTarget(error)) {
        store = LockedStore{};
        return false;
    }
    store.open = true;
    return true;
}

// Whatever refuses the temporary file or the rename, the file itself was
// opened to be written when it was locked, so it may be written in place.
bool ReplaceScoreStore(const std::uint8_t* bytes, std::size_t size, StoreError* error) {
    if (!store.open) return Fail(error, "it was not locked first");
    if (store.file.kind == RegularFile) {
        SystemError code = 0;
        const ReplaceOutcome outcome = ReplaceWhole(bytes, size, &code);
        if (outcome == Replaced) return true;
        if (outcome == NewBytesNotKept) return Fail(error, code);
    }
    const SystemError code = WriteInPlace(bytes, size);
    return code == 0 || Fail(error, code);
}

void UnlockScoreStore() {
    if (store.open) CloseRemovingMadeFile();  // which lets go of the lock
    store = LockedStore{};
}
