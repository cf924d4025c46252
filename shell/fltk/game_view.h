#pragma once
// The 291 x 384 game image under the menu bar. It owns the pixels the
// frames are composed into and takes every key the main window receives.

#include <FL/Fl_Widget.H>

#include <cstdint>

#include "render/layout.h"
#include "render/software_surface.h"

class GameView : public Fl_Widget {
public:
    GameView(int x, int y);

    // Composes the frame from the model and puts it on the screen before
    // returning, as a redraw of the game must.
    void RedrawNow();

    void draw() override;
    int handle(int event) override;

private:
    void ComposeAndShow();

    uint32_t pixels_[ClientWidth * ClientHeight];
    Surface target_;
};
