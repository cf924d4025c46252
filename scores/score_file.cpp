#include <cstddef>
#include <cstdio>

#include "scores/high_scores.h"
#include "scores/replace_file.h"
#include "scores/score_codec.h"

namespace {

const char* const HighScoreFileName = "highscores.dat";
// Written in full beside the real file and only then put in its place, so a
// save cut short leaves the old Top Ten untouched.
const char* const HighScoreTemporaryName = "highscores.dat.tmp";

// Writes all bytes and closes the file; every step is checked, since a full
// disk may only show at the flush or the close.
bool WriteAndClose(std::FILE* file, const uint8_t* bytes, std::size_t size) {
    bool written = std::fwrite(bytes, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    written = std::ferror(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

}  // namespace

// The file is opened in binary mode on every platform and the stored form
// (0x0A kept as 0x0D 0x0A) is undone here, so that the same bytes give the
// same table everywhere and a 0x1A byte is data like any other.
uint8_t LoadHighScores() {
    std::FILE* file = std::fopen(HighScoreFileName, "rb");
    if (file == nullptr) return 0;
    // Ten records never need more stored bytes than this; the rest is ignored.
    uint8_t stored[HighScoreStoredMaxSize];
    const std::size_t size = std::fread(stored, 1, sizeof stored, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return 0;
    DecodeHighScores(stored, size, highScores);
    return 1;
}

uint8_t SaveHighScores() {
    uint8_t stored[HighScoreStoredMaxSize];
    const std::size_t size = EncodeHighScores(highScores, stored);
    std::FILE* file = std::fopen(HighScoreTemporaryName, "wb");
    if (file == nullptr) return 0;  // nothing was created, so nothing to clean up
    if (!WriteAndClose(file, stored, size) || !ReplaceFileWith(HighScoreTemporaryName, HighScoreFileName)) {
        std::remove(HighScoreTemporaryName);
        return 0;
    }
    return 1;
}
