#pragma once
// "Save highscores.dat" and "Open highscores.dat" beside the game: the Top
// Ten carried between the page and the desktop builds as the very file they
// keep.

#include <cstddef>
#include <cstdint>

// Offers the table as stored now for download, as the bytes of the file the
// desktop builds write for it.
void SaveHighScoresFile();
// Puts an opened file's bytes in place of the stored table, then reads the
// table from them as the desktop builds read their file, and shows it.
void OpenHighScoresFile(const uint8_t* bytes, std::size_t size);
