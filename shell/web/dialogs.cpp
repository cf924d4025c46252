#include "shell/web/dialogs.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "game/game_state.h"
#include "game/keyboard.h"
#include "resources/resource_ids.h"
#include "scores/high_scores.h"
#include "shell/common/command_tables.h"
#include "shell/common/player_message.h"
#include "shell/common/text_encoding.h"
#include "shell/common/window_events.h"

// The dialogs are <dialog> elements of the page, named by their element id;
// their controls carry the numbers of the Windows templates.
EM_JS(void, SetDialogItemText, (const char* dialog, int id, const char* text), {
    pageDialogs.setItemText(UTF8ToString(dialog), id, UTF8ToString(text));
});
EM_JS(void, CopyDialogItemText, (const char* dialog, int id, char* buffer, int capacity), {
    stringToUTF8(pageDialogs.itemText(UTF8ToString(dialog), id), buffer, capacity);
});
EM_JS(void, OpenPageDialog, (const char* dialog), { pageDialogs.open(UTF8ToString(dialog)); });
EM_JS(void, ClosePageDialog, (const char* dialog), { pageDialogs.close(UTF8ToString(dialog)); });
// Holds the game until the dialog issues a command, and returns its id.
EM_ASYNC_JS(int, WaitForDialogCommand, (const char* dialog), {
    return await pageDialogs.nextCommand(UTF8ToString(dialog));
});
EM_JS(void, ShowPageMessage, (const char* text), { pageDialogs.showMessage(UTF8ToString(text)); });

namespace {

constexpr int IdOk = 1;
const char* const NameEntryDialog = "name-entry";
const char* const TopTenDialog = "top-ten";
// Room for whatever the player typed; the entry keeps its first 9 characters.
constexpr int TypedNameCapacity = 256;

// Numbers show as unsigned decimals, so -1 reads 4294967295.
std::string UnsignedText(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(static_cast<uint32_t>(value)));
    return text;
}

// The dialog takes the keyboard: key-ups made while it is open never reach
// the game.
void OpenModal(const char* dialog) {
    ReleaseAllKeys();
    OpenPageDialog(dialog);
}

// True when the command ends the dialog. Escape arrives as IDCANCEL and is
// swallowed: only OK ends it.
bool NameEntryCommand(int id) {
    if (id != IdOk) return false;
    char typed[TypedNameCapacity] = {};
    CopyDialogItemText(NameEntryDialog, IDC_NAME_FIELD, typed, sizeof typed);
    AcceptNameEntry(AnsiFromUtf8(typed).c_str());
    return true;
}

}  // namespace

void RunNameEntryDialog() {
    SetDialogItemText(NameEntryDialog, IDC_SCORE_FIELD, UnsignedText(gameState.score).c_str());
    SetDialogItemText(NameEntryDialog, IDC_NAME_FIELD, "");
    OpenModal(NameEntryDialog);
    while (!NameEntryCommand(WaitForDialogCommand(NameEntryDialog))) {
    }
    ClosePageDialog(NameEntryDialog);
}

void OpenTopTenDialog() {
    RefreshHighScores();
    for (int row = 0; row < HighScoreCount; ++row) {
        const HighScoreEntry& entry = highScores.entries[row];
        SetDialogItemText(TopTenDialog, TopTenNameIds[row], Utf8FromAnsi(entry.name, HighScoreNameSize).c_str());
        SetDialogItemText(TopTenDialog, TopTenScoreIds[row], UnsignedText(entry.score).c_str());
    }
    OpenModal(TopTenDialog);
}

void OnTopTenCommand(int id) {
    if (id == IdOk) {
        ClosePageDialog(TopTenDialog);
    } else if (id == IDC_RESET_SCORES) {
        ResetAndSaveHighScores();
        ClosePageDialog(TopTenDialog);
    }
}

void ShowPlayerMessage(const char* text) {
    ReleaseAllKeys();
    ShowPageMessage(text);
}
