#pragma once
// The bytes of "highscores.dat", apart from any file: the table as ten 14-byte
// records, and the stored form in which every 0x0A is kept as 0x0D 0x0A.
// Pure functions, so that tests and the fuzzer can drive them directly.

#include <cstddef>
#include <cstdint>

#include "scores/high_scores.h"

constexpr std::size_t HighScoreRecordSize = 4 + HighScoreNameSize;
constexpr std::size_t HighScoreDataSize = HighScoreCount * HighScoreRecordSize;
// Every logical byte takes at most two stored bytes.
constexpr std::size_t HighScoreStoredMaxSize = 2 * HighScoreDataSize;

// Writes the stored form of the whole table into stored and returns its
// length: 140 bytes plus one for every 0x0A in the records.
std::size_t EncodeHighScores(const HighScoreTable& table, uint8_t stored[HighScoreStoredMaxSize]);

// Reads the records that the stored bytes hold whole into the table, index 0
// first, and returns how many that was. A record cut short and every entry
// after it keep what they had; bytes beyond the tenth record are ignored.
// Any bytes at all are accepted.
int DecodeHighScores(const uint8_t* stored, std::size_t storedSize, HighScoreTable& table);
