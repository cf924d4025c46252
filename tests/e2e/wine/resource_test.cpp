// Runs under Wine: reads the program's resources back as the platform sees
// them: the dialog templates control by control, the menu, the icons, the
// manifest and the version.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "render/glyphs.h"
#include "resources/icon_art.h"
#include "resources/resource_ids.h"

namespace {

constexpr WORD ButtonClass = 0x0080;
constexpr WORD EditClass = 0x0081;
constexpr WORD StaticClass = 0x0082;

constexpr DWORD DefaultButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD PushButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD ReadOnlyField = WS_CHILD | WS_VISIBLE | ES_READONLY;
constexpr DWORD WritableField = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD LeftText = WS_CHILD | WS_VISIBLE | SS_LEFT;

struct Control {
    WORD classAtom;
    int id;
    std::string text;
    short x, y, cx, cy;
    DWORD style;
};

bool operator==(const Control& a, const Control& b) {
    return a.classAtom == b.classAtom && a.id == b.id && a.text == b.text && a.x == b.x && a.y == b.y &&
           a.cx == b.cx && a.cy == b.cy && a.style == b.style;
}

std::ostream& operator<<(std::ostream& out, const Control& c) {
    return out << "{class " << c.classAtom << ", id " << c.id << ", \"" << c.text << "\", " << c.x << ", " << c.y
               << ", " << c.cx << ", " << c.cy << ", style 0x" << std::hex << c.style << std::dec << "}";
}

struct DialogTemplate {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool hasMenu = false;
    bool hasClass = false;
    std::string title;
    int pointSize = 0;
    std::string font;
    std::vector<Control> controls;
};

// Reads a classic template's variable fields: 0 for none, 0xFFFF and an
// ordinal, or a NUL-terminated UTF-16 string.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* at) : at_(at) {}
    WORD Word() {
        WORD value;
        std::memcpy(&value, at_, 2);
        at_ += 2;
        return value;
    }
    DWORD DoubleWord() {
        DWORD value;
        std::memcpy(&value, at_, 4);
        at_ += 4;
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    std::string String() {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word()) text += static_cast<char>(c);
        return text;
    }
    // An ordinal comes back as 0x10000 + its value; a string as 0 with its text.
    int OrdinalOrString(std::string& text) {
        const WORD first = Word();
        if (first == 0xFFFF) return 0x10000 + Word();
        text.clear();
        for (WORD c = first; c != 0; c = Word()) text += static_cast<char>(c);
        return 0;
    }
    void AlignToDoubleWord(const BYTE* base) {
        while ((at_ - base) % 4 != 0) ++at_;
    }

private:
    const BYTE* at_;
};

const BYTE* LoadUkResource(LPCSTR type, int id) {
    const HRSRC found = FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK));
    if (found == nullptr) return nullptr;
    return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
}

bool ReadDialogTemplate(int id, DialogTemplate& dialog) {
    const BYTE* base = LoadUkResource(RT_DIALOG, id);
    if (base == nullptr) return false;
    TemplateReader read(base);
    dialog.style = read.DoubleWord();
    dialog.extendedStyle = read.DoubleWord();
    const WORD count = read.Word();
    dialog.x = read.Short();
    dialog.y = read.Short();
    dialog.cx = read.Short();
    dialog.cy = read.Short();
    std::string ignored;
    dialog.hasMenu = read.OrdinalOrString(ignored) != 0 || !ignored.empty();
    dialog.hasClass = read.OrdinalOrString(ignored) != 0 || !ignored.empty();
    dialog.title = read.String();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = read.Word();
        dialog.font = read.String();
    }
    for (WORD i = 0; i < count; ++i) {
        read.AlignToDoubleWord(base);
        Control control;
        control.style = read.DoubleWord();
        if (read.DoubleWord() != 0) return false;  // every control has extended style 0
        control.x = read.Short();
        control.y = read.Short();
        control.cx = read.Short();
        control.cy = read.Short();
        control.id = read.Word();
        std::string className;
        const int atom = read.OrdinalOrString(className);
        control.classAtom = atom != 0 ? static_cast<WORD>(atom - 0x10000) : 0;
        const int textOrdinal = read.OrdinalOrString(control.text);
        if (textOrdinal != 0) return false;
        const WORD extra = read.Word();
        if (extra != 0) return false;
        dialog.controls.push_back(control);
    }
    return true;
}

