// The Top Ten file's calls on Windows (shell/common/score_file_system.h),
// through the wide-character calls only, so that a folder named in any
// script (a player's name in %APPDATA%, say) works.
//
// The lock (shell/win32/range_lock_win32.h) is held on "highscores.dat.lock"
// beside the real file rather than on the file itself: a locked range keeps
// every other process from reading it, and a file open anywhere cannot be
// replaced. The lock file is opened delete-on-close, so the system drops the
// lock and the file with the handle, and a killed copy leaves neither behind.

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "shell/common/score_file_system.h"
#include "shell/win32/range_lock_win32.h"

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The longest path the wide-character calls take, in characters.
constexpr DWORD LongestPath = 32768;
// Another copy reading the old file keeps it from being replaced for a
// moment; a file that stays so is written in place instead.
constexpr DWORD RenameWaitMs = 200;
constexpr DWORD RenameRetryMs = 10;

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::intptr_t Stored(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

bool IsOpen(std::intptr_t handle) { return Handle(handle) != INVALID_HANDLE_VALUE; }

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

SystemError Done(BOOL done) { return done ? 0 : GetLastError(); }

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

bool SameFileInformation(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

// The lock file is there, held or being let go of (a file being deleted
// cannot be opened for a moment), rather than refused by the folder.
bool LockFileInUse(const std::wstring& lockName) {
    return GetFileAttributesW(lockName.c_str()) != INVALID_FILE_ATTRIBUTES || GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace

const char* const PathSeparators = "\\/";

// A link that leads to no file yet cannot be told from no file at all, so a
// missing file is made through the name (not as a new name, which a link
// already is): a link then gets the file it names, as on POSIX.
SystemError OpenOrMakeTarget(const char* name, SystemFile* file, std::string* target, bool* made) {
    const std::wstring wide = Wide(name);
    HANDLE opened = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
        opened = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        *made = opened != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
    }
    if (opened == INVALID_HANDLE_VALUE) return GetLastError();
    file->handle = Stored(opened);
    file->kind = GetFileType(opened) == FILE_TYPE_DISK ? RegularFile : OtherFile;
    std::wstring path(LongestPath, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(opened, &path[0], LongestPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    *target = length == 0 || length >= LongestPath ? std::string(name) : Utf8(path.c_str(), static_cast<int>(length));
    return 0;
}

SystemError OpenToRead(const char* name, SystemFile* file) {
    const HANDLE opened = CreateFileW(Wide(name).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return GetLastError();
    file->handle = Stored(opened);
    return 0;
}

bool MeansNotFound(SystemError code) { return code == ERROR_FILE_NOT_FOUND; }

// Busy only while another copy holds the lock or is letting it go. No lock
// file to be had at all (a folder that refuses new files) is no lock.
LockOutcome LockOpenFile(SystemFile* file, const std::string& path) {
    const std::wstring lockName = Wide(path + ".lock");
    const HANDLE lock = CreateFileW(lockName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return LockFileInUse(lockName) ? LockBusy : LockUnavailable;
    const DWORD code = TryRangeLock(lock);
    if (code == ERROR_SUCCESS) {
        file->lock = Stored(lock);
        return LockTaken;
    }
    CloseHandle(lock);
    return code == ERROR_LOCK_VIOLATION ? LockBusy : LockUnavailable;
}

bool NameLeadsToFile(const SystemFile& file, const std::string& path) {
    if (!IsOpen(file.handle)) return false;
    const HANDLE named = CreateFileW(Wide(path).c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    const bool same = SameFileInformation(Handle(file.handle), named);
    CloseHandle(named);
    return same;
}

SystemError FileLength(const SystemFile& file, std::uint64_t* length) {
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(Handle(file.handle), &size)) return GetLastError();
    *length = static_cast<std::uint64_t>(size.QuadPart);
    return 0;
}

SystemError ReadAt(const SystemFile& file, std::uint64_t offset, std::uint8_t* bytes, std::size_t capacity,
                   std::size_t* got) {
    OVERLAPPED at = At(offset);
    DWORD read = 0;
    if (!ReadFile(Handle(file.handle), bytes, static_cast<DWORD>(capacity), &read, &at)) {
        const DWORD code = GetLastError();
        if (code != ERROR_HANDLE_EOF) return code;
    }
    *got = read;
    return 0;
}

SystemError WriteAt(const SystemFile& file, std::uint64_t offset, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        OVERLAPPED at = At(offset);
        DWORD written = 0;
        if (!WriteFile(Handle(file.handle), bytes, static_cast<DWORD>(size), &written, &at)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes += written;
        size -= written;
        offset += written;
    }
    return 0;
}

SystemError CutToLength(const SystemFile& file, std::uint64_t length) {
    FILE_END_OF_FILE_INFO end = {};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    return Done(SetFileInformationByHandle(Handle(file.handle), FileEndOfFileInfo, &end, sizeof end));
}

SystemError SyncFile(const SystemFile& file) { return Done(FlushFileBuffers(Handle(file.handle))); }

SystemError CloseFile(SystemFile* file) {
    SystemError code = 0;
    if (IsOpen(file->handle) && !CloseHandle(Handle(file->handle))) code = GetLastError();
    if (IsOpen(file->lock)) {
        OVERLAPPED start = {};
        UnlockFileEx(Handle(file->lock), 0, 1, 0, &start);
        CloseHandle(Handle(file->lock));
    }
    *file = SystemFile{};
    return code;
}

// A new file takes the folder's permissions, as the old one did.
SystemError MakeNewFile(const std::string& path, const SystemFile&, SystemFile* file) {
    const HANDLE made =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) return GetLastError();
    file->handle = Stored(made);
    return 0;
}

// A move that is written through before it returns, so the folder needs no
// sync of its own. The target is closed for it (its lock is the lock
// file's) and opened again when the move fails, to be written in place.
SystemError RenameFile(const std::string& from, const std::string& to, SystemFile* target) {
    if (IsOpen(target->handle)) CloseHandle(Handle(target->handle));
    target->handle = Stored(INVALID_HANDLE_VALUE);
    const std::wstring source = Wide(from), destination = Wide(to);
    for (DWORD waited = 0;; waited += RenameRetryMs) {
        if (MoveFileExW(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return 0;
        }
        const DWORD code = GetLastError();
        if ((code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) || waited >= RenameWaitMs) {
            target->handle = Stored(CreateFileW(destination.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return code;
        }
        Sleep(RenameRetryMs);
    }
}

SystemError SyncFolder(const std::string&) { return 0; }

SystemError RemoveFile(const std::string& path) { return Done(DeleteFileW(Wide(path).c_str())); }

SystemError ListFolder(const std::string& folder, std::vector<std::string>* names) {
    WIN32_FIND_DATAW found;
    const HANDLE listing = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return GetLastError();
    do {
        names->push_back(Utf8(found.cFileName, static_cast<int>(wcslen(found.cFileName))));
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
    return 0;
}

SystemError ModifiedTime(const std::string& path, std::int64_t* seconds) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return GetLastError();
    const std::uint64_t ticks = static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                data.ftLastWriteTime.dwLowDateTime;
    *seconds = static_cast<std::int64_t>(ticks / 10000000);  // from 100-nanosecond steps
    return 0;
}

std::string UniqueNamePart() {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return std::to_string(GetCurrentProcessId()) + "." + std::to_string(now.QuadPart);
}

// The system's words for the error, without the closing full stop and line
// break that the system's messages end with.
void DescribeError(SystemError code, char* text, std::size_t size) {
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, static_cast<DWORD>(size),
                                        nullptr);
    if (length == 0) std::snprintf(text, size, "error %lu", code);
    std::size_t end = std::strlen(text);
    while (end > 0 && std::strchr(" .\r\n", text[end - 1]) != nullptr) --end;
    text[end] = '\0';
}

void PauseMs(long ms) { Sleep(static_cast<DWORD>(ms)); }
