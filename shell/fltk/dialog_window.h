#pragma once
// A modal dialog laid out in dialog units, as the Windows program's dialog
// templates are, and grown with the main window's zoom: it keeps its
// controls in template order (which is also the focus order), stays open on
// Escape and on its close box, and ends only through its own buttons.

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Window.H>

#include <vector>

// A rectangle in dialog units: x, y, width, height.
struct DialogRect {
    int x, y, w, h;
};

class DialogWindow : public Fl_Window {
public:
    // widthDu x heightDu dialog units; the title may be empty.
    DialogWindow(int widthDu, int heightDu, const char* title, const char* xclassName);

    // A button that issues command id through the dialog's procedure;
    // Enter anywhere but on another button presses the default button.
    Fl_Button* AddButton(const DialogRect& rect, const char* text, int id, bool isDefault);
    // Left-aligned text, wrapped at the rectangle's width.
    Fl_Box* AddText(const DialogRect& rect, const char* text);
    // A single-line field without border; read-only fields take no focus.
    Fl_Input_* AddField(const DialogRect& rect, bool editable);

    // A popup without caption bar: a black border (one pixel at zoom 1)
    // around the client area and nothing else. Called before any control
    // is added.
    void UseBorderWithoutCaption();

    // The dialog's procedure for its commands.
    void OnCommand(void (*procedure)(DialogWindow& dialog, int id)) { procedure_ = procedure; }
    // Shows the dialog over the main window's client area and returns when
    // it has ended; the game's timers go on meanwhile.
    void RunModal();
    void End();

    void draw() override;
    int handle(int event) override;

private:
    struct PixelRect {
        int x, y, w, h;
    };
    // Where a control's rectangle lies in the window, in pixels.
    PixelRect Place(const DialogRect& rect) const;
    // The dialogs' font size at the zoom.
    int FontSize() const;
    static void ButtonPressed(Fl_Widget* button, void* id);

    void (*procedure_)(DialogWindow& dialog, int id) = nullptr;
    std::vector<Fl_Button*> buttons_;
    Fl_Button* defaultButton_ = nullptr;
    bool ended_ = false;
    int border_ = 0;  // pixels between the window's edge and the client area
};
