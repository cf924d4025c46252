// The Top Ten file "highscores.dat": its exact bytes, reading back what was
// written by this or an earlier version, odd contents, and saves that fail.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scores/high_scores.h"
#include "scores/score_codec.h"
#include "game/game_state.h"
#include "shell/common/window_events.h"
#include "support/headless_host.h"
#include "support/score_files.h"
#include "support/scratch_directory.h"

namespace {


const char* const FileName = "highscores.dat";
const char* const TemporaryName = "highscores.dat.tmp";

// Every test runs in a fresh directory of its own, as a fresh session.
class TopTenFile : public ::testing::Test {
protected:
    void SetUp() override {
        scratch.Enter();
        ResetHeadlessHost();
        LoadHighScores();
        std::memset(&highScores, 0, sizeof highScores);
    }

    void TearDown() override { scratch.Leave(); }

    ScratchDirectory scratch;
};

class TopTenFileFailures : public TopTenFile {};
class TopTenSession : public TopTenFile {};
class TopTenCodec : public ::testing::Test {};

bool Exists(const char* path) {
    struct stat info;
    return lstat(path, &info) == 0;
}

// While it lives, a write that would make a file longer than a few bytes
// fails, as on a full disk.
class FileSizeLimit {
public:
    FileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_ = {};
    void (*previousHandler_)(int) = nullptr;
};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Repeat(const Bytes& part, int times) {
    Bytes all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes DefaultRecord = {0x00, 0x00, 0x00, 0x00, 0x41, 0x6E, 0x6F, 0x6E, 0x79, 0x6D, 0x6F, 0x75, 0x73, 0x00};

// A stored record without any 0x0A: score as four little-endian bytes, then
// a ten-byte name.
Bytes PlainRecord(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, const char (&name)[11]) {
    Bytes record = {b0, b1, b2, b3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) record[4 + i] = static_cast<uint8_t>(name[i]);
    return record;
}

// Fills the table with values no file in these tests holds, to see which
// entries a load replaced.
void MarkEntries() {
    for (int i = 0; i < HighScoreCount; ++i) {
        highScores.entries[i].score = 777000 + i;
        std::memset(highScores.entries[i].name, 'm', sizeof highScores.entries[i].name);
    }
}

bool EntryIsMarked(int i) {
    const HighScoreEntry& entry = highScores.entries[i];
    for (char c : entry.name) {
        if (c != 'm') return false;
    }
    return entry.score == 777000 + i;
}

std::string NameBytes(int i) { return std::string(highScores.entries[i].name, 10); }

TEST_F(TopTenFile, TheDefaultTableIsSavedAsExactly140Bytes) {
    ResetHighScores();

    EXPECT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_EQ(ReadFile(FileName), Repeat(DefaultRecord, 10));
    EXPECT_FALSE(Exists(TemporaryName));
}

TEST_F(TopTenFile, AScoreOfTenUnderAnnIsStoredAsFifteenBytes) {
    ResetHighScores();
    InsertHighScore(10, "Ann");

    EXPECT_EQ(StoreTableAsItIs(highScores), 1);

    const Bytes ann = {0x0D, 0x0A, 0x00, 0x00, 0x00, 0x41, 0x6E, 0x6E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(ReadFile(FileName), Join({ann, Repeat(DefaultRecord, 9)}));
}

TEST_F(TopTenFile, AStoredLineFeedPairReadsBackAsTen) {
    const Bytes ann = {0x0D, 0x0A, 0x00, 0x00, 0x00, 0x41, 0x6E, 0x6E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    WriteFile(FileName, Join({ann, Repeat(DefaultRecord, 9)}));

    EXPECT_EQ(LoadHighScores(), 1);

    EXPECT_EQ(highScores.entries[0].score, 10);
    EXPECT_STREQ(highScores.entries[0].name, "Ann");
    EXPECT_EQ(highScores.entries[9].score, 0);
    EXPECT_STREQ(highScores.entries[9].name, "Anonymous");
}

TEST_F(TopTenFile, AScoreOfThirteenIsStoredUnchangedAndReadsBack) {
    ResetHighScores();
    highScores.entries[0].score = 13;

    ASSERT_EQ(StoreTableAsItIs(highScores), 1);
    const Bytes stored = ReadFile(FileName);
    MarkEntries();

    ASSERT_EQ(stored.size(), 140u);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 4), (Bytes{0x0D, 0x00, 0x00, 0x00}));
    EXPECT_EQ(LoadHighScores(), 1);
    EXPECT_EQ(highScores.entries[0].score, 13);
}

TEST_F(TopTenFile, ACarriageReturnBeforeALineFeedPairStaysAByteOfItsOwn) {
    // Logical score bytes 0D 0A 00 00: 0x0A0D.
    WriteFile(FileName, Join({Bytes{0x0D, 0x0D, 0x0A, 0x00, 0x00, 'B', 'o', 'b', 0, 0, 0, 0, 0, 0, 0},
                              Repeat(DefaultRecord, 9)}));

    EXPECT_EQ(LoadHighScores(), 1);

    EXPECT_EQ(highScores.entries[0].score, 0x0A0D);
    EXPECT_STREQ(highScores.entries[0].name, "Bob");
    EXPECT_STREQ(highScores.entries[1].name, "Anonymous");
}

TEST_F(TopTenFile, AScoreOf1050SurvivesASaveAndALoad) {
    ResetHighScores();
    InsertHighScore(1050, "Sub");
    InsertHighScore(7, "After");

    ASSERT_EQ(StoreTableAsItIs(highScores), 1);
    const Bytes stored = ReadFile(FileName);
    MarkEntries();

    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 4), (Bytes{0x1A, 0x04, 0x00, 0x00}));
    EXPECT_EQ(LoadHighScores(), 1);
    EXPECT_EQ(highScores.entries[0].score, 1050);
    EXPECT_STREQ(highScores.entries[0].name, "Sub");
    EXPECT_EQ(highScores.entries[1].score, 7) << "the records after the 0x1A byte are read too";
    EXPECT_STREQ(highScores.entries[1].name, "After");
    EXPECT_STREQ(highScores.entries[9].name, "Anonymous");
}