void ExpectControls(const DialogTemplate& dialog, const std::vector<Control>& expected) {
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(dialog.controls[i], expected[i]) << "control #" << i + 1;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(DialogTemplates, NameEntryIsAsTabled) {
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_NAME_ENTRY, dialog));
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU | DS_SETFONT));
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 99);
    EXPECT_EQ(dialog.cy, 118);
    EXPECT_FALSE(dialog.hasMenu);
    EXPECT_FALSE(dialog.hasClass);
    EXPECT_EQ(dialog.title, "");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    ExpectControls(dialog, {
        {ButtonClass, 1, "OK", 32, 83, 34, 14, DefaultButton},
        {EditClass, 1003, "", 11, 34, 23, 10, ReadOnlyField},
        {StaticClass, 0xFFFF, "Well done you're in", 11, 5, 77, 10, LeftText},
        {StaticClass, 0xFFFF, "points!", 37, 34, 20, 10, LeftText},
        {EditClass, 1002, "", 11, 69, 77, 10, WritableField},
        {StaticClass, 1097, "Enter your name", 11, 54, 77, 10, LeftText},
        {StaticClass, 1098, "the Top Ten with", 11, 20, 77, 10, LeftText},
    });
}

TEST(DialogTemplates, TopTenIsAsTabled) {
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_TOP_TEN, dialog));
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT));
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ(dialog.cx, 178);
    EXPECT_EQ(dialog.cy, 154);
    EXPECT_EQ(dialog.title, "TopTen");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    // Rows by place: label, name field id, score field id, y.
    const int nameIds[10] = {1011, 1004, 1005, 1013, 1006, 1008, 1007, 1009, 1010, 1012};
    const int scoreIds[10] = {1093, 1086, 1087, 1095, 1088, 1090, 1089, 1091, 1092, 1094};
    auto rowOf = [](const int* ids, int id) {
        for (int place = 0; place < 10; ++place) {
            if (ids[place] == id) return place;
        }
        return -1;
    };
    std::vector<Control> expected = {{ButtonClass, 1, "OK", 114, 129, 32, 14, DefaultButton}};
    for (int place = 0; place < 10; ++place) {
        expected.push_back({StaticClass, 0xFFFF, std::to_string(place + 1), 11, static_cast<short>(4 + 12 * place), 8,
                            12, LeftText});
    }
    for (int id = 1004; id <= 1013; ++id) {
        expected.push_back({EditClass, id, "", 30, static_cast<short>(4 + 12 * rowOf(nameIds, id)), 60, 12, ReadOnlyField});
    }
    expected.push_back({ButtonClass, 1014, "Reset Scores", 31, 129, 53, 14, PushButton});
    for (int id = 1086; id <= 1095; ++id) {
        expected.push_back(
            {EditClass, id, "", 110, static_cast<short>(4 + 12 * rowOf(scoreIds, id)), 60, 12, ReadOnlyField});
    }
    ExpectControls(dialog, expected);
}

