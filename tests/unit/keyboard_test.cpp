// Key presses and releases as the main window sees them, and the held-key
// timers they start.

#include "support/game_fixture.h"

namespace {

using KeyPressTest = GameTest;
using StaleKeyTest = GameTest;

constexpr uint32_t RepeatMs = 150;
constexpr uint32_t SoftDropMs = 50;
constexpr uint32_t LetterA = 'A';

// What the shells do when a dialog takes the keyboard from the main window.
void DialogTakesTheKeyboard() { ReleaseAllKeys(); }

// Ends the game at the next gravity step: the square on the floor lands and
// the next piece is dealt onto a locked Block.
void ArrangeGameOverAtNextLanding() {
    PlaceCurrentPiece(SquareKind, 0, 18);
    FillCell(5, 0);
}

TEST_F(KeyPressTest, FirstPressActsAtOnceAndAutoRepeatIsIgnored) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);

    OnKeyPressed(VkLeft);
    OnKeyPressed(VkLeft);
    OnKeyPressed(VkLeft);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 5));
    EXPECT_EQ(KeyDown[VkLeft], 1);
    EXPECT_EQ(repeatTimerActive, 1);
    EXPECT_EQ(TimerInterval(RepeatTimer), RepeatMs);

    // An auto-repeated Down does not put the next soft-drop step off.
    OnKeyPressed(VkDown);
    AdvanceClock(30);
    OnKeyPressed(VkDown);
    EXPECT_EQ(TimerDueIn(SoftDropTimer), SoftDropMs - 30);
}

TEST_F(KeyPressTest, PressWhileTheRepeatTimerRunsWaitsForItsNextTick) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);
    OnKeyPressed(VkLeft);
    AdvanceClock(RepeatMs / 2);

    OnKeyPressed(VkUp);
    OnKeyReleased(VkLeft);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 5));
    EXPECT_EQ(KeyDown[VkUp], 1);
    EXPECT_EQ(TimerDueIn(RepeatTimer), RepeatMs / 2);
}

TEST_F(KeyPressTest, DownStartsOnlyTheSoftDropTimer) {
    StartGame();

    OnKeyPressed(VkDown);

    EXPECT_TRUE(TimerRunning(SoftDropTimer));
    EXPECT_EQ(TimerInterval(SoftDropTimer), SoftDropMs);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
}

TEST_F(KeyPressTest, DownWhileUpIsHeldLeavesTheRepeatTimerAlone) {
    StartGame();
    OnKeyPressed(VkUp);
    AdvanceClock(100);
    const uint32_t dueIn = TimerDueIn(RepeatTimer);

    OnKeyPressed(VkDown);

    EXPECT_EQ(TimerDueIn(RepeatTimer), dueIn);
    EXPECT_EQ(repeatTimerActive, 1);
    EXPECT_EQ(TimerDueIn(SoftDropTimer), SoftDropMs);
}

TEST_F(KeyPressTest, DownPressedAgainBeforeItsTickRestartsTheInterval) {
    StartGame();
    OnKeyPressed(VkDown);
    AdvanceClock(30);
    OnKeyReleased(VkDown);
    AdvanceClock(10);

    OnKeyPressed(VkDown);

    EXPECT_EQ(TimerDueIn(SoftDropTimer), SoftDropMs);
}

TEST_F(KeyPressTest, SpaceStartsTheRepeatTimerWhichStopsAtOnce) {
    StartGame();
    const int redraws = RedrawCount();

    OnKeyPressed(VkSpace);

    EXPECT_EQ(KeyDown[VkSpace], 1);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
    EXPECT_EQ(RedrawCount(), redraws);
}

TEST_F(KeyPressTest, LetterStartsTheRepeatTimerWhichStopsAtOnce) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);

    OnKeyPressed(LetterA);

    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 5));
}

TEST_F(KeyPressTest, KeysBeforeTheFirstNewAreNotRecorded) {
    OnKeyPressed(VkLeft);
    OnKeyPressed(VkDown);
    EXPECT_EQ(KeyDown[VkLeft], 0);
    EXPECT_EQ(KeyDown[VkDown], 0);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_FALSE(TimerRunning(SoftDropTimer));

    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    AdvanceClock(3 * RepeatMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));

    // The key still held from before acts once pressed again in the game.
    OnKeyReleased(VkLeft);
    OnKeyPressed(VkLeft);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 0));
}

