#include "scores/replace_file.h"

#include <windows.h>

// The C library's rename refuses an existing target on Windows, and removing
// the target first would leave no Top Ten at all if the program stopped in
// between. MoveFileEx replaces it in one step.
bool ReplaceFileWith(const char* source, const char* target) {
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
