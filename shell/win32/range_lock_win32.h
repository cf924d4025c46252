#pragma once
// The Top Ten store's lock on Windows, in a file of its own so that a test
// program can link one that every file system refuses.

#include <windows.h>

// Takes an exclusive lock on the first byte of the open file without
// waiting. ERROR_SUCCESS when taken; ERROR_LOCK_VIOLATION while another
// process holds it; any other error when the file system offers no lock
// (some network shares).
DWORD TryRangeLock(HANDLE file);
