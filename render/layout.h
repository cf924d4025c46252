#pragma once
// Where everything lies in the 291 x 384 client area. Nothing scales.

#include "render/surface.h"

constexpr int32_t ClientWidth = 291;
constexpr int32_t ClientHeight = 384;
constexpr int32_t CellSize = 16;

constexpr Colour PanelGrey = 0xC0C0C0;
constexpr Colour LightEdge = 0xFFFFFF;
constexpr Colour DarkEdge = 0x808080;

constexpr Rect ClientAreaRect = {0, 0, ClientWidth, ClientHeight};
constexpr Rect BoardPanelRect = {12, 56, 172, 376};
constexpr Rect StatisticsPanelRect = {182, 11, 283, 303};
constexpr Rect NextPanelRect = {182, 313, 283, 377};
constexpr Rect ScorePanelRect = {11, 11, 173, 46};
constexpr Rect ScoreBoxRect = {14, 17, 92, 40};

constexpr int32_t DigitWidth = 13;
constexpr int32_t DigitHeight = 23;

// Their left and right edges are computed from ScoreBoxRect at start-up,
// lines first, since the level box is placed after the lines box.
extern Rect LinesBoxRect;
extern Rect LevelBoxRect;

// The frame in which the next piece of a kind is shown: kinds 0 to 4 sit
// 8 px right of the panel's corner, the square unshifted, the bar 8 px down.
Rect NextPieceFrame(int kind);
// The frame of statistics sample i; the seventh lies 8 px below the pitch.
Rect StatisticsSampleFrame(int sample);
// The count box beside statistics sample i, on the regular 42 px pitch.
Rect StatisticsCountBox(int sample);
