// The Top Ten file's calls as a faulty system makes them, linked into
// top_ten_writer_faulty in place of the real ones (this system's source,
// QUADRAFALL_REAL_FILE_SYSTEM, is compiled in here, the calls below renamed).
// QUADRAFALL_STORE_FAULT says what goes wrong:
//   end-before:CALL   the process ends (exit status 86) as CALL is first made
//   end-after:CALL    the process ends once CALL has first been done
//   lie:same-file     the name never seems to lead to the open file
//   busy:lock         the lock is always another process's
// where CALL is write, cut or sync.

#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/common/score_file_system.h"

#define WriteAt RealWriteAt
#define CutToLength RealCutToLength
#define SyncFile RealSyncFile
#define NameLeadsToFile RealNameLeadsToFile
#define LockOpenFile RealLockOpenFile
#include QUADRAFALL_REAL_FILE_SYSTEM
#undef WriteAt
#undef CutToLength
#undef SyncFile
#undef NameLeadsToFile
#undef LockOpenFile

namespace {

constexpr int EndedStatus = 86;

bool FaultIs(const char* action, const char* call) {
    const char* fault = std::getenv("QUADRAFALL_STORE_FAULT");
    return fault != nullptr && std::string(fault) == std::string(action) + ":" + call;
}

// Runs the real call between the two points where the process may end.
template <typename Call>
SystemError Step(const char* name, Call call) {
    if (FaultIs("end-before", name)) std::_Exit(EndedStatus);
    const SystemError code = call();
    if (FaultIs("end-after", name)) std::_Exit(EndedStatus);
    return code;
}

}  // namespace

SystemError WriteAt(const SystemFile& file, std::uint64_t offset, const std::uint8_t* bytes, std::size_t size) {
    return Step("write", [&] { return RealWriteAt(file, offset, bytes, size); });
}

SystemError CutToLength(const SystemFile& file, std::uint64_t length) {
    return Step("cut", [&] { return RealCutToLength(file, length); });
}

SystemError SyncFile(const SystemFile& file) {
    return Step("sync", [&] { return RealSyncFile(file); });
}

bool NameLeadsToFile(const SystemFile& file, const std::string& path) {
    return !FaultIs("lie", "same-file") && RealNameLeadsToFile(file, path);
}

LockOutcome LockOpenFile(SystemFile* file, const std::string& path) {
    return FaultIs("busy", "lock") ? LockBusy : RealLockOpenFile(file, path);
}