TEST_F(TopTenFile, AFileWrittenByTheSystemIsLoadedAndSavedByteForByte) {
    // Scores with 0x0A bytes (stored as pairs) and lone 0x0D bytes, a
    // negative score, a ten-letter name and bytes after a NUL.
    const Bytes written = Join({
        Bytes{0x0D, 0x0A, 0x0D, 0x0A, 0x01, 0x00, 'M', 'a', 'x', 'i', 'm', 'i', 'l', 'i', 'a', 'n'},
        PlainRecord(0x0D, 0x27, 0x00, 0x00, "Eve\0xyz\x0D\x0D\x01"),
        PlainRecord(0xFF, 0xFF, 0xFF, 0xFF, "Neg\0\0\0\0\0\0\0"),
        Bytes{0x0D, 0x0D, 0x0A, 0x00, 0x00, 'C', 'r', 0x0D, 0x0A, 'x', 0, 0, 0, 0, 0, 0},
        Repeat(DefaultRecord, 6),
    });
    WriteFile(FileName, written);

    ASSERT_EQ(LoadHighScores(), 1);
    EXPECT_EQ(highScores.entries[0].score, 0x010A0A);
    EXPECT_EQ(NameBytes(0), "Maximilian");
    EXPECT_EQ(highScores.entries[1].score, 0x270D);
    EXPECT_EQ(highScores.entries[2].score, -1);
    EXPECT_EQ(NameBytes(3), std::string("Cr\nx\0\0\0\0\0\0", 10));
    ASSERT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_EQ(ReadFile(FileName), written);
}

TEST_F(TopTenFile, AMissingFileIsReportedAndTheTableKeepsItsValues) {
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 0);

    for (int i = 0; i < HighScoreCount; ++i) EXPECT_TRUE(EntryIsMarked(i)) << "entry " << i;
}

TEST_F(TopTenFile, AnEmptyFileLoadsAndChangesNothing) {
    WriteFile(FileName, Bytes{});
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 1);

    for (int i = 0; i < HighScoreCount; ++i) EXPECT_TRUE(EntryIsMarked(i)) << "entry " << i;
}

TEST_F(TopTenFile, AShortFileFillsOnlyTheEntriesItReaches) {
    WriteFile(FileName, Join({PlainRecord(5, 0, 0, 0, "One\0\0\0\0\0\0\0"), PlainRecord(4, 0, 0, 0, "Two\0\0\0\0\0\0\0"),
                              PlainRecord(3, 0, 0, 0, "Three\0\0\0\0\0")}));
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 1);

    EXPECT_EQ(highScores.entries[0].score, 5);
    EXPECT_STREQ(highScores.entries[2].name, "Three");
    for (int i = 3; i < HighScoreCount; ++i) EXPECT_TRUE(EntryIsMarked(i)) << "entry " << i;
}

