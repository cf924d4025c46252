// The Top Ten's store on Windows: the file "highscores.dat" in the current
// directory, reached through the wide-character calls only, so that a folder
// named in any script (a player's name in %APPDATA%, say) works.
//
// A save holds an exclusive lock (shell/win32/range_lock_win32.h) on
// "highscores.dat.lock" beside the real file, so two copies of the game never
// store at once. The lock file is opened delete-on-close: the system drops
// the lock and the file with the handle, so a killed copy leaves neither
// behind. Where no lock can be had (a share without byte-range locks, a
// folder that refuses new files) the save goes on at once without one, under
// a temporary name of its own. The new bytes go to a temporary file beside
// the real one, are flushed to the disk, and take its place in one
// write-through move: after a crash at any moment the file holds the old
// table or the new one, whole. Where the folder refuses the temporary file or
// the move but the file itself may be written, it is written in place. When
// "highscores.dat" is a link, the file it leads to is the one written.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "scores/score_store.h"
#include "shell/win32/range_lock_win32.h"

namespace {

const wchar_t* const StoreFileName = L"highscores.dat";
// Long enough for any other copy's save, which takes milliseconds.
constexpr DWORD LockWaitMs = 3000;
constexpr DWORD LockRetryMs = 10;
// Another copy reading the old file keeps it from being replaced for a
// moment; a file that stays so is written in place instead.
constexpr DWORD MoveWaitMs = 200;
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The longest path the wide-character calls take, in characters.
constexpr DWORD LongestPath = 32768;

struct LockedStore {
    bool open = false;                   // between LockScoreStore and UnlockScoreStore
    HANDLE lock = INVALID_HANDLE_VALUE;  // the locked lock file; none while saving without a lock
    bool created = false;                // made, empty, by this save to learn where it is
    std::wstring target;                 // the real file, at the end of any link
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

// The file that "highscores.dat" leads to. A link that leads to no file yet
// cannot be told from no file at all, so a missing file is made, empty,
// through the name (not as a new name, which a link already is): a link then
// gets the file it names, as on POSIX. A folder that refuses new files
// leaves the name as it is.
std::wstring FindRealFile(bool& created) {
    HANDLE file = CreateFileW(StoreFileName, 0, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
        file =
            CreateFileW(StoreFileName, GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        created = file != INVALID_HANDLE_VALUE;
    }
    if (file == INVALID_HANDLE_VALUE) return StoreFileName;
    std::wstring path(LongestPath, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, &path[0], LongestPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= LongestPath) return StoreFileName;
    path.resize(length);
    return path;
}

// The lock file is there, held or being let go of (a file being deleted
// cannot be opened for a moment), rather than refused by the folder.
bool LockFileInUse(const std::wstring& lockName) {
    return GetFileAttributesW(lockName.c_str()) != INVALID_FILE_ATTRIBUTES || GetLastError() == ERROR_ACCESS_DENIED;
}

// Waits a bounded time, but only while another copy holds the lock or is
// letting it go. No lock to be had at all is no reason to wait: the save
// goes on without one.
bool TakeLock(const std::wstring& lockName, StoreError* error) {
    for (DWORD waited = 0;; waited += LockRetryMs) {
        const HANDLE file = CreateFileW(lockName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        DWORD code = GetLastError();
        if (file != INVALID_HANDLE_VALUE) {
            code = TryRangeLock(file);
            if (code == ERROR_SUCCESS) {
                locked.lock = file;
                return true;
            }
            CloseHandle(file);
            if (code != ERROR_LOCK_VIOLATION) return true;
        } else if (!LockFileInUse(lockName)) {
            return true;
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
    const HANDLE file = CreateFileW(locked.target.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
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

// Only a lock holder writes "highscores.dat.tmp", so one found there was
// left by a killed save. A save without the lock takes a name of its own,
// so that saves that cannot lock never write into each other's.
std::wstring TemporaryName() {
    const std::wstring shared = locked.target + L".tmp";
    if (locked.lock != INVALID_HANDLE_VALUE) return shared;
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return shared + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(now.QuadPart);
}

// Writes the temporary file in full and flushes it; false with the error
// left for GetLastError.
bool WriteFlushedTemporary(const std::wstring& temporary, const uint8_t* bytes, std::size_t size) {
    if (locked.lock != INVALID_HANDLE_VALUE) DeleteFileW(temporary.c_str());
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool done = WriteAll(file, bytes, size) && FlushFileBuffers(file);
    const DWORD code = GetLastError();
    CloseHandle(file);
    SetLastError(code);
    return done;
}

bool MoveIntoPlace(const std::wstring& temporary) {
    for (DWORD waited = 0;; waited += LockRetryMs) {
        if (MoveFileExW(temporary.c_str(), locked.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD code = GetLastError();
        if ((code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) || waited >= MoveWaitMs) return false;
        Sleep(LockRetryMs);
    }
}

// ERROR_SUCCESS when the new bytes have replaced the file whole; otherwise
// the error of the step that failed, with the temporary file gone again.
DWORD ReplaceWhole(const uint8_t* bytes, std::size_t size) {
    const std::wstring temporary = TemporaryName();
    if (WriteFlushedTemporary(temporary, bytes, size) && MoveIntoPlace(temporary)) return ERROR_SUCCESS;
    const DWORD code = GetLastError();
    DeleteFileW(temporary.c_str());
    return code;
}

// Truncates, writes and flushes the file; ERROR_SUCCESS or the error.
DWORD WriteInPlace(const uint8_t* bytes, std::size_t size) {
    const HANDLE file = CreateFileW(locked.target.c_str(), GENERIC_WRITE, ShareAll, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    const bool done = WriteAll(file, bytes, size) && FlushFileBuffers(file);
    const DWORD code = GetLastError();
    CloseHandle(file);
    return done ? ERROR_SUCCESS : code;
}

bool IsEmptyFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
}

}  // namespace

const char* ScoreStoreName() { return "highscores.dat"; }

StoreReadResult ReadScoreStore(uint8_t* bytes, std::size_t capacity, std::size_t* size, StoreError* error) {
    *size = 0;
    const HANDLE file = CreateFileW(StoreFileName, GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    // A file made only to learn where it is is no stored table.
    return *size == 0 && locked.created ? StoreMissing : StoreFound;
}

bool LockScoreStore(StoreError* error) {
    bool created = false;
    const std::wstring target = FindRealFile(created);
    if (!TakeLock(target + L".lock", error)) return false;
    locked.open = true;
    locked.created = created;
    locked.target = target;
    if (!MayWriteOldFile(error)) {
        UnlockScoreStore();
        return false;
    }
    return true;
}

// Where the folder refuses the replace, the file itself may still be
// written; where there is no file to write, the folder's refusal is the
// reason told.
bool ReplaceScoreStore(const uint8_t* bytes, std::size_t size, StoreError* error) {
    if (!locked.open) return Fail(error, ERROR_INVALID_HANDLE);
    const DWORD code = ReplaceWhole(bytes, size);
    if (code == ERROR_SUCCESS) return true;
    if (code != ERROR_ACCESS_DENIED) return Fail(error, code);
    const DWORD inPlace = WriteInPlace(bytes, size);
    if (inPlace == ERROR_SUCCESS) return true;
    return Fail(error, inPlace == ERROR_FILE_NOT_FOUND ? code : inPlace);
}

// A file made only to learn where it is goes again when nothing was stored
// in it, so that a failed save leaves the folder as it was.
void UnlockScoreStore() {
    if (locked.created && IsEmptyFile(locked.target)) DeleteFileW(locked.target.c_str());
    if (locked.lock != INVALID_HANDLE_VALUE) {
        OVERLAPPED start = {};
        UnlockFileEx(locked.lock, 0, 1, 0, &start);
        CloseHandle(locked.lock);
    }
    locked = LockedStore{};
}