TEST(DialogTemplates, SetKeysIsAsTabled) {
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(IDD_SET_KEYS, dialog));
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT));
    EXPECT_EQ(dialog.cx, 122);
    EXPECT_EQ(dialog.cy, 113);
    EXPECT_EQ(dialog.title, "");
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    ExpectControls(dialog, {
        {ButtonClass, 1, "OK", 7, 92, 32, 14, DefaultButton},
        {ButtonClass, 2, "Cancel", 83, 92, 32, 14, PushButton},
        {ButtonClass, 1021, "Anticlockwise", 7, 71, 53, 12, PushButton},
        {ButtonClass, 1022, "Left", 7, 43, 53, 12, PushButton},
        {ButtonClass, 1023, "Clockwise", 7, 57, 53, 12, PushButton},
        {ButtonClass, 1024, "Down", 7, 15, 53, 12, PushButton},
        {ButtonClass, 1025, "Right", 7, 29, 53, 12, PushButton},
        {EditClass, 1026, "", 73, 17, 31, 12, WritableField},
        {EditClass, 1031, "", 73, 31, 31, 12, WritableField},
        {EditClass, 1032, "", 73, 44, 31, 12, WritableField},
        {EditClass, 1033, "", 73, 59, 31, 12, WritableField},
        {EditClass, 1034, "", 73, 74, 31, 12, WritableField},
        {ButtonClass, 1027, "Default", 45, 92, 32, 14, PushButton},
    });
}

TEST(MainMenu, GameMenuHoldsItsItemsInOrderAndAnEmptySecondItem) {
    const HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), "Game");
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
    EXPECT_EQ(GetMenuItemID(bar, 1), 65535u);
    EXPECT_EQ(MenuText(bar, 1), "");
    const HMENU game = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(game), 5);
    EXPECT_EQ(MenuText(game, 0), "New");
    EXPECT_EQ(GetMenuItemID(game, 0), 40001u);
    EXPECT_EQ(MenuText(game, 1), "Level");
    EXPECT_EQ(MenuText(game, 2), "Top Ten");
    EXPECT_EQ(GetMenuItemID(game, 2), 40003u);
    EXPECT_EQ(MenuText(game, 3), "Set Keys");
    EXPECT_EQ(GetMenuItemID(game, 3), 40025u);
    EXPECT_EQ(MenuText(game, 4), "Exit");
    EXPECT_EQ(GetMenuItemID(game, 4), 40002u);
    const HMENU level = GetSubMenu(game, 1);
    ASSERT_NE(level, nullptr);
    const UINT levelIds[10] = {40024, 40014, 40015, 40017, 40018, 40019, 40020, 40021, 40022, 40023};
    ASSERT_EQ(GetMenuItemCount(level), 10);
    for (UINT i = 0; i < 10; ++i) {
        EXPECT_EQ(MenuText(level, i), std::to_string(i));
        EXPECT_EQ(GetMenuItemID(level, static_cast<int>(i)), levelIds[i]);
        EXPECT_EQ(GetMenuState(level, i, MF_BYPOSITION) & MF_CHECKED, 0u) << "no check mark in the resource";
    }
    DestroyMenu(bar);
}

TEST(MainMenu, SetKeysIsInactiveButNotGreyed) {
    const HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    const UINT state = GetMenuState(bar, 40025, MF_BYCOMMAND);
    EXPECT_NE(state & MF_DISABLED, 0u);
    EXPECT_EQ(state & (MF_DISABLED | MF_GRAYED), static_cast<UINT>(MF_DISABLED)) << "inactive, drawn in normal text";
    EXPECT_EQ(GetMenuState(bar, 40001, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED), 0u);
    DestroyMenu(bar);
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

namespace {

// 0x00BBGGRR, as the art is, to and from 0x00RRGGBB, as the DIB holds it.
uint32_t SwapRedAndBlue(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// The icon as the system draws it at size x size over background, read back
// as 0x00BBGGRR.
std::vector<uint32_t> DrawnIcon(int id, int size, uint32_t background) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const size_t count = static_cast<size_t>(size) * size;
    for (size_t i = 0; i < count; ++i) bits[i] = SwapRedAndBlue(background);
    const HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon != nullptr) {
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    GdiFlush();
    std::vector<uint32_t> shown(bits, bits + count);
    for (uint32_t& pixel : shown) pixel = SwapRedAndBlue(pixel & 0xFFFFFF);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return shown;
}

// Aqua, in no glyph and not in the application icon.
constexpr uint32_t IconBackground = 0xFFFF00;

}  // namespace

TEST(Icons, ApplicationIconHoldsItsImagesAndTheLargestAsAPng) {
    const BYTE* group = LoadUkResource(RT_GROUP_ICON, IDI_APPLICATION_ICON);
    ASSERT_NE(group, nullptr);
    // The four the icon began with, then the large ones in true colour.
    const struct {
        int size;
        int bitCount;
        bool png;
    } expected[] = {{32, 4, false}, {16, 4, false}, {32, 8, false}, {48, 8, false}, {64, 32, false}, {256, 32, true}};
    WORD count;
    std::memcpy(&count, group + 4, 2);
    ASSERT_EQ(count, std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, group + 6 + 14 * i, sizeof entry);
        EXPECT_EQ(entry.width, expected[i].size % 256) << "image " << i;
        EXPECT_EQ(entry.height, expected[i].size % 256) << "image " << i;
        EXPECT_EQ(entry.bitCount, expected[i].bitCount) << "image " << i;
        const BYTE* image = LoadUkResource(RT_ICON, entry.id);
        ASSERT_NE(image, nullptr) << "image " << i;
        EXPECT_EQ(std::memcmp(image, "\x89PNG\r\n\x1a\n", 8) == 0, expected[i].png) << "image " << i;
    }
}