TEST_F(TopTenFile, ARecordCutShortIsNotTakenAndNeitherIsAnythingAfterIt) {
    const Bytes cut = {0x09, 0x09, 0x09, 0x09, 'H', 'a', 'l'};
    WriteFile(FileName, Join({PlainRecord(5, 0, 0, 0, "One\0\0\0\0\0\0\0"), PlainRecord(4, 0, 0, 0, "Two\0\0\0\0\0\0\0"),
                              cut}));
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 1);

    EXPECT_EQ(highScores.entries[0].score, 5);
    EXPECT_EQ(highScores.entries[1].score, 4);
    EXPECT_STREQ(highScores.entries[1].name, "Two");
    for (int i = 2; i < HighScoreCount; ++i) EXPECT_TRUE(EntryIsMarked(i)) << "entry " << i;
}

TEST_F(TopTenFile, ALastRecordCutBetweenCarriageReturnAndLineFeedIsNotTaken) {
    // Nine whole records, then the tenth cut after 13 logical bytes, the
    // last stored one a lone 0x0D.
    WriteFile(FileName, Join({Repeat(DefaultRecord, 9), Bytes{1, 0, 0, 0, 'A', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x0D}}));
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 1);

    EXPECT_STREQ(highScores.entries[8].name, "Anonymous");
    EXPECT_TRUE(EntryIsMarked(9));
}

TEST_F(TopTenFile, BytesAfterTheTenthRecordAreIgnored) {
    WriteFile(FileName, Join({Repeat(DefaultRecord, 10), Bytes{0x0A, 0x0D, 'e', 'x', 't', 'r', 'a'}}));
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 1);

    for (const HighScoreEntry& entry : highScores.entries) {
        EXPECT_EQ(entry.score, 0);
        EXPECT_STREQ(entry.name, "Anonymous");
    }
}

TEST_F(TopTenFile, ARunOfCarriageReturnsLoadsAsNamesWithoutTerminator) {
    WriteFile(FileName, Bytes(1000, 0x0D));

    EXPECT_EQ(LoadHighScores(), 1);

    for (int i = 0; i < HighScoreCount; ++i) {
        EXPECT_EQ(highScores.entries[i].score, 0x0D0D0D0D);
        EXPECT_EQ(NameBytes(i), std::string(10, '\x0D'));
    }
    ASSERT_EQ(StoreTableAsItIs(highScores), 1);
    EXPECT_EQ(ReadFile(FileName), Bytes(140, 0x0D));
}

TEST_F(TopTenFile, ASaveCreatesTheFileAndLeavesNoTemporaryBehind) {
    ResetHighScores();

    ASSERT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_TRUE(Exists(FileName));
    EXPECT_FALSE(Exists(TemporaryName));
}

TEST_F(TopTenFile, ASaveReplacesALongerFileWhole) {
    WriteFile(FileName, Bytes(400, 'x'));
    ResetHighScores();

    ASSERT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_EQ(ReadFile(FileName), Repeat(DefaultRecord, 10));
}

TEST_F(TopTenFileFailures, AFileThatCannotBeReadIsReportedAndTheTableKeepsItsValues) {
    // Opening a directory succeeds, but reading it fails.
    ASSERT_EQ(mkdir(FileName, 0700), 0);
    MarkEntries();

    EXPECT_EQ(LoadHighScores(), 0);

    for (int i = 0; i < HighScoreCount; ++i) EXPECT_TRUE(EntryIsMarked(i)) << "entry " << i;
}

// A leftover that cannot be removed (here a folder) is no reason to keep the
// new table from a file that may be written.
TEST_F(TopTenFileFailures, WhenTheTemporaryCannotBeCreatedTheFileIsWrittenInPlace) {
    const Bytes old = Join({PlainRecord(9, 0, 0, 0, "Old\0\0\0\0\0\0\0"), Repeat(DefaultRecord, 9)});
    WriteFile(FileName, old);
    ASSERT_EQ(mkdir(TemporaryName, 0700), 0);
    ResetHighScores();
    InsertHighScore(50, "New");

    EXPECT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_EQ(ReadFile(FileName), Join({PlainRecord(50, 0, 0, 0, "New\0\0\0\0\0\0\0"), Repeat(DefaultRecord, 9)}));
    EXPECT_TRUE(Exists(TemporaryName)) << "the leftover is not this save's to remove";
}

