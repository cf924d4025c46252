#include "shell/fltk/dialogs.h"

#include <FL/Fl_Input.H>

#include <cstdint>
#include <cstdio>
#include <string>

#include "game/game_state.h"
#include "resources/resource_ids.h"
#include "scores/high_scores.h"
#include "shell/common/command_tables.h"
#include "shell/common/window_events.h"
#include "shell/fltk/dialog_window.h"
#include "shell/common/text_encoding.h"

namespace {

constexpr int IdOk = 1;
// Typed names keep at most 9 characters: the tenth byte is the NUL.
constexpr int TypedNameLimit = HighScoreNameSize - 1;

// Numbers show as unsigned decimals, so -1 reads 4294967295.
std::string UnsignedText(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(static_cast<uint32_t>(value)));
    return text;
}

const char* KeyName(int32_t code) {
    switch (code) {
        case 32: return "Space";
        case 37: return "Left";
        case 38: return "Up";
        case 39: return "Right";
        case 40: return "Down";
        default: return "?";
    }
}

Fl_Input_* nameField = nullptr;

void NameEntryCommand(DialogWindow& dialog, int id) {
    if (id != IdOk) return;
    AcceptNameEntry(AnsiFromUtf8(nameField->value()).c_str());
    dialog.End();
}

void TopTenCommand(DialogWindow& dialog, int id) {
    if (id == IdOk) {
        dialog.End();
    } else if (id == IDC_RESET_SCORES) {
        ResetAndSaveHighScores();
        dialog.End();
    }
}

void SetKeysCommand(DialogWindow& dialog, int id) {
    if (id == IdOk) dialog.End();
}

}  // namespace

void OpenNameEntryDialog() {
    DialogWindow dialog(99, 118, "", "QuadrafallNameEntry");
    dialog.UseBorderWithoutCaption();
    dialog.AddButton({32, 83, 34, 14}, "OK", IdOk, true);
    Fl_Input_* scoreField = dialog.AddField({11, 34, 23, 10}, false);
    dialog.AddText({11, 5, 77, 10}, "Well done you're in");
    dialog.AddText({37, 34, 20, 10}, "points!");
    nameField = dialog.AddField({11, 69, 77, 10}, true);
    nameField->maximum_size(TypedNameLimit);
    dialog.AddText({11, 54, 77, 10}, "Enter your name");
    dialog.AddText({11, 20, 77, 10}, "the Top Ten with");
    scoreField->value(UnsignedText(gameState.score).c_str());
    dialog.OnCommand(NameEntryCommand);
    dialog.RunModal();
    nameField = nullptr;
}

void OpenTopTenDialog() {
    DialogWindow dialog(178, 154, "TopTen", "QuadrafallTopTen");
    dialog.AddButton({114, 129, 32, 14}, "OK", IdOk, true);
    static const char* const PlaceLabels[HighScoreCount] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    for (int place = 0; place < HighScoreCount; ++place) dialog.AddText({11, 4 + 12 * place, 8, 12}, PlaceLabels[place]);
    // The fields come in id order, as in the Windows template; each row's
    // ids say where it stands.
    Fl_Input_* nameFields[HighScoreCount] = {};
    Fl_Input_* scoreFields[HighScoreCount] = {};
    for (int id = 1004; id <= 1013; ++id) {
        for (int row = 0; row < HighScoreCount; ++row) {
            if (TopTenNameIds[row] == id) nameFields[row] = dialog.AddField({30, 4 + 12 * row, 60, 12}, false);
        }
    }
    dialog.AddButton({31, 129, 53, 14}, "Reset Scores", IDC_RESET_SCORES, false);
    for (int id = 1086; id <= 1095; ++id) {
        for (int row = 0; row < HighScoreCount; ++row) {
            if (TopTenScoreIds[row] == id) scoreFields[row] = dialog.AddField({110, 4 + 12 * row, 60, 12}, false);
        }
    }
    // The table as it is stored now, so that another copy of the game's
    // entries show.
    RefreshHighScores();
    for (int row = 0; row < HighScoreCount; ++row) {
        const HighScoreEntry& entry = highScores.entries[row];
        nameFields[row]->value(Utf8FromAnsi(entry.name, HighScoreNameSize).c_str());
        scoreFields[row]->value(UnsignedText(entry.score).c_str());
    }
    dialog.OnCommand(TopTenCommand);
    dialog.RunModal();
}

void OpenSetKeysDialog() {
    DialogWindow dialog(122, 113, "", "QuadrafallSetKeys");
    dialog.AddButton({7, 92, 32, 14}, "OK", IdOk, true);
    dialog.AddButton({83, 92, 32, 14}, "Cancel", 2, false);
    dialog.AddButton({7, 71, 53, 12}, "Anticlockwise", IDC_ANTICLOCKWISE, false);
    dialog.AddButton({7, 43, 53, 12}, "Left", IDC_LEFT, false);
    dialog.AddButton({7, 57, 53, 12}, "Clockwise", IDC_CLOCKWISE, false);
    dialog.AddButton({7, 15, 53, 12}, "Down", IDC_DOWN, false);
    dialog.AddButton({7, 29, 53, 12}, "Right", IDC_RIGHT, false);
    const DialogRect fieldRects[5] = {{73, 17, 31, 12}, {73, 31, 31, 12}, {73, 44, 31, 12}, {73, 59, 31, 12}, {73, 74, 31, 12}};
    const int fieldIds[5] = {IDC_DOWN_KEY, IDC_RIGHT_KEY, IDC_LEFT_KEY, IDC_CLOCKWISE_KEY, IDC_ANTICLOCKWISE_KEY};
    for (int i = 0; i < 5; ++i) {
        Fl_Input_* field = dialog.AddField(fieldRects[i], true);
        for (int binding = 0; binding < 5; ++binding) {
            if (KeyBindingFieldIds[binding] == fieldIds[i]) field->value(KeyName(KeyBindings[binding]));
        }
    }
    dialog.AddButton({45, 92, 32, 14}, "Default", IDC_DEFAULT, false);
    dialog.OnCommand(SetKeysCommand);
    dialog.RunModal();
}
