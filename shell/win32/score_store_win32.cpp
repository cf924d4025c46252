// The Top Ten's store on Windows: the file "highscores.dat" in the current
// directory.
//
// A save holds an exclusive lock (LockFileEx) on "highscores.dat.lock" beside
// the real file, so two copies of the game never store at once. The lock file
// is opened delete-on-close: the system drops the lock and the file with the
// handle, so a killed copy leaves neither behind. The new bytes go to a
// temporary file beside the real one, are flushed to the disk, and take its
// place in one write-through move: after a crash at any moment the file holds
// the old table or the new one, whole. When "highscores.dat" is a link, the
// file it leads to is the one replaced.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "scores/score_store.h"

namespace {

const char* const StoreFileName = "highscores.dat";
// Long enough for any other copy's save, which takes milliseconds.
constexpr DWORD LockWaitMs = 3000;
constexpr DWORD LockRetryMs = 10;
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct LockedStore {
    HANDLE lock = INVALID_HANDLE_VALUE;  // held while this is not INVALID_HANDLE_VALUE
    std::string target;                  // the real file, at the end of any link
};

LockedStore locked;

// The system's words for the error, without the closing full stop and line
// break that the system's messages end with.
bool Fail(StoreError* error, DWORD code) {
    if (error == nullptr) return false;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), error->reason,
                                        sizeof error->reason, nullptr);
    if (length == 0) std::snprintf(error->reason, sizeof error->reason, "error %lu", static_cast<unsigned long>(code));
    std::size_t end = std::strlen(error->reason);
    while (end > 0 && std::strchr(" .\r\n", error->reason[end - 1]) != nullptr) --end;
    error->reason[end] = '\0';
    return false;
}

bool Fail(StoreError* error, const char* reason) {
    if (error != nullptr) std::snprintf(error->reason, sizeof error->reason, "%s", reason);
    return false;
}

// The file that "highscores.dat" leads to; itself when it is no link or does
// not exist yet.
std::string RealFile() {
    const HANDLE file = CreateFileA(StoreFileName, 0, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return StoreFileName;
    char path[MAX_PATH * 2];
    const DWORD length = GetFinalPathNameByHandleA(file, path, sizeof path, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= sizeof path) return StoreFileName;
    return path;
}

bool LockRange(HANDLE file) {
    OVERLAPPED start = {};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start) != 0;
}

// Waits a bounded time for another copy's save to end. A lock file that is
// being deleted by its last user cannot be opened for a moment.
bool TakeLock(const std::string& lockName, StoreError* error) {
    for (DWORD waited = 0;; waited += LockRetryMs) {
        const HANDLE file = CreateFileA(lockName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        DWORD code = GetLastError();
        if (file != INVALID_HANDLE_VALUE) {
            if (LockRange(file)) {
                locked.lock = file;
                return true;
            }
            code = GetLastError();
            CloseHandle(file);
            if (code != ERROR_LOCK_VIOLATION) return Fail(error, code);
        } else if (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) {
            return Fail(error, code);
        }
        if (waited >= LockWaitMs) {
            return code == ERROR_LOCK_VIOLATION ? Fail(error, "another copy of the game kept it locked")
                                                : Fail(error, code);
        }
        Sleep(LockRetryMs);
    }
}

// Replacing a file needs only the folder's permission, so a read-only file
// would be swapped for a writable one: ask the file itself.
bool MayWriteOldFile(StoreError* error) {
    const HANDLE file = CreateFileA(locked.target.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return true;
    }
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return true;
    return Fail(error, code);
}

bool WriteAll(HANDLE file, const uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

// Writes the temporary file in full and flushes it; false with the error
// left for GetLastError.
bool WriteFlushedTemporary(const std::string& temporary, const uint8_t* bytes, std::size_t size) {
    // Only the lock holder writes it, so one left here was a killed save's.
    DeleteFileA(temporary.c_str());
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool done = WriteAll(file, bytes, size) && FlushFileBuffers(file);
    const DWORD code = GetLastError();
    CloseHandle(file);
    SetLastError(code);
    return done;
}

}  // namespace

const char* ScoreStoreName() { return StoreFileName; }

StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    *size = 0;
    const HANDLE file = CreateFileA(StoreFileName, GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return StoreMissing;
        Fail(error, code);
        return StoreFailed;
    }
    while (*size < capacity) {
        DWORD got = 0;
        if (!ReadFile(file, bytes + *size, static_cast<DWORD>(capacity - *size), &got, nullptr)) {
            Fail(error, GetLastError());
            CloseHandle(file);
            return StoreFailed;
        }
        if (got == 0) break;
        *size += got;
    }
    CloseHandle(file);
    return StoreFound;
}

bool LockScoreStore(StoreError* error) {
    const std::string target = RealFile();
    if (!TakeLock(target + ".lock", error)) return false;
    locked.target = target;
    if (!MayWriteOldFile(error)) {
        UnlockScoreStore();
        return false;
    }
    return true;
}

bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error) {
    if (locked.lock == INVALID_HANDLE_VALUE) return Fail(error, ERROR_INVALID_HANDLE);
    const std::string temporary = locked.target + ".tmp";
    if (!WriteFlushedTemporary(temporary, bytes, size) ||
        !MoveFileExA(temporary.c_str(), locked.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileA(temporary.c_str());
        return Fail(error, code);
    }
    return true;
}

void UnlockScoreStore() {
    if (locked.lock != INVALID_HANDLE_VALUE) {
        OVERLAPPED start = {};
        UnlockFileEx(locked.lock, 0, 1, 0, &start);
        CloseHandle(locked.lock);
    }
    locked = LockedStore{};
}
