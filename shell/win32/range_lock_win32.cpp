#include "shell/win32/range_lock_win32.h"

DWORD TryRangeLock(HANDLE file) {
    OVERLAPPED start = {};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) return ERROR_SUCCESS;
    return GetLastError();
}
