#pragma once
// The game image under the menu bar: the 291 x 384 frame with every pixel
// shown as a zoom x zoom square. It owns the pixels the frames are composed
// into and takes every key the main window receives.

#include <FL/Fl_Widget.H>

#include <cstdint>

#include "render/layout.h"
#include "render/software_surface.h"

class GameView : public Fl_Widget {
public:
    GameView(int x, int y, int zoom);

    // Shows the frame at another zoom from now on, at the same top-left corner.
    void SetZoom(int zoom);

    // Composes the frame from the model and puts it on the screen before
    // returning, as a redraw of the game must.
    void RedrawNow();

    void draw() override;
    int handle(int event) override;

private:
    void ComposeAndShow();
    // One screen line of the zoomed frame, for fl_draw_image.
    static void ZoomedLine(void* view, int x, int y, int width, unsigned char* line);

    uint32_t pixels_[ClientWidth * ClientHeight];
    Surface target_;
    int zoom_;
};