TEST_F(TopTenFileFailures, ASaveOntoAFullDiskLeavesTheOldFileAndNoTemporary) {
    const Bytes old = Join({PlainRecord(9, 0, 0, 0, "Old\0\0\0\0\0\0\0"), Repeat(DefaultRecord, 9)});
    WriteFile(FileName, old);
    ResetHighScores();
    StoreError error;

    uint8_t saved;
    {
        const FileSizeLimit full;
        saved = StoreTableAsItIs(highScores, &error);
    }

    EXPECT_EQ(saved, 0);
    EXPECT_STREQ(error.reason, std::strerror(EFBIG));
    EXPECT_EQ(ReadFile(FileName), old);
    EXPECT_FALSE(Exists(TemporaryName));
}

TEST_F(TopTenFileFailures, AFirstSaveThatFailsLeavesNoFile) {
    ResetHighScores();
    const FileSizeLimit full;

    EXPECT_EQ(StoreTableAsItIs(highScores), 0);

    EXPECT_FALSE(Exists(FileName));
}

TEST_F(TopTenFileFailures, WhenTheNewFileCannotBePutInPlaceTheTemporaryIsRemoved) {
    // A directory with something in it cannot be replaced by a file.
    ASSERT_EQ(mkdir(FileName, 0700), 0);
    WriteFile("highscores.dat/keep", Bytes{1, 2, 3});
    ResetHighScores();

    EXPECT_EQ(StoreTableAsItIs(highScores), 0);

    EXPECT_FALSE(Exists(TemporaryName));
    EXPECT_EQ(ReadFile("highscores.dat/keep"), (Bytes{1, 2, 3}));
}

TEST_F(TopTenFileFailures, AStaleTemporaryFromAnInterruptedSaveIsOverwritten) {
    WriteFile(TemporaryName, Bytes(500, 'j'));
    ResetHighScores();

    EXPECT_EQ(StoreTableAsItIs(highScores), 1);

    EXPECT_EQ(ReadFile(FileName), Repeat(DefaultRecord, 10));
    EXPECT_FALSE(Exists(TemporaryName));
}

void ExpectEntry(int place, int32_t score, const char* name) {
    EXPECT_EQ(highScores.entries[place].score, score) << "place " << place;
    EXPECT_STREQ(highScores.entries[place].name, name) << "place " << place;
}

TEST_F(TopTenSession, AnEntryThatCannotBeStoredStaysForTheSessionAndGoesWithTheNextSave) {
    WriteFile(FileName, StoredTable({{9, "Old"}}));
    ASSERT_EQ(LoadHighScores(), 1);
    {
        const FileSizeLimit full;
        StoreError error;
        EXPECT_EQ(StoreNewHighScore(50, "Ann", &error), HighScoreNotStored);
    }
    EXPECT_EQ(ReadFile(FileName), StoredTable({{9, "Old"}}));
    // Meanwhile another copy of the game stores an entry of its own.
    WriteFile(FileName, StoredTable({{9, "Old"}, {70, "Bob"}}));

    RefreshHighScores();
    ExpectEntry(0, 70, "Bob");
    ExpectEntry(1, 50, "Ann");
    ExpectEntry(2, 9, "Old");

    StoreError error;
    EXPECT_EQ(StoreNewHighScore(30, "Cy", &error), HighScoreStored);
    EXPECT_EQ(ReadFile(FileName), StoredTable({{9, "Old"}, {70, "Bob"}, {50, "Ann"}, {30, "Cy"}}));
}

TEST_F(TopTenSession, AResetThatCannotBeStoredHoldsForTheSessionAndGoesWithTheNextSave) {
    WriteFile(FileName, StoredTable({{9, "Old"}}));
    ASSERT_EQ(LoadHighScores(), 1);
    {
        const FileSizeLimit full;
        StoreError error;
        EXPECT_EQ(StoreDefaultHighScores(&error), 0);
    }

    RefreshHighScores();
    ExpectEntry(0, 0, "Anonymous");

    StoreError error;
    EXPECT_EQ(StoreNewHighScore(5, "Dee", &error), HighScoreStored);
    EXPECT_EQ(ReadFile(FileName), StoredTable({{5, "Dee"}}));
}

