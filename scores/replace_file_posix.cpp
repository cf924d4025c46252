#include "scores/replace_file.h"

#include <cstdio>

// On POSIX systems rename replaces an existing target atomically.
bool ReplaceFileWith(const char* source, const char* target) { return std::rename(source, target) == 0; }
