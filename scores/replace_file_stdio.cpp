#include "scores/replace_file.h"

#include <cstdio>

// On POSIX systems rename replaces an existing target atomically. Windows
// builds link the Win32 shell's version instead.
bool ReplaceFileWith(const char* source, const char* target) { return std::rename(source, target) == 0; }
