// Writes one frame of the game window as a PNG: the idle window as it looks
// before the first game, or a frame of a game state described in a small
// text file. For the documentation, and for looking at a frame by eye.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_flow.h"
#include "game/board.h"
#include "game/game_state.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "support/headless_host.h"
#include "tools/png_file.h"

namespace {

const char* const Usage =
    "usage: frame_png [--state FILE] OUTPUT.png\n"
    "\n"
    "Writes the 291 x 384 game window as an RGB PNG. Without --state it is the\n"
    "idle window before the first game: empty well and next panel, readouts\n"
    "000000, 000 and 0, and the seven statistics samples with 00 beside each.\n"
    "\n"
    "--state FILE (\"-\" for standard input) starts from that idle window and\n"
    "applies a description, one statement per line; '#' starts a comment:\n"
    "\n"
    "  score N               score readout (N >= 0)\n"
    "  lines N               lines readout\n"
    "  level N               level readout\n"
    "  counts N N N N N N N  the seven statistics counts, kinds 0 to 6\n"
    "  well ROW CELLS        row 0..19 of the well (0 is the top); CELLS is 10\n"
    "                        characters, '.' empty or a kind 0..6 for a Block\n"
    "  sunken ROW            draws that row's Blocks sunken, as during a blink\n"
    "  current KIND COL ROW  the falling piece, its origin at (COL, ROW) of the\n"
    "                        well; all four cells must lie inside the well\n"
    "  next KIND             the next piece in its panel\n"
    "\n"
    "Kinds: 0 magenta, 1 red, 2 cyan, 3 yellow, 4 blue, 5 green square, 6 orange bar.\n"
    "\n"
    "Example, a game in progress:\n"
    "  score 4210\n"
    "  lines 17\n"
    "  level 1\n"
    "  counts 4 3 5 2 6 3 4\n"
    "  well 17 ....5.....\n"
    "  well 18 0.225.3344\n"
    "  well 19 0012266663\n"
    "  current 4 4 5\n"
    "  next 6\n";

void BuildIdleModel() {
    BuildStatisticsSamples();
}

void FreeModel() {
    ReleaseAllBlocks();
    gameState = GameState{};
}

bool ReadNumber(std::istringstream& words, int32_t low, int32_t high, int32_t& value) {
    long long number = 0;
    if (!(words >> number) || number < low || number > high) return false;
    value = static_cast<int32_t>(number);
    return true;
}

bool IsKind(char c) { return c >= '0' && c < '0' + PieceKindCount; }

void LockBlock(int kind, int32_t col, int32_t row) {
    Piece carrier{};
    BuildPiece(carrier, kind, BoardPanelRect, col, row);
    Block*& cell = board.At(col, row);
    if (cell != nullptr) FreeBlock(cell);
    cell = carrier.blocks[0];
    for (int i = 1; i < 4; ++i) FreeBlock(carrier.blocks[i]);
}

bool FitsInWell(int32_t kind, int32_t col, int32_t row) {
    for (const auto& offset : PieceTypes[kind].offsets) {
        const int32_t c = col + offset[0];
        const int32_t r = row + offset[1];
        if (c < 0 || c >= BoardColumns || r < 0 || r >= BoardRows) return false;
    }
    return true;
}

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

// Applies one statement; false with a reason when it is not understood.
bool ApplyStatement(const std::string& line, std::string& error) {
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword)) return true;
    const int32_t Max = 0x7FFFFFFF;
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    if (keyword == "score" || keyword == "lines" || keyword == "level") {
        if (!ReadNumber(words, 0, Max, a)) return Fail(error, keyword + " needs a number of 0 or more");
        (keyword == "score" ? gameState.score : keyword == "lines" ? gameState.lines : gameState.level) = a;
    } else if (keyword == "counts") {
        for (int32_t& count : gameState.counts) {
            if (!ReadNumber(words, 0, Max, count)) return Fail(error, "counts needs seven numbers of 0 or more");
        }
    } else if (keyword == "well") {
        std::string cells;
        if (!ReadNumber(words, 0, BoardRows - 1, a) || !(words >> cells) || cells.size() != BoardColumns) {
            return Fail(error, "well needs a row 0..19 and 10 cells");
        }
        for (int32_t col = 0; col < BoardColumns; ++col) {
            if (cells[col] != '.' && !IsKind(cells[col])) return Fail(error, "a well cell is '.' or a kind 0..6");
        }
        for (int32_t col = 0; col < BoardColumns; ++col) {
            Block*& cell = board.At(col, a);
            if (cell != nullptr) FreeBlock(cell);
            cell = nullptr;
            if (cells[col] != '.') LockBlock(cells[col] - '0', col, a);
        }
    } else if (keyword == "sunken") {
        if (!ReadNumber(words, 0, BoardRows - 1, a)) return Fail(error, "sunken needs a row 0..19");
        for (int32_t col = 0; col < BoardColumns; ++col) {
            if (board.At(col, a) != nullptr) board.At(col, a)->raised = 0;
        }
    } else if (keyword == "current") {
        if (!ReadNumber(words, 0, PieceKindCount - 1, a) || !ReadNumber(words, 0, BoardColumns - 1, b) ||
            !ReadNumber(words, 0, BoardRows - 1, c)) {
            return Fail(error, "current needs a kind 0..6, a column 0..9 and a row 0..19");
        }
        if (!FitsInWell(a, b, c)) return Fail(error, "the current piece must lie inside the well");
        if (gameState.hasCurrent) ReleasePiece(currentPiece);
        BuildPiece(currentPiece, a, BoardPanelRect, b, c);
        gameState.hasCurrent = 1;
    } else if (keyword == "next") {
        if (!ReadNumber(words, 0, PieceKindCount - 1, a)) return Fail(error, "next needs a kind 0..6");
        if (gameState.hasNext) ReleasePiece(nextPiece);
        BuildPiece(nextPiece, a, NextPieceFrame(a), 2, 1);
        gameState.hasNext = 1;
        gameState.nextType = a;
    } else {
        return Fail(error, "unknown statement '" + keyword + "'");
    }
    std::string extra;
    if (words >> extra) return Fail(error, "unexpected '" + extra + "' after " + keyword);
    return true;
}

