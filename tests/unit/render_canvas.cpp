#include "render_canvas.h"

#include <gtest/gtest.h>

#include <string>

#include "game/game_flow.h"
#include "game/board.h"
#include "game/game_state.h"
#include "render/glyphs.h"

void ClearModel() {
    ReleaseAllBlocks();
    currentPiece = Piece{};
    nextPiece = Piece{};
    gameState = GameState{};
}

void SetUpIdleModel() {
    ClearModel();
    BuildStatisticsSamples();
}

void LockBlockAt(int kind, int32_t col, int32_t row, uint8_t raised) {
    Piece carrier{};
    BuildPiece(carrier, kind, BoardPanelRect, col, row);
    Block*& cell = board.At(col, row);
    if (cell != nullptr) FreeBlock(cell);
    cell = carrier.blocks[0];
    cell->raised = raised;
    for (int i = 1; i < 4; ++i) FreeBlock(carrier.blocks[i]);
}

bool ShowsDigit(const Canvas& canvas, int32_t x, int32_t y, int digit) {
    for (int gy = 0; gy < DigitHeight; ++gy) {
        for (int gx = 0; gx < DigitWidth; ++gx) {
            if (canvas.At(x + gx, y + gy) != DigitGlyphPixel(digit, gx, gy)) return false;
        }
    }
    return true;
}

std::string ReadDigits(const Canvas& canvas, int32_t x, int32_t y, int count) {
    std::string shown;
    for (int k = 0; k < count; ++k) {
        char found = '?';
        for (int digit = 0; digit < 10 && found == '?'; ++digit) {
            if (ShowsDigit(canvas, x + DigitWidth * k, y, digit)) found = static_cast<char>('0' + digit);
        }
        shown += found;
    }
    return shown;
}

void ExpectPicture(const Canvas& canvas, int32_t x0, int32_t y0, const std::vector<std::string>& rows, Colour fill,
                   Colour background) {
    for (size_t dy = 0; dy < rows.size(); ++dy) {
        for (size_t dx = 0; dx < rows[dy].size(); ++dx) {
            Colour expected = background;
            switch (rows[dy][dx]) {
                case 'L': expected = LightEdge; break;
                case 'D': expected = DarkEdge; break;
                case 'F': expected = fill; break;
                case 'G': expected = PanelGrey; break;
                default: break;
            }
            const int32_t x = x0 + static_cast<int32_t>(dx);
            const int32_t y = y0 + static_cast<int32_t>(dy);
            EXPECT_EQ(canvas.At(x, y), expected) << "at " << x << "," << y << " ('" << rows[dy][dx] << "')";
        }
    }
}

std::vector<std::string> RaisedCell() {
    return {
        "LLLLLLLLLLLLLLL.",
        "LLLLLLLLLLLLLL.D",
        "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD",
        "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD",
        "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD", "LLFFFFFFFFFFFFDD",
        "L.DDDDDDDDDDDDDD",
        ".DDDDDDDDDDDDDDD",
    };
}

std::vector<std::string> SunkenCell() {
    std::vector<std::string> picture = RaisedCell();
    for (std::string& row : picture) {
        for (char& c : row) c = c == 'L' ? 'D' : (c == 'D' ? 'L' : c);
    }
    return picture;
}
