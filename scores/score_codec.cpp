#include "scores/score_codec.h"

namespace {

constexpr uint8_t LineFeed = 0x0A;
constexpr uint8_t CarriageReturn = 0x0D;

void PutLogicalByte(uint8_t byte, uint8_t* stored, std::size_t& length) {
    if (byte == LineFeed) stored[length++] = CarriageReturn;
    stored[length++] = byte;
}

void PutRecord(const HighScoreEntry& entry, uint8_t* stored, std::size_t& length) {
    const uint32_t bits = static_cast<uint32_t>(entry.score);
    for (int shift = 0; shift < 32; shift += 8) PutLogicalByte(static_cast<uint8_t>(bits >> shift), stored, length);
    for (char c : entry.name) PutLogicalByte(static_cast<uint8_t>(c), stored, length);
}

// Turns every stored pair 0x0D 0x0A back into 0x0A; a lone 0x0D is a byte of
// its own. Stops once the ten records are complete.
std::size_t UndoStoredForm(const uint8_t* stored, std::size_t storedSize, uint8_t logical[HighScoreDataSize]) {
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < storedSize && length < HighScoreDataSize) {
        if (stored[i] == CarriageReturn && i + 1 < storedSize && stored[i + 1] == LineFeed) {
            logical[length++] = LineFeed;
            i += 2;
        } else {
            logical[length++] = stored[i++];
        }
    }
    return length;
}

HighScoreEntry TakeRecord(const uint8_t* record) {
    HighScoreEntry entry;
    const uint32_t bits = static_cast<uint32_t>(record[0]) | static_cast<uint32_t>(record[1]) << 8 |
                          static_cast<uint32_t>(record[2]) << 16 | static_cast<uint32_t>(record[3]) << 24;
    entry.score = static_cast<int32_t>(bits);
    for (int i = 0; i < HighScoreNameSize; ++i) entry.name[i] = static_cast<char>(record[4 + i]);
    return entry;
}

}  // namespace

std::size_t EncodeHighScores(const HighScoreTable& table, uint8_t stored[HighScoreStoredMaxSize]) {
    std::size_t length = 0;
    for (const HighScoreEntry& entry : table.entries) PutRecord(entry, stored, length);
    return length;
}

int DecodeHighScores(const uint8_t* stored, std::size_t storedSize, HighScoreTable& table) {
    uint8_t logical[HighScoreDataSize];
    const std::size_t length = UndoStoredForm(stored, storedSize, logical);
    const int wholeRecords = static_cast<int>(length / HighScoreRecordSize);
    for (int i = 0; i < wholeRecords; ++i) table.entries[i] = TakeRecord(logical + i * HighScoreRecordSize);
    return wholeRecords;
}
