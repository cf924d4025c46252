#pragma once
// A frame shown at a whole-number zoom: every pixel of the 1x frame must be
// a zoom x zoom square of exactly its colour on the screen.

#include <cstddef>
#include <cstdint>
#include <vector>

// How many screen pixels differ from the zoomed frame. shown holds
// (width x zoom) x (height x zoom) pixels; frame holds width x height.
inline int PixelsOffTheZoomedFrame(const std::vector<uint32_t>& shown, const std::vector<uint32_t>& frame, int width,
                                   int height, int zoom) {
    const int shownWidth = width * zoom;
    if (shown.size() != static_cast<size_t>(shownWidth) * height * zoom) return -1;
    int differing = 0;
    for (int y = 0; y < height * zoom; ++y) {
        for (int x = 0; x < shownWidth; ++x) {
            const uint32_t expected = frame[static_cast<size_t>(y / zoom) * width + x / zoom];
            differing += shown[static_cast<size_t>(y) * shownWidth + x] != expected;
        }
    }
    return differing;
}