// At every size it holds, the icon shows the art; the large sizes the
// 32-pixel art with every pixel a whole square, nothing smoothed.
TEST(Icons, ApplicationIconShowsTheArtAtEachSize) {
    for (const int size : {16, 32, 48, 64, 256}) {
        const int drawn = size <= 48 ? size : 32, factor = size / drawn;
        std::vector<uint32_t> art(static_cast<size_t>(drawn) * drawn);
        std::vector<uint8_t> opaque(art.size());
        RenderApplicationIcon(drawn, art.data(), opaque.data());
        const std::vector<uint32_t> shown = DrawnIcon(IDI_APPLICATION_ICON, size, IconBackground);
        int wrong = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const size_t from = static_cast<size_t>(y / factor) * drawn + x / factor;
                wrong += shown[static_cast<size_t>(y) * size + x] != (opaque[from] ? art[from] : IconBackground);
            }
        }
        EXPECT_EQ(wrong, 0) << size << " x " << size;
    }
}

// Drawn over a colour the art does not use, a digit icon paints exactly the
// 13 x 23 glyph and leaves the rest of its 32 x 32 untouched.
TEST(Icons, DigitIconsPaintTheGlyphAndNothingElse) {
    const int ids[10] = {106, 108, 109, 110, 111, 112, 113, 114, 115, 116};
    for (int digit = 0; digit < 10; ++digit) {
        const std::vector<uint32_t> shown = DrawnIcon(ids[digit], 32, IconBackground);
        int wrong = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint32_t expected = (x < 13 && y < 23) ? DigitGlyphPixel(digit, x, y) : IconBackground;
                if (shown[static_cast<size_t>(y) * 32 + x] != expected) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "digit " << digit;
    }
}

TEST(Manifest, AsksForTheInvokingUsersRights) {
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string manifest(text, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    // The program zooms its frame itself: per-monitor v2, or system-aware
    // where Windows lacks it, never the older per-monitor mode.
    EXPECT_NE(manifest.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

// What the file's Properties show, read as they read it.
TEST(VersionResource, CarriesTheProjectsVersionAndNames) {
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::vector<BYTE> block(GetFileVersionInfoSizeA(path, nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD high = (QUADRAFALL_VERSION_MAJOR << 16) | QUADRAFALL_VERSION_MINOR, low = QUADRAFALL_VERSION_PATCH << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    const std::pair<const char*, std::string> texts[] = {
        {"FileVersion", QUADRAFALL_VERSION_TEXT},
        {"ProductVersion", QUADRAFALL_VERSION_TEXT},
        {"ProductName", "Quadrafall"},
        {"FileDescription", "Quadrafall, a falling-blocks puzzle"},
        {"LegalCopyright", "Copyright (c) 2026 The Quadrafall developers"},
        {"OriginalFilename", "quadrafall.exe"},
    };
    for (const auto& [name, expected] : texts) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\080904B0\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_EQ(std::string(value), expected) << name;
    }
}
