#include "shell/fltk/main_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <cstdint>

#include "game/keyboard.h"
#include "render/layout.h"
#include "resources/icon_art.h"
#include "resources/resource_ids.h"
#include "shell/common/level_menu.h"
#include "shell/common/window_events.h"
#include "shell/fltk/game_view.h"
#include "shell/fltk/host_fltk.h"
#include "shell/fltk/menu_commands.h"

namespace {

// At zoom 1; the menu bar grows with the zoom like the frame below it.
constexpr int MenuBarHeight = 20;
constexpr int MenuTextSize = 12;
constexpr Fl_Labeltype UnavailableLabel = FL_FREE_LABELTYPE;
// The Level items keep a column for the check mark, so that their texts line
// up, and only the chosen level shows the mark in it: the toolkit's toggle
// items would draw an empty box beside every other level.
constexpr Fl_Labeltype UncheckedLabel = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE + 1);
constexpr Fl_Labeltype CheckedLabel = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE + 2);

Fl_Window* mainWindow = nullptr;
int zoom = 1;
class MenuBar;
MenuBar* menuBar = nullptr;
GameView* gameView = nullptr;

void MenuItemChosen(Fl_Widget*, void* data) { OnCommand(static_cast<int>(reinterpret_cast<intptr_t>(data))); }

void* Command(int id) { return reinterpret_cast<void*>(static_cast<intptr_t>(id)); }

// "Set Keys" cannot be chosen but is shown in normal text, not greyed: its
// label draws in the foreground colour whatever state the menu gives it.
void DrawUnavailableLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    fl_font(label->font, label->size);
    fl_color(FL_FOREGROUND_COLOR);
    fl_draw(label->value, x, y, w, h, align);
}

void MeasureUnavailableLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    fl_measure(label->value, w, h);
}

// The width of the check mark column, as the toolkit gives its toggle items.
int CheckColumnWidth() { return FL_NORMAL_SIZE * zoom; }

void DrawUncheckedLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    fl_font(label->font, label->size);
    fl_color(label->color);
    fl_draw(label->value, x + CheckColumnWidth(), y, w - CheckColumnWidth(), h, align);
}

// The tick of the toolkit's own toggle items, three pixels thick at zoom 1,
// in the text's colour so that it stays visible on the highlighted item.
void DrawCheckedLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    DrawUncheckedLabel(label, x, y, w, h, align);
    const int size = CheckColumnWidth() - 4 * zoom;
    const int shortArm = size / 3;
    const int longArm = size - shortArm;
    const int left = x;
    int top = y + (h - size) / 2 + longArm - shortArm - 1;
    for (int thickness = 0; thickness < 3 * zoom; ++thickness, ++top) {
        fl_line(left, top, left + shortArm, top + shortArm);
        fl_line(left + shortArm, top + shortArm, left + size - 1, top + shortArm - longArm + 1);
    }
}

void MeasureCheckableLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    fl_measure(label->value, w, h);
    w += CheckColumnWidth();
}

