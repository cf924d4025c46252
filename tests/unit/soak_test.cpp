// A headless player presses, holds and releases the arrow keys at random
// through thousands of whole games, now and then starting afresh or choosing
// another level, while every redraw and every step checks that the model is
// sound: each Block in one place with one owner, nothing leaked, and score,
// lines and level in step with the landings.

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/game_fixture.h"

namespace {

constexpr int GamesToFinish = 2000;
constexpr uint32_t PlayerKeys[] = {VkLeft, VkUp, VkRight, VkDown};

// What the model looked like at the previous check.
struct Baseline {
    int32_t score;
    int32_t lines;
    int32_t level;
    int32_t dealt;
    bool freshGame;  // the next check sees a game that New has just dealt
};

Baseline baseline;
std::string firstFault;
long checks = 0;
long landings = 0;
long clearingLandings = 0;

void Fault(const std::string& what) {
    if (firstFault.empty()) {
        std::ostringstream text;
        text << what << " (check " << checks << ", score " << gameState.score << ", lines " << gameState.lines
             << ", level " << gameState.level << ")";
        firstFault = text.str();
    }
}

void CheckWell(std::vector<const Block*>& owned) {
    for (int32_t col = 0; col < BoardColumns; ++col) {
        for (int32_t row = 0; row < BoardRows; ++row) {
            const Block* block = board.At(col, row);
            if (block == nullptr) continue;
            owned.push_back(block);
            if (block->col != col || block->row != row) Fault("a locked Block is not at its own cell");
            if (!SameRect(block->rect, WellCellRect(col, row))) Fault("a locked Block is drawn off its cell");
        }
    }
}

void CheckPieces(std::vector<const Block*>& owned) {
    if (gameState.hasCurrent) {
        for (const Block* block : currentPiece.blocks) {
            owned.push_back(block);
            if (!SameRect(block->rect, WellCellRect(block->col, block->row))) Fault("the falling piece is drawn off its cells");
        }
    }
    if (gameState.hasNext) {
        const Rect frame = NextPieceFrame(gameState.nextType);
        for (const Block* block : nextPiece.blocks) {
            owned.push_back(block);
            if (block->rect.left != frame.left + CellSize * block->col || block->rect.top != frame.top + CellSize * block->row) {
                Fault("the next piece is drawn off its frame");
            }
        }
    }
    for (const Piece& sample : statisticsSamples) {
        for (const Block* block : sample.blocks) owned.push_back(block);
    }
}

void CheckOwnership() {
    // Kept between checks: millions of them run, and allocating each time
    // would dominate under the sanitizers.
    static std::vector<const Block*> owned;
    owned.clear();
    CheckWell(owned);
    CheckPieces(owned);
    const int held = static_cast<int>(owned.size());
    std::sort(owned.begin(), owned.end());
    if (std::adjacent_find(owned.begin(), owned.end()) != owned.end()) Fault("a Block has two owners");
    if (LiveBlockCount() != held) Fault("live Blocks differ from the Blocks held");
    if (LiveBrushCount() != held) Fault("live brushes differ from the Blocks held");
}

// Score, lines and level may change only by one landing's rows at a time.
void CheckScoring() {
    const int32_t dealt = DealtPieceCount();
    if (gameState.level < 0 || gameState.level > 9) Fault("level outside 0..9");
    if (baseline.freshGame) {
        if (gameState.score != 0 || gameState.lines != 0 || dealt != 1) Fault("New did not start from nothing");
        if (gameState.level != gameState.startLevel) Fault("New did not start at the chosen level");
        baseline = {gameState.score, gameState.lines, gameState.level, dealt, false};
        return;
    }
    const int32_t rows = gameState.lines - baseline.lines;
    if (dealt != baseline.dealt) {
        if (dealt != baseline.dealt + 1) Fault("more than one landing between two checks");
        ++landings;
        if (rows > 0) ++clearingLandings;
    }
    if (rows < 0 || rows > 4) Fault("lines changed by an impossible count");
    if (rows > 0 && dealt == baseline.dealt) Fault("rows were counted without a landing");
    const int32_t earned = rows > 0 ? LineScores[rows] * (baseline.level + 1) : 0;
    if (gameState.score - baseline.score != earned) Fault("score does not match the rows cleared");
    const bool rises = rows > 0 && baseline.level < 9 && gameState.lines / 10 + gameState.startLevel > baseline.level;
    if (gameState.level != baseline.level + (rises ? 1 : 0)) Fault("level did not follow the lines");
    baseline = {gameState.score, gameState.lines, gameState.level, dealt, false};
}

void CheckModel() {
    ++checks;
    CheckOwnership();
    CheckScoring();
}

// The player's own view of its fingers, so that it releases what it holds.
struct Player {
    std::mt19937 random{20240611u};
    bool holding[4] = {};
    int abandoned = 0;

