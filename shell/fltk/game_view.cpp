#include "shell/fltk/game_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstring>

#include "game/game_flow.h"
#include "game/keyboard.h"
#include "render/frame.h"
#include "shell/fltk/key_codes.h"
#include "shell/fltk/main_window.h"

GameView::GameView(int x, int y, int zoom)
    : Fl_Widget(x, y, ClientWidth * zoom, ClientHeight * zoom), pixels_{}, zoom_(zoom) {
    target_.pixels = pixels_;
    target_.width = ClientWidth;
    target_.height = ClientHeight;
    box(FL_NO_BOX);
}

void GameView::SetZoom(int zoom) {
    zoom_ = zoom;
    resize(x(), y(), ClientWidth * zoom, ClientHeight * zoom);
    redraw();
}

// The pixels are 0x00BBGGRR, bytes R, G, B, 0 in memory: FLTK takes them as
// they are with a pixel stride of 4. Zoomed, FLTK asks for the screen's
// lines one at a time, each pixel repeated, with no smoothing.
void GameView::ComposeAndShow() {
    RenderFrame(&target_);
    if (zoom_ == 1) {
        fl_draw_image(reinterpret_cast<const uchar*>(pixels_), x(), y(), ClientWidth, ClientHeight, 4);
    } else {
        fl_draw_image(ZoomedLine, this, x(), y(), w(), h(), 4);
    }
}

void GameView::ZoomedLine(void* view, int x, int y, int width, unsigned char* line) {
    const GameView& self = *static_cast<const GameView*>(view);
    const uint32_t* frameLine = self.pixels_ + (y / self.zoom_) * ClientWidth;
    for (int i = 0; i < width; ++i) std::memcpy(line + 4 * i, &frameLine[(x + i) / self.zoom_], 4);
}

void GameView::RedrawNow() {
    Fl_Window* owner = window();
    if (owner == nullptr || !owner->shown() || !owner->visible()) return;
    owner->make_current();
    ComposeAndShow();
    XFlush(fl_display);
}

// An expose paints the frame of the model as it is now, which is the frame
// the last redraw showed.
void GameView::draw() {
    ComposeAndShow();
    XFlush(fl_display);
}

int GameView::handle(int event) {
    switch (event) {
        case FL_FOCUS:
            return 1;
        case FL_UNFOCUS:
            ReleaseAllKeys();
            return 1;
        case FL_HIDE:
            // The window was minimised or taken out of sight (another
            // workspace): the game waits for the player to come back.
            PauseGame();
            return Fl_Widget::handle(event);
        case FL_PUSH:
            Fl::focus(this);
            return 1;
        case FL_KEYDOWN:
            if (Fl::event_key() == FL_F + 10) {
                OpenMenuBarFromKeyboard();
            } else if (const uint32_t code = VirtualKeyFor(Fl::event_key())) {
                OnKeyPressed(code);
            }
            return 1;
        case FL_KEYUP:
            if (const uint32_t code = VirtualKeyFor(Fl::event_key())) OnKeyReleased(code);
            return 1;
        default:
            return Fl_Widget::handle(event);
    }
}
