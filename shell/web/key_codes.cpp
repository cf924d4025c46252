#include "shell/web/key_codes.h"

#include <cstddef>
#include <cstring>

namespace {

struct KeyPair {
    const char* name;
    uint32_t code;
};

// Alt and F10 are missing on purpose: they belong to the menu bar, as the
// system keys do on Windows.
constexpr KeyPair NamedKeys[] = {
    {"Backspace", 8},       {"Tab", 9},              {"Enter", 13},          {"NumpadEnter", 13},
    {"ShiftLeft", 16},      {"ShiftRight", 16},      {"ControlLeft", 17},    {"ControlRight", 17},
    {"Pause", 19},          {"CapsLock", 20},        {"Escape", 27},         {"Space", 32},
    {"PageUp", 33},         {"PageDown", 34},        {"End", 35},            {"Home", 36},
    {"ArrowLeft", 37},      {"ArrowUp", 38},         {"ArrowRight", 39},     {"ArrowDown", 40},
    {"PrintScreen", 44},    {"Insert", 45},          {"Delete", 46},         {"MetaLeft", 91},
    {"MetaRight", 92},      {"ContextMenu", 93},     {"NumpadMultiply", 106}, {"NumpadAdd", 107},
    {"NumpadSubtract", 109}, {"NumpadDecimal", 110}, {"NumpadDivide", 111},  {"NumLock", 144},
    {"ScrollLock", 145},    {"Semicolon", 186},      {"Equal", 187},         {"Comma", 188},
    {"Minus", 189},         {"Period", 190},         {"Slash", 191},         {"Backquote", 192},
    {"BracketLeft", 219},   {"Backslash", 220},      {"BracketRight", 221},  {"Quote", 222},
};

// With NumLock off the keypad's digits and its decimal point are the arrows,
// Home, End and the like, and Windows reports them as those keys; the page
// tells them apart by the key they give (KeyboardEvent.key).
constexpr KeyPair KeypadNavigationKeys[] = {
    {"ArrowLeft", 37}, {"ArrowUp", 38}, {"ArrowRight", 39}, {"ArrowDown", 40}, {"Home", 36}, {"End", 35},
    {"PageUp", 33},    {"PageDown", 34}, {"Insert", 45},    {"Delete", 46},    {"Clear", 12},
};

template <std::size_t Count>
uint32_t CodeIn(const KeyPair (&pairs)[Count], const char* name) {
    for (const KeyPair& pair : pairs) {
        if (std::strcmp(pair.name, name) == 0) return pair.code;
    }
    return 0;
}

// The number after prefix when name is prefix followed by one to two
// decimal digits, else -1.
int NumberAfter(const char* name, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (std::strncmp(name, prefix, length) != 0) return -1;
    const char* digits = name + length;
    const std::size_t count = std::strlen(digits);
    if (count < 1 || count > 2) return -1;
    int number = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return -1;
        number = number * 10 + (digits[i] - '0');
    }
    return number;
}

}  // namespace

uint32_t VirtualKeyFor(const char* domCode, const char* domKey) {
    if (domCode == nullptr) return 0;
    // Letters are "KeyA" to "KeyZ", the digit row "Digit0" to "Digit9".
    if (std::strncmp(domCode, "Key", 3) == 0 && domCode[3] >= 'A' && domCode[3] <= 'Z' && domCode[4] == '\0') {
        return static_cast<uint32_t>(domCode[3]);
    }
    if (std::strncmp(domCode, "Digit", 5) == 0 && domCode[5] >= '0' && domCode[5] <= '9' && domCode[6] == '\0') {
        return static_cast<uint32_t>(domCode[5]);
    }
    const int keypadDigit = NumberAfter(domCode, "Numpad");
    const bool keypadNumber = (keypadDigit >= 0 && keypadDigit <= 9) || std::strcmp(domCode, "NumpadDecimal") == 0;
    if (keypadNumber && domKey != nullptr) {
        if (const uint32_t navigation = CodeIn(KeypadNavigationKeys, domKey)) return navigation;
    }
    if (keypadDigit >= 0 && keypadDigit <= 9) return static_cast<uint32_t>(96 + keypadDigit);
    const int function = NumberAfter(domCode, "F");
    if (function >= 1 && function <= 24 && function != 10) return static_cast<uint32_t>(111 + function);
    return CodeIn(NamedKeys, domCode);
}
