#pragma once
// Writing pixels as a PNG file: the frame tool, the desktop icons, the
// Windows icon's largest image and the end-to-end tests' screenshots all go
// through here. Pixels are 0x00BBGGRR, row by row, as the software surface
// keeps them.

#include <cstdint>
#include <string>
#include <vector>

struct PngPixels {
    const uint32_t* pixels;
    int width;
    int height;
    // One byte per pixel, 0 for transparent; null for an opaque RGB image.
    const uint8_t* opaque;
};

// Writes the image to path. False, with the reason in error, when the image
// is empty or the file cannot be written; no partial file is left then.
bool WritePng(const char* path, const PngPixels& image, std::string& error);
// The same image as the bytes of a PNG file, into encoded.
bool EncodePng(const PngPixels& image, std::vector<uint8_t>& encoded, std::string& error);
