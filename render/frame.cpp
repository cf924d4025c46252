#include "render/frame.h"

#include "game/board.h"
#include "game/game_state.h"
#include "render/draw.h"
#include "render/layout.h"

namespace {

void FillWithColour(Surface* dc, const Rect& rect, Colour colour) {
    const Brush brush = CreateBrush(colour);
    FillWithBrush(dc, rect, brush);
    DeleteBrush(brush);
}

// Every panel is a grey field sunk into the background.
void DrawSunkenPanel(Surface* dc, const Rect& rect, int32_t bevel) {
    FillWithColour(dc, rect, PanelGrey);
    DrawBevel(dc, rect, bevel, 0);
}

}  // namespace

void RenderFrame(Surface* dc) {
    Surface* offscreen = CreateOffscreenSurface(dc, ClientWidth, ClientHeight);
    // Without an image to compose into, the window keeps its last whole frame
    // rather than showing a partial one.
    if (offscreen == nullptr) return;
    FillWithColour(offscreen, ClientAreaRect, PanelGrey);
    DrawBoardPanel(offscreen);
    DrawNextPanel(offscreen);
    DrawScorePanel(offscreen);
    DrawStatisticsPanel(offscreen);
    CopyToTarget(dc, offscreen);
    DeleteOffscreenSurface(offscreen);
}

void DrawBoardPanel(Surface* dc) {
    DrawSunkenPanel(dc, BoardPanelRect, 3);
    for (int32_t row = 0; row < BoardRows; ++row) {
        for (int32_t col = 0; col < BoardColumns; ++col) {
            const Block* block = board.At(col, row);
            if (block != nullptr) DrawBlock(dc, *block);
        }
    }
    // The falling piece goes over the well's Blocks: after a game ends, the
    // piece that no longer fitted stays visible on top of them.
    if (gameState.hasCurrent) DrawPiece(dc, currentPiece);
}

void DrawNextPanel(Surface* dc) {
    DrawSunkenPanel(dc, NextPanelRect, 2);
    if (gameState.hasNext) DrawPiece(dc, nextPiece);
}

void DrawScorePanel(Surface* dc) {
    DrawSunkenPanel(dc, ScorePanelRect, 2);
    // The boxes need no fill: their digits cover them exactly.
    DrawBevel(dc, LinesBoxRect, 1, 0);
    DrawBevel(dc, LevelBoxRect, 1, 0);
    DrawBevel(dc, ScoreBoxRect, 1, 0);
    DrawDigits(dc, LinesBoxRect, gameState.lines, 3);
    DrawDigits(dc, LevelBoxRect, gameState.level, 1);
    DrawDigits(dc, ScoreBoxRect, gameState.score, 6);
}

void DrawStatisticsPanel(Surface* dc) {
    DrawSunkenPanel(dc, StatisticsPanelRect, 2);
    for (int sample = 0; sample < PieceKindCount; ++sample) {
        DrawPiece(dc, statisticsSamples[sample]);
        const Rect countBox = StatisticsCountBox(sample);
        DrawBevel(dc, countBox, 1, 0);
        DrawDigits(dc, countBox, gameState.counts[sample], 2);
    }
}
