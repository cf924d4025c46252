// The store's lock as a share without byte-range locks answers it, linked
// into top_ten_writer_unlocked.exe in place of the real one.

#include "shell/win32/range_lock_win32.h"

DWORD TryRangeLock(HANDLE) { return ERROR_NOT_SUPPORTED; }
