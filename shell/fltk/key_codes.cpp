#include "shell/fltk/key_codes.h"

#include <FL/Enumerations.H>

namespace {

struct KeyPair {
    int flKey;
    uint32_t code;
};

// Alt and F10 are missing on purpose: they belong to the menu bar, as the
// system keys do on Windows.
constexpr KeyPair NamedKeys[] = {
    {FL_BackSpace, 8},   {FL_Tab, 9},         {FL_Enter, 13},      {FL_KP_Enter, 13},  {FL_Shift_L, 16},
    {FL_Shift_R, 16},    {FL_Control_L, 17},  {FL_Control_R, 17},  {FL_Pause, 19},     {FL_Caps_Lock, 20},
    {FL_Escape, 27},     {' ', 32},           {FL_Page_Up, 33},    {FL_Page_Down, 34}, {FL_End, 35},
    {FL_Home, 36},       {FL_Left, 37},       {FL_Up, 38},         {FL_Right, 39},     {FL_Down, 40},
    {FL_Print, 44},      {FL_Insert, 45},     {FL_Delete, 46},     {FL_Meta_L, 91},    {FL_Meta_R, 92},
    {FL_Menu, 93},       {FL_KP + '*', 106},  {FL_KP + '+', 107},  {FL_KP + '-', 109}, {FL_KP + '.', 110},
    {FL_KP + '/', 111},  {FL_Num_Lock, 144},  {FL_Scroll_Lock, 145}, {';', 186},       {'=', 187},
    {',', 188},          {'-', 189},          {'.', 190},          {'/', 191},         {'`', 192},
    {'[', 219},          {'\\', 220},         {']', 221},          {'\'', 222},
};

}  // namespace

uint32_t VirtualKeyFor(int flKey) {
    if (flKey >= 'a' && flKey <= 'z') return static_cast<uint32_t>(flKey - 'a' + 'A');
    if (flKey >= '0' && flKey <= '9') return static_cast<uint32_t>(flKey);
    if (flKey >= FL_KP + '0' && flKey <= FL_KP + '9') return static_cast<uint32_t>(96 + flKey - (FL_KP + '0'));
    if (flKey >= FL_F + 1 && flKey <= FL_F + 24 && flKey != FL_F + 10) {
        return static_cast<uint32_t>(112 + flKey - (FL_F + 1));
    }
    for (const KeyPair& pair : NamedKeys) {
        if (pair.flKey == flKey) return pair.code;
    }
    return 0;
}
