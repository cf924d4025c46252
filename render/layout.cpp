#include "render/layout.h"

// These two run as static initialisers, in this order, before main.
Rect LinesBoxRect = {ScoreBoxRect.right + 13, 17, ScoreBoxRect.right + 52, 40};
Rect LevelBoxRect = {LinesBoxRect.right + 13, 17, LinesBoxRect.right + 26, 40};

Rect NextPieceFrame(int kind) {
    Rect frame = NextPanelRect;
    if (kind == 6) {
        frame.top += 8;
        frame.bottom += 8;
    } else if (kind != 5) {
        frame.left += 8;
        frame.right += 8;
    }
    return frame;
}

Rect StatisticsSampleFrame(int sample) {
    const int32_t left = StatisticsPanelRect.left + 4;
    const int32_t top = StatisticsPanelRect.top + 7 + 42 * sample + (sample == 6 ? 8 : 0);
    return {left, top, left + 4 * CellSize, top + 2 * CellSize};
}

Rect StatisticsCountBox(int sample) {
    const Rect& panel = StatisticsPanelRect;
    return {panel.left + 71, panel.top + 11 + 42 * sample, panel.left + 97, panel.top + 34 + 42 * sample};
}