TEST_F(KeyPressTest, NewLeavesHeldKeysAndTheirTimersAsTheyAre) {
    StartGame();
    OnKeyPressed(VkLeft);
    OnKeyPressed(VkDown);
    AdvanceClock(20);
    const uint32_t repeatDue = TimerDueIn(RepeatTimer);
    const uint32_t softDropDue = TimerDueIn(SoftDropTimer);

    NewGame();

    EXPECT_EQ(KeyDown[VkLeft], 1);
    EXPECT_EQ(KeyDown[VkDown], 1);
    EXPECT_EQ(repeatTimerActive, 1);
    EXPECT_EQ(TimerDueIn(RepeatTimer), repeatDue);
    EXPECT_EQ(TimerDueIn(SoftDropTimer), softDropDue);
}

TEST_F(KeyPressTest, ReleaseIsRecordedWhileNoGameIsPlaying) {
    StartGame();
    OnKeyPressed(VkRight);
    gameState.playing = 0;

    OnKeyReleased(VkRight);

    EXPECT_EQ(KeyDown[VkRight], 0);
}

TEST_F(KeyPressTest, CodesBeyondTheKeyTableAreIgnored) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 5);

    OnKeyPressed(256 + VkLeft);
    OnKeyPressed(0x10000 + VkDown);
    OnKeyPressed(256);
    OnKeyReleased(256);

    EXPECT_EQ(KeyDown[VkLeft], 0);
    EXPECT_EQ(KeyDown[VkDown], 0);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_FALSE(TimerRunning(SoftDropTimer));
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 5));

    OnKeyPressed(VkLeft);
    OnKeyReleased(256 + VkLeft);
    EXPECT_EQ(KeyDown[VkLeft], 1);
}

TEST_F(StaleKeyTest, DownReleasedUnderTheNameDialogDropsNothingInTheNextGame) {
    SetNameEntryHandler(DialogTakesTheKeyboard);
    StartGame();
    gameState.score = 90;
    ArrangeGameOverAtNextLanding();
    OnKeyPressed(VkDown);
    AdvanceClock(SoftDropMs);
    ASSERT_EQ(NameEntryOpenCount(), 1);
    ASSERT_EQ(gameState.playing, 0);
    EXPECT_EQ(KeyDown[VkDown], 0);

    // The key-up went to the dialog; the soft-drop timer stops at its next tick.
    AdvanceClock(SoftDropMs);
    EXPECT_FALSE(TimerRunning(SoftDropTimer));

    NewGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    AdvanceClock(900);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));

    // A fresh press of Down works as always.
    OnKeyPressed(VkDown);
    AdvanceClock(SoftDropMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 1));
}

TEST_F(StaleKeyTest, LeftReleasedUnderTheNameDialogSlidesNothingInTheNextGame) {
    SetNameEntryHandler(DialogTakesTheKeyboard);
    StartGame();
    gameState.score = 90;
    ArrangeGameOverAtNextLanding();
    OnKeyPressed(VkLeft);
    RunGravityStep();
    ASSERT_EQ(NameEntryOpenCount(), 1);

    NewGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    OnKeyPressed(VkSpace);  // starts the repeat timer, as any key does
    AdvanceClock(3 * RepeatMs);

    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));
    EXPECT_FALSE(TimerRunning(RepeatTimer));

    OnKeyPressed(VkLeft);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 3, 0));
}

// Without a Top Ten place no dialog takes the keyboard, so Left is still held
// when the next game starts; it acts only once a key restarts the repeat timer.
TEST_F(StaleKeyTest, LeftHeldWhenTheGameEndsSlidesNothingInTheNextGame) {
    SetTenthScore(500);
    StartGame();
    ArrangeGameOverAtNextLanding();
    OnKeyPressed(VkLeft);
    RunGravityStep();
    ASSERT_EQ(gameState.playing, 0);
    ASSERT_EQ(NameEntryOpenCount(), 0);

    NewGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    AdvanceClock(3 * RepeatMs);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));
    OnKeyPressed(VkDown);  // starts only the soft-drop timer
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 4, 0));

    OnKeyReleased(VkLeft);
    OnKeyPressed(VkRight);
    EXPECT_TRUE(CurrentPieceIs(SquareKind, 5, 0)) << "the first press acts at once, as in any game";
}

TEST_F(StaleKeyTest, DeactivatedWindowForgetsEveryHeldKey) {
    StartGame();
    PlaceCurrentPiece(SquareKind, 4, 0);
    OnKeyPressed(VkRight);
    OnKeyPressed(VkUp);
    OnKeyPressed(VkDown);
    OnKeyPressed(0xBE);  // the full stop, high in the key table

    ReleaseAllKeys();
    const int redraws = RedrawCount();
    AdvanceClock(RepeatMs);

    for (uint8_t held : KeyDown) ASSERT_EQ(held, 0);
    EXPECT_FALSE(TimerRunning(RepeatTimer));
    EXPECT_EQ(repeatTimerActive, 0);
    EXPECT_FALSE(TimerRunning(SoftDropTimer));
    EXPECT_EQ(RedrawCount(), redraws);
}

}  // namespace
