#pragma once
// How many pixels of a frame shown at a whole-number zoom, (width x zoom) x
// (height x zoom), differ from the width x height frame with every pixel
// made a zoom x zoom square; -1 when the sizes do not match.

#include <cstddef>
#include <cstdint>
#include <vector>

inline int PixelsOffTheZoomedFrame(const std::vector<uint32_t>& shown, const std::vector<uint32_t>& frame, int width,
                                   int height, int zoom) {
    if (shown.size() != static_cast<size_t>(width) * height * zoom * zoom) return -1;
    int differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        const size_t x = i % (width * zoom) / zoom, y = i / (width * zoom) / zoom;
        differing += shown[i] != frame[y * width + x];
    }
    return differing;
}