    int Roll(int sides) { return std::uniform_int_distribution<int>(0, sides - 1)(random); }

    void ReleaseEverything() {
        for (bool& held : holding) held = false;
    }

    void NewGameAt(int32_t startLevel) {
        gameState.startLevel = startLevel;
        baseline.freshGame = true;
        NewGame();
    }

    // Where the player means to put the piece in play: mostly the column
    // shift at which it would come to rest deepest, so that rows fill and
    // clear, sometimes anywhere.
    int32_t targetX = 5;  // origin column the piece is steered to
    int32_t plannedFor = -1;

    static int32_t RestingDepth(int32_t shift) {
        int32_t depth = -1;
        for (int32_t drop = 0;; ++drop) {
            for (const Block* block : currentPiece.blocks) {
                if (!IsCellFree(block->col + shift, block->row + drop)) return depth;
            }
            depth = 0;
            for (const Block* block : currentPiece.blocks) depth += block->row + drop;
        }
    }

    void PlanForNewPiece() {
        if (DealtPieceCount() == plannedFor) return;
        plannedFor = DealtPieceCount();
        if (Roll(10) < 2) {
            targetX = Roll(BoardColumns);
            return;
        }
        int32_t best = -1;
        for (int32_t shift = -BoardColumns; shift <= BoardColumns; ++shift) {
            const int32_t depth = RestingDepth(shift);
            if (depth > best || (depth == best && Roll(2) == 0)) {
                best = depth;
                targetX = currentPiece.x + shift;
            }
        }
    }

    // Steers towards the planned column, then holds Down.
    void Steer() {
        PlanForNewPiece();
        if (currentPiece.x != targetX) Release(3);
        if (currentPiece.x > targetX) {
            Release(2);
            if (!holding[0]) Press(0);
        } else if (currentPiece.x < targetX) {
            Release(0);
            if (!holding[2]) Press(2);
        } else {
            Release(0);
            Release(2);
            if (!holding[3]) Press(3);
        }
    }

    // One thing a player might do, then some time passing.
    void Act() {
        const int choice = Roll(1000);
        if (choice < 800) {
            if (gameState.playing) Steer();
        } else if (choice < 880) {
            Press(Roll(4));
        } else if (choice < 990) {
            Release(Roll(4));
        } else if (choice < 991 && Roll(4) == 0) {
            ++abandoned;
            NewGameAt(Roll(10));  // "New" in mid-game
        } else {
            gameState.startLevel = Roll(10);  // what the Level menu stores
        }
        CheckModel();
        AdvanceClock(static_cast<uint32_t>(1 + Roll(120)));
        CheckModel();
    }

    void Press(int key) {
        holding[key] = true;
        OnKeyPressed(PlayerKeys[key]);
    }

    void Release(int key) {
        holding[key] = false;
        OnKeyReleased(PlayerKeys[key]);
    }
};

Player* activePlayer = nullptr;

// The name-entry dialog: its keyboard focus releases every key, the player
// lets go too, types a name, and timers go on firing while it is open.
void AnswerNameEntry() {
    ReleaseAllKeys();
    if (activePlayer != nullptr) activePlayer->ReleaseEverything();
    CheckModel();
    AdvanceClock(120);
    InsertHighScore(gameState.score, "Soak");
    CheckModel();
}

using SoakTest = GameTest;

TEST_F(SoakTest, ThousandsOfRandomGamesKeepTheModelSound) {
    Player player;
    activePlayer = &player;
    firstFault.clear();
    checks = 0;
    landings = 0;
    clearingLandings = 0;
    SetRedrawObserver(CheckModel);
    SetNameEntryHandler(AnswerNameEntry);

    int finished = 0;
    player.NewGameAt(0);
    while (finished < GamesToFinish && firstFault.empty()) {
        player.Act();
        if (gameState.playing == 0) {
            ++finished;
            player.NewGameAt(player.Roll(10));
        }
    }
    activePlayer = nullptr;
    SetRedrawObserver(nullptr);

    EXPECT_EQ(firstFault, "");
    EXPECT_EQ(finished, GamesToFinish);
    EXPECT_GT(clearingLandings, 0);
    EXPECT_GT(player.abandoned, 0);
    RecordProperty("landings", std::to_string(landings));
    RecordProperty("clearing_landings", std::to_string(clearingLandings));
    RecordProperty("checks", std::to_string(checks));
    RecordProperty("abandoned_games", std::to_string(player.abandoned));
}

}  // namespace
