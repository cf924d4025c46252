// The stored bytes of the Top Ten turned back into entries, apart from any file.

#include <gtest/gtest.h>

#include <cstdint>

#include "scores/score_codec.h"

namespace {

// A file is read into a buffer larger than itself, and the bytes after what
// was read are left over from before: only the given size counts, even where
// it ends between a carriage return and a line feed.
TEST(TopTenStoredForm, DecodingStopsAtTheGivenSize) {
    uint8_t stored[HighScoreRecordSize + 1] = {};
    stored[HighScoreRecordSize - 1] = 0x0D;  // the last byte of the first name
    stored[HighScoreRecordSize] = 0x0A;      // beyond the given size
    HighScoreTable table = {};

    EXPECT_EQ(DecodeHighScores(stored, HighScoreRecordSize, table), 1);

    EXPECT_EQ(table.entries[0].name[HighScoreNameSize - 1], '\x0D');
}

}  // namespace