// Entries the stored bytes no longer reach (a file cut short or emptied by a
// damaged disk or a sync tool) keep the values the session has for them, and
// so go back with the next save; a file removed altogether reads as the
// defaults, as at a start.
TEST_F(TopTenSession, EntriesAStoredFileNoLongerReachesKeepTheSessionsValues) {
    const Bytes whole = StoredTable({{90, "Ann"}, {80, "Bob"}, {70, "Cy"}});
    struct Case {
        const char* what;
        int keptBytes;  // -1: the file is removed
        Bytes want;
    };
    const Bytes kept = StoredTable({{90, "Ann"}, {80, "Bob"}, {70, "Cy"}, {5, "New"}});
    const Case cases[] = {
        {"cut to two records", 28, kept}, {"emptied", 0, kept}, {"removed", -1, StoredTable({{5, "New"}})}};
    for (const Case& c : cases) {
        WriteFile(FileName, whole);
        ASSERT_EQ(LoadHighScores(), 1);
        std::remove(FileName);
        if (c.keptBytes >= 0) WriteFile(FileName, Bytes(whole.begin(), whole.begin() + c.keptBytes));
        StoreError error;

        EXPECT_EQ(StoreNewHighScore(5, "New", &error), HighScoreStored) << c.what;

        EXPECT_EQ(ReadFile(FileName), c.want) << c.what;
    }
}

// The player is told once, in one sentence that names the file and gives the
// system's reason, and the entry is still shown.
TEST_F(TopTenSession, ASaveThatFailsIsToldToThePlayer) {
    ASSERT_EQ(mkdir(FileName, 0700), 0);
    ResetHighScores();
    gameState.score = 120;

    AcceptNameEntry("Zed");

    ASSERT_EQ(PlayerMessages().size(), 1u);
    EXPECT_EQ(PlayerMessages()[0], "The Top Ten could not be saved to highscores.dat: Is a directory.");
    ExpectEntry(0, 120, "Zed");
    gameState.score = 0;
}

// Another copy of the game stored better scores after this game ended: the
// score no longer enters, and the player is told so.
TEST_F(TopTenSession, AScoreOutrankedMeanwhileIsToldAndNotStored) {
    ResetHighScores();
    const Bytes better = StoredTable({{900, "B"}, {800, "B"}, {700, "B"}, {600, "B"}, {500, "B"}, {400, "B"},
                                      {300, "B"}, {200, "B"}, {150, "B"}, {130, "B"}});
    WriteFile(FileName, better);
    gameState.score = 120;

    AcceptNameEntry("Zed");

    const std::string told = "Your score no longer makes the Top Ten: another game has stored better scores.";
    EXPECT_EQ(PlayerMessages(), std::vector<std::string>{told});
    EXPECT_EQ(ReadFile(FileName), better);
    gameState.score = 0;
}

TEST_F(TopTenCodec, DecodingCountsOnlyWholeRecords) {
    HighScoreTable table = {};
    const Bytes stored = Join({Repeat(DefaultRecord, 3), Bytes(13, 0x41)});

    EXPECT_EQ(DecodeHighScores(stored.data(), stored.size(), table), 3);
    EXPECT_EQ(DecodeHighScores(nullptr, 0, table), 0);
}

TEST_F(TopTenCodec, EncodingStoresEveryLineFeedAsAPair) {
    HighScoreTable table = {};
    table.entries[4].score = 0x0A0A0A0A;
    table.entries[9].name[9] = '\n';
    uint8_t stored[HighScoreStoredMaxSize];

    const size_t length = EncodeHighScores(table, stored);

    ASSERT_EQ(length, 145u);
    const Bytes fifth(stored + 4 * 14, stored + 4 * 14 + 8);
    EXPECT_EQ(fifth, (Bytes{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}));
    EXPECT_EQ(Bytes(stored + length - 2, stored + length), (Bytes{0x0D, 0x0A}));
}

TEST_F(TopTenCodec, TheLargestStoredFormStillDecodesWhole) {
    HighScoreTable table = {};
    for (HighScoreEntry& entry : table.entries) {
        entry.score = 0x0A0A0A0A;
        std::memset(entry.name, '\n', sizeof entry.name);
    }
    uint8_t stored[HighScoreStoredMaxSize];
    ASSERT_EQ(EncodeHighScores(table, stored), 280u);
    HighScoreTable reread = {};

    EXPECT_EQ(DecodeHighScores(stored, 280, reread), 10);

    for (int i = 0; i < HighScoreCount; ++i) {
        EXPECT_EQ(reread.entries[i].score, 0x0A0A0A0A);
        EXPECT_EQ(std::string(reread.entries[i].name, 10), std::string(10, '\n'));
    }
}

}  // namespace