// The menu's own table: the check marks of the levels live in it. No item
// carries a check mark here; the start-up sets the one of level 0.
Fl_Menu_Item menuItems[] = {
    {"Game", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"New", 0, MenuItemChosen, Command(IDM_NEW), 0, 0, 0, 0, 0},
    {"Level", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    {"0", 0, MenuItemChosen, Command(IDM_LEVEL_0), 0, UncheckedLabel, 0, 0, 0},
    {"1", 0, MenuItemChosen, Command(IDM_LEVEL_1), 0, UncheckedLabel, 0, 0, 0},
    {"2", 0, MenuItemChosen, Command(IDM_LEVEL_2), 0, UncheckedLabel, 0, 0, 0},
    {"3", 0, MenuItemChosen, Command(IDM_LEVEL_3), 0, UncheckedLabel, 0, 0, 0},
    {"4", 0, MenuItemChosen, Command(IDM_LEVEL_4), 0, UncheckedLabel, 0, 0, 0},
    {"5", 0, MenuItemChosen, Command(IDM_LEVEL_5), 0, UncheckedLabel, 0, 0, 0},
    {"6", 0, MenuItemChosen, Command(IDM_LEVEL_6), 0, UncheckedLabel, 0, 0, 0},
    {"7", 0, MenuItemChosen, Command(IDM_LEVEL_7), 0, UncheckedLabel, 0, 0, 0},
    {"8", 0, MenuItemChosen, Command(IDM_LEVEL_8), 0, UncheckedLabel, 0, 0, 0},
    {"9", 0, MenuItemChosen, Command(IDM_LEVEL_9), 0, UncheckedLabel, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"Top Ten", 0, MenuItemChosen, Command(IDM_TOP_TEN), 0, 0, 0, 0, 0},
    {"Set Keys", 0, MenuItemChosen, Command(IDM_SET_KEYS), FL_MENU_INACTIVE, UnavailableLabel, 0, 0, 0},
    {"Exit", 0, MenuItemChosen, Command(IDM_EXIT), 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"", 0, MenuItemChosen, Command(IDM_EMPTY_ITEM), 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
};

// Opening a menu takes the keyboard from the game view: key-ups made while
// it is open go to the menu, so nothing may stay marked as held.
class MenuBar : public Fl_Menu_Bar {
public:
    MenuBar(int x, int y, int w, int h) : Fl_Menu_Bar(x, y, w, h) {}

    int handle(int event) override {
        if (event == FL_PUSH) ReleaseAllKeys();
        return Fl_Menu_Bar::handle(event);
    }

    void OpenFromKeyboard() {
        ReleaseAllKeys();
        picked(menu()->pulldown(x(), y(), w(), h(), menu(), this, nullptr, 1));
    }
};

// The close box and Escape both arrive here; only the close box closes.
void MainWindowCallback(Fl_Widget*, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    CloseMainWindow();
}

// The window's icon for the desktop's task list, from the same artwork as the
// Windows icon. FLTK keeps a copy of the image.
void SetWindowIcon(Fl_Window* window) {
    constexpr int size = 32;
    uint32_t pixels[size * size];
    uint8_t opaque[size * size];
    RenderApplicationIcon(size, pixels, opaque);
    uint8_t rgba[size * size * 4];
    for (int i = 0; i < size * size; ++i) {
        rgba[4 * i] = static_cast<uint8_t>(pixels[i]);
        rgba[4 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[4 * i + 3] = opaque[i] ? 255 : 0;
    }
    const Fl_RGB_Image image(rgba, size, size, 4);
    window->icon(&image);
}

}  // namespace

Fl_Window* CreateMainWindow(int windowZoom) {
    zoom = windowZoom;
    Fl::set_labeltype(UnavailableLabel, DrawUnavailableLabel, MeasureUnavailableLabel);
    Fl::set_labeltype(UncheckedLabel, DrawUncheckedLabel, MeasureCheckableLabel);
    Fl::set_labeltype(CheckedLabel, DrawCheckedLabel, MeasureCheckableLabel);
    mainWindow = new Fl_Window(ClientWidth * zoom, (MenuBarHeight + ClientHeight) * zoom, MainWindowTitle(false));
    mainWindow->xclass("Quadrafall");
    SetWindowIcon(mainWindow);
    mainWindow->callback(MainWindowCallback);
    // The view comes first so that it is the widget that takes the keyboard
    // focus, and so that its frame is drawn before the menu bar's text.
    GameView* view = new GameView(0, MenuBarHeight * zoom, zoom);
    gameView = view;
    menuBar = new MenuBar(0, 0, ClientWidth * zoom, MenuBarHeight * zoom);
    menuBar->box(FL_FLAT_BOX);
    menuBar->textsize(MenuTextSize * zoom);
    menuBar->menu(menuItems);
    menuBar->clear_visible_focus();
    mainWindow->end();
    mainWindow->size_range(mainWindow->w(), mainWindow->h(), mainWindow->w(), mainWindow->h());
    SetRedrawTarget(view);
    view->take_focus();
    return mainWindow;
}

void ShowMainWindow() {
    mainWindow->show();
}

void CloseMainWindow() {
    if (mainWindow != nullptr) mainWindow->hide();
}

void SetMainWindowTitle(const char* title) {
    if (mainWindow != nullptr) mainWindow->label(title);
}

void CheckMenuCommand(int id, bool checked) {
    for (Fl_Menu_Item& item : menuItems) {
        if (item.text == nullptr || item.user_data() != Command(id)) continue;
        if (checked) {
            item.set();
        } else {
            item.clear();
        }
        item.labeltype(checked ? CheckedLabel : UncheckedLabel);
    }
}

void OpenMenuBarFromKeyboard() {
    if (menuBar != nullptr) menuBar->OpenFromKeyboard();
}

void MainClientOrigin(int& screenX, int& screenY) {
    screenX = mainWindow->x();
    screenY = mainWindow->y() + MenuBarHeight * zoom;
}

int MainWindowZoom() { return zoom; }

// The window's size hints first: a window manager keeps a window to the
// single size they allow.
void SetMainWindowZoom(int windowZoom) {
    zoom = windowZoom;
    const int width = ClientWidth * zoom, height = (MenuBarHeight + ClientHeight) * zoom;
    mainWindow->size_range(width, height, width, height);
    mainWindow->size(width, height);
    gameView->position(0, MenuBarHeight * zoom);
    gameView->SetZoom(zoom);
    menuBar->resize(0, 0, width, MenuBarHeight * zoom);
    menuBar->textsize(MenuTextSize * zoom);
    mainWindow->redraw();
}

WindowParts MainWindowParts() { return {{ClientWidth, MenuBarHeight + ClientHeight}, {0, 0}}; }
