#include "shell/fltk/dialog_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>
#include <FL/fl_draw.H>

#include <cstdint>

#include "game/keyboard.h"
#include "shell/fltk/main_window.h"

namespace {

// The dialogs' font, MS Sans Serif at 8 points, has base units of 6 x 13
// pixels; a dialog unit is a quarter of the width and an eighth of the height.
// At a zoom, every size is that many times its size at zoom 1.
constexpr int BaseUnitX = 6;
constexpr int BaseUnitY = 13;
constexpr int DialogFontSize = 11;

int PixelsX(int du) { return (du * BaseUnitX + 2) / 4 * MainWindowZoom(); }
int PixelsY(int du) { return (du * BaseUnitY + 4) / 8 * MainWindowZoom(); }

void SwallowCloseRequest(Fl_Widget*, void*) {}

}  // namespace

DialogWindow::DialogWindow(int widthDu, int heightDu, const char* title, const char* xclassName)
    : Fl_Window(PixelsX(widthDu), PixelsY(heightDu), title) {
    xclass(xclassName);
    callback(SwallowCloseRequest);
    set_modal();
    end();
}

DialogWindow::PixelRect DialogWindow::Place(const DialogRect& rect) const {
    return {border_ + PixelsX(rect.x), border_ + PixelsY(rect.y), PixelsX(rect.w), PixelsY(rect.h)};
}

void DialogWindow::UseBorderWithoutCaption() {
    clear_border();
    box(FL_BORDER_BOX);
    border_ = MainWindowZoom();
    size(w() + 2 * border_, h() + 2 * border_);
}

Fl_Button* DialogWindow::AddButton(const DialogRect& rect, const char* text, int id, bool isDefault) {
    const PixelRect at = Place(rect);
    Fl_Button* button = new Fl_Button(at.x, at.y, at.w, at.h, text);
    button->labelsize(FontSize());
    button->callback(ButtonPressed, reinterpret_cast<void*>(static_cast<intptr_t>(id)));
    if (isDefault) {
        defaultButton_ = button;
        button->box(FL_THIN_UP_BOX);
    }
    buttons_.push_back(button);
    add(button);
    return button;
}

int DialogWindow::FontSize() const { return DialogFontSize * MainWindowZoom(); }

Fl_Box* DialogWindow::AddText(const DialogRect& rect, const char* text) {
    const PixelRect at = Place(rect);
    Fl_Box* box = new Fl_Box(at.x, at.y, at.w, at.h, text);
    box->box(FL_NO_BOX);
    box->labelsize(FontSize());
    box->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP);
    add(box);
    return box;
}

Fl_Input_* DialogWindow::AddField(const DialogRect& rect, bool editable) {
    const PixelRect at = Place(rect);
    Fl_Input_* field = editable ? static_cast<Fl_Input_*>(new Fl_Input(at.x, at.y, at.w, at.h))
                                : static_cast<Fl_Input_*>(new Fl_Output(at.x, at.y, at.w, at.h));
    field->box(FL_FLAT_BOX);
    field->textsize(FontSize());
    if (editable) {
        field->color(FL_WHITE);
    } else {
        field->color(FL_BACKGROUND_COLOR);
        field->clear_visible_focus();
    }
    add(field);
    return field;
}

void DialogWindow::ButtonPressed(Fl_Widget* button, void* id) {
    DialogWindow* dialog = static_cast<DialogWindow*>(button->window());
    if (dialog->procedure_ != nullptr) dialog->procedure_(*dialog, static_cast<int>(reinterpret_cast<intptr_t>(id)));
}

// FL_BORDER_BOX draws one pixel; the border is as wide as the zoom.
void DialogWindow::draw() {
    Fl_Window::draw();
    fl_color(FL_BLACK);
    for (int ring = 1; ring < border_; ++ring) fl_rect(ring, ring, w() - 2 * ring, h() - 2 * ring);
}

int DialogWindow::handle(int event) {
    if (event == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
        for (Fl_Button* button : buttons_) {
            if (Fl::focus() == button) {
                button->do_callback();
                return 1;
            }
        }
        if (defaultButton_ != nullptr) defaultButton_->do_callback();
        return 1;
    }
    return Fl_Window::handle(event);
}

void DialogWindow::RunModal() {
    // The dialog takes the keyboard: key-ups made while it is open never
    // reach the game view.
    ReleaseAllKeys();
    int screenX = 0, screenY = 0;
    MainClientOrigin(screenX, screenY);
    position(screenX, screenY);
    show();
    while (!ended_ && shown()) Fl::wait();
    hide();
}

void DialogWindow::End() { ended_ = true; }
