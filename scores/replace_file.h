#pragma once
// Puts a finished file in the place of another in one step, so that a reader
// finds either the old file or the new one, never a mix or nothing. The build
// links the implementation for its platform.

// Renames source to target, replacing target when it exists. On failure
// target is as it was and source is still there. True on success.
bool ReplaceFileWith(const char* source, const char* target);
