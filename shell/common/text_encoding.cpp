#include "shell/common/text_encoding.h"

#include <cstdint>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr uint16_t HighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

uint32_t CharacterOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        const uint16_t mapped = HighControlRange[byte - 0x80];
        return mapped != 0 ? mapped : byte;
    }
    return byte;
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char ByteOfCharacter(uint32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The length of the UTF-8 sequence that starts with lead, 0 when invalid.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

std::string Utf8FromAnsi(const char* text, int size) {
    std::string out;
    for (int i = 0; i < size && text[i] != '\0'; ++i) AppendUtf8(out, CharacterOfByte(static_cast<unsigned char>(text[i])));
    return out;
}

std::string AnsiFromUtf8(const char* text) {
    std::string out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        const int length = SequenceLength(*p);
        if (length == 0) {
            out += '?';
            ++p;
            continue;
        }
        uint32_t c = length == 1 ? *p : (*p & (0x7F >> length));
        int taken = 1;
        for (; taken < length && (p[taken] & 0xC0) == 0x80; ++taken) c = (c << 6) | (p[taken] & 0x3F);
        out += taken == length ? ByteOfCharacter(c) : '?';
        p += taken;
    }
    return out;
}
