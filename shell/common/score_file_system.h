#pragma once
// What the Top Ten's file (shell/common/score_file.cpp) asks of the system:
// plain calls that only do what the system does, one implementation per
// system (shell/posix/score_file_posix.cpp, shell/win32/score_file_win32.cpp),
// so that every rule of a save is written once, in score_file.cpp. Paths are
// UTF-8. Calls that can fail return 0 when done, otherwise the system's own
// error code (errno, GetLastError()).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using SystemError = unsigned long;

enum FileKind {
    RegularFile,  // kept whole: replaced, or written and cut to length
    OtherFile,    // a device, a FIFO: only ever written, from where it is
};

enum LockOutcome {
    LockTaken,
    LockBusy,         // held by another process, or being let go of
    LockUnavailable,  // the file system offers none
};

struct SystemFile {
    std::intptr_t handle = -1;  // the file descriptor or HANDLE
    std::intptr_t lock = -1;    // where the system keeps the lock apart from the file
    FileKind kind = RegularFile;
};

// The characters that end a folder's part of a path.
extern const char* const PathSeparators;

// Opens what name leads to, at the end of any links, without waiting on it:
// a regular file to read and write (a read-only one is refused), anything
// else to write only. A missing file is made, empty, through the name, and
// *made says so. *target is the real file's path.
SystemError OpenOrMakeTarget(const char* name, SystemFile* file, std::string* target, bool* made);
// Opens name to read only, without waiting on it.
SystemError OpenToRead(const char* name, SystemFile* file);
bool MeansNotFound(SystemError code);
// Takes the exclusive lock that belongs to the open file at path, without
// waiting; the lock ends with CloseFile or with the process.
LockOutcome LockOpenFile(SystemFile* file, const std::string& path);
// Whether path leads to the open file now (another process may have put a
// new file in its place).
bool NameLeadsToFile(const SystemFile& file, const std::string& path);
SystemError FileLength(const SystemFile& file, std::uint64_t* length);
// Reads at most capacity bytes at offset; *got is 0 at the end.
SystemError ReadAt(const SystemFile& file, std::uint64_t offset, std::uint8_t* bytes, std::size_t capacity,
                   std::size_t* got);
// Writes all the bytes at offset; a file without offsets takes them in turn.
SystemError WriteAt(const SystemFile& file, std::uint64_t offset, const std::uint8_t* bytes, std::size_t size);
SystemError CutToLength(const SystemFile& file, std::uint64_t length);
// Puts the file's bytes on the disk.
SystemError SyncFile(const SystemFile& file);
SystemError CloseFile(SystemFile* file);
// Makes a new regular file at path, never through a link and never over an
// existing one, open to write, with like's permissions and owner where this
// user may give them.
SystemError MakeNewFile(const std::string& path, const SystemFile& like, SystemFile* file);
// Puts from in place of to in one step. target is to, open: a system that
// cannot replace an open file (Windows) closes it first, keeping its lock,
// and opens it again when the rename fails.
SystemError RenameFile(const std::string& from, const std::string& to, SystemFile* target);
// Puts the folder's names on the disk, after a rename.
SystemError SyncFolder(const std::string& folder);
SystemError RemoveFile(const std::string& path);
SystemError ListFolder(const std::string& folder, std::vector<std::string>* names);
// When the file (not what a link leads to) was last written, in seconds by
// the file system's clock.
SystemError ModifiedTime(const std::string& path, std::int64_t* seconds);
// A part of a file name that no other process uses at the same moment.
std::string UniqueNamePart();
// The system's words for the error, without a closing full stop.
void DescribeError(SystemError code, char* text, std::size_t size);
void PauseMs(long ms);