bool ApplyDescription(const char* path) {
    FILE* file = std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "r");
    if (file == nullptr) {
        std::fprintf(stderr, "frame_png: cannot read %s\n", path);
        return false;
    }
    bool ok = true;
    char buffer[512];
    for (int lineNumber = 1; ok && std::fgets(buffer, sizeof buffer, file) != nullptr; ++lineNumber) {
        std::string line = buffer;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::string error;
        if (!ApplyStatement(line, error)) {
            std::fprintf(stderr, "frame_png: %s:%d: %s\n", path, lineNumber, error.c_str());
            ok = false;
        }
    }
    if (file != stdin) std::fclose(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const char* statePath = nullptr;
    const char* outputPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--state") == 0 && i + 1 < argc && statePath == nullptr) {
            statePath = argv[++i];
        } else if (argv[i][0] != '-' && outputPath == nullptr) {
            outputPath = argv[i];
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    if (outputPath == nullptr) {
        std::fputs(Usage, stderr);
        return 2;
    }

    ResetHeadlessHost();
    BuildIdleModel();
    if (statePath != nullptr && !ApplyDescription(statePath)) {
        FreeModel();
        return 2;
    }
    std::vector<uint32_t> frame(static_cast<size_t>(ClientWidth) * ClientHeight);
    Surface window = {frame.data(), ClientWidth, ClientHeight};
    RenderFrame(&window);
    FreeModel();
    std::string error;
    if (!WritePng(outputPath, {frame.data(), ClientWidth, ClientHeight, nullptr}, error)) {
        std::fprintf(stderr, "frame_png: cannot write %s: %s\n", outputPath, error.c_str());
        return 1;
    }
    return 0;
}
