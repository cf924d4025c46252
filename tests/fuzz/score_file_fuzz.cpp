// Feeds arbitrary file contents to the Top Ten decoder and checks what any
// content must give: no out-of-bounds access, untouched entries past the last
// whole record, and a table that survives encoding and decoding unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "scores/score_codec.h"

namespace {

// A table whose every byte is recognisable, so that entries the decoder must
// leave alone can be told apart from ones it wrote.
HighScoreTable MarkedTable() {
    HighScoreTable table;
    for (int i = 0; i < HighScoreCount; ++i) {
        table.entries[i].score = -1000 - i;
        std::memset(table.entries[i].name, 'a' + i, HighScoreNameSize);
    }
    return table;
}

bool SameEntry(const HighScoreEntry& a, const HighScoreEntry& b) {
    return a.score == b.score && std::memcmp(a.name, b.name, HighScoreNameSize) == 0;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

std::size_t LineFeedsIn(const HighScoreTable& table) {
    std::size_t count = 0;
    for (const HighScoreEntry& entry : table.entries) {
        const uint32_t bits = static_cast<uint32_t>(entry.score);
        for (int shift = 0; shift < 32; shift += 8) count += ((bits >> shift) & 0xFF) == 0x0A;
        for (char c : entry.name) count += c == 0x0A;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const HighScoreTable before = MarkedTable();
    HighScoreTable table = before;
    const int whole = DecodeHighScores(data, size, table);
    Require(whole >= 0 && whole <= HighScoreCount);
    // Each record needs at least 14 stored bytes.
    Require(static_cast<std::size_t>(whole) * HighScoreRecordSize <= size);
    for (int i = whole; i < HighScoreCount; ++i) Require(SameEntry(table.entries[i], before.entries[i]));

    uint8_t stored[HighScoreStoredMaxSize];
    const std::size_t length = EncodeHighScores(table, stored);
    Require(length == HighScoreDataSize + LineFeedsIn(table));

    HighScoreTable reread = MarkedTable();
    Require(DecodeHighScores(stored, length, reread) == HighScoreCount);
    for (int i = 0; i < HighScoreCount; ++i) Require(SameEntry(reread.entries[i], table.entries[i]));

    // A file the program wrote itself reads back to the same bytes.
    uint8_t again[HighScoreStoredMaxSize];
    Require(EncodeHighScores(reread, again) == length && std::memcmp(again, stored, length) == 0);
    return 0;
}
