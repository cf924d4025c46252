// A copy of the game reduced to its Top Ten, for tests that need several real
// processes on one store: it starts up as the game does, then stores through
// the same calls as the game's dialogs. Built for every platform the game is.
//
//   top_ten_writer store SCORE NAME [--wait]
//       loads the table as at start-up and prints "ready"; with --wait it then
//       waits for a line on standard input; then enters NAME with SCORE as the
//       name-entry dialog's OK does. Exit status 0 when the table was stored,
//       1 when the player was told it was not. What the player is told goes
//       to standard error.
//   top_ten_writer hold-lock
//       takes the store's lock, prints "locked", and holds it until a line or
//       the end of standard input arrives; then replaces the table, as a save
//       does, with one of its own (70 points for "Holder") and gives it up.
//   top_ten_writer save-loop
//       prints "ready", then saves table after table until it is killed:
//       save n holds ten entries of n points named "t<n>".
//
// top_ten_writer_unlocked is the same program linked with a store lock that
// every file system refuses, for the saves that go on without one.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game_state.h"
#include "scores/high_scores.h"
#include "scores/score_store.h"
#include "shell/common/player_message.h"
#include "shell/common/window_events.h"
#include "support/score_files.h"

namespace {

bool toldNotStored = false;

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void AwaitLine() {
    char line[64];
    if (std::fgets(line, sizeof line, stdin) == nullptr) return;
}

void StartUp() {
    if (!LoadHighScores()) ResetHighScores();
}

int Store(int32_t score, const char* name, bool wait) {
    StartUp();
    Say("ready");
    if (wait) AwaitLine();
    gameState.score = score;
    AcceptNameEntry(name);
    return toldNotStored ? 1 : 0;
}

int HoldLock() {
    StoreError error;
    if (!LockScoreStore(&error)) {
        std::fprintf(stderr, "%s\n", error.reason);
        return 1;
    }
    Say("locked");
    AwaitLine();
    const Bytes held = StoredTable({{70, "Holder"}});
    const bool replaced = ReplaceScoreStore(held.data(), held.size(), &error);
    UnlockScoreStore();
    return replaced ? 0 : 1;
}

int SaveLoop() {
    StartUp();
    Say("ready");
    for (int32_t n = 1;; ++n) {
        char name[HighScoreNameSize];
        std::snprintf(name, sizeof name, "t%d", static_cast<int>(n % 100000000));
        for (HighScoreEntry& entry : highScores.entries) {
            std::memset(entry.name, 0, sizeof entry.name);
            std::memcpy(entry.name, name, std::strlen(name));
            entry.score = n;
        }
        if (!StoreTableAsItIs(highScores)) return 1;
    }
}

int Usage() {
    std::fputs("usage: top_ten_writer store SCORE NAME [--wait] | hold-lock | save-loop\n", stderr);
    return 2;
}

}  // namespace

void ShowPlayerMessage(const char* text) {
    const char failed[] = "The Top Ten could not be saved";
    if (std::strncmp(text, failed, sizeof failed - 1) == 0) toldNotStored = true;
    std::fprintf(stderr, "%s\n", text);
}

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "store") == 0) {
        const bool wait = argc >= 5 && std::strcmp(argv[4], "--wait") == 0;
        return Store(static_cast<int32_t>(std::strtol(argv[2], nullptr, 10)), argv[3], wait);
    }
    if (argc == 2 && std::strcmp(argv[1], "hold-lock") == 0) return HoldLock();
    if (argc == 2 && std::strcmp(argv[1], "save-loop") == 0) return SaveLoop();
    return Usage();
}
