#pragma once
// The Top Ten holds 8-bit Windows-1252 text, as the Windows program writes
// it; FLTK and the web page show and take UTF-8.

#include <string>

// Up to size bytes of 8-bit text, ending at the first NUL, as UTF-8.
std::string Utf8FromAnsi(const char* text, int size);
// UTF-8 as 8-bit text; a character that has no byte becomes '?'.
std::string AnsiFromUtf8(const char* text);
