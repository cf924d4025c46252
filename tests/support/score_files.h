#pragma once
// Files of bytes for the Top Ten tests: reading and writing them whole, and
// the stored form of a table.

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "scores/high_scores.h"
#include "scores/score_codec.h"
#include "scores/score_store.h"

using Bytes = std::vector<uint8_t>;

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The stored bytes of the default table with these entries entered in turn.
inline Bytes StoredTable(std::initializer_list<std::pair<int32_t, const char*>> entries) {
    HighScoreTable table;
    ResetTable(table);
    for (const auto& entry : entries) InsertIntoTable(table, entry.first, entry.second);
    uint8_t stored[HighScoreStoredMaxSize];
    return Bytes(stored, stored + EncodeHighScores(table, stored));
}

// Puts the table's bytes in place of the stored ones through the store's own
// lock and replace, without reading them first: what another copy of the
// game that stores this table makes of the store. 1 when stored.
inline uint8_t StoreTableAsItIs(const HighScoreTable& table, StoreError* error = nullptr) {
    if (!LockScoreStore(error)) return 0;
    uint8_t stored[HighScoreStoredMaxSize];
    const bool replaced = ReplaceScoreStore(stored, EncodeHighScores(table, stored), error);
    UnlockScoreStore();
    return replaced ? 1 : 0;
}
