#include "shell/web/highscores_file.h"

#include <emscripten.h>

#include "scores/high_scores.h"
#include "scores/score_codec.h"
#include "scores/score_store.h"
#include "shell/common/window_events.h"
#include "shell/web/dialogs.h"

EM_JS(void, OfferDownload, (const char* fileName, const uint8_t* bytes, int size), {
    pageFiles.offerDownload(UTF8ToString(fileName), HEAPU8.slice(bytes, bytes + size));
});

void SaveHighScoresFile() {
    RefreshHighScores();
    uint8_t stored[HighScoreStoredMaxSize];
    const std::size_t size = EncodeHighScores(highScores, stored);
    OfferDownload("highscores.dat", stored, static_cast<int>(size));
}

// Bytes beyond what ten records can take are ignored when the table is read,
// as the desktop builds ignore the rest of a longer file; they are not kept.
void OpenHighScoresFile(const uint8_t* bytes, std::size_t size) {
    const std::size_t kept = size < HighScoreStoredMaxSize ? size : HighScoreStoredMaxSize;
    StoreError error{};
    if (!LockScoreStore(&error)) {
        TellSaveFailed(error);
        return;
    }
    const bool replaced = ReplaceScoreStore(bytes, kept, &error);
    UnlockScoreStore();
    if (!replaced) {
        TellSaveFailed(error);
        return;
    }
    // The new bytes are read as a start-up reads them, onto empty entries,
    // so that the table is what either desktop build makes of the file.
    highScores = HighScoreTable{};
    if (!LoadHighScores()) ResetHighScores();
    OpenTopTenDialog();
}
