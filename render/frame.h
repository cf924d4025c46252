#pragma once
// The whole window image, composed off-screen from the model and copied to
// the window in one transfer.

#include "render/surface.h"

void RenderFrame(Surface* dc);
void DrawBoardPanel(Surface* dc);
void DrawNextPanel(Surface* dc);
void DrawScorePanel(Surface* dc);
void DrawStatisticsPanel(Surface* dc);
