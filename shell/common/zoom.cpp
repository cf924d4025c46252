#include "shell/common/zoom.h"

int ZoomForDpi(int dpi) {
    if (dpi <= StandardDpi) return 1;
    const int zoom = (dpi + StandardDpi / 2) / StandardDpi;
    return zoom < LargestZoom ? zoom : LargestZoom;
}

WindowSize WindowSizeAtZoom(const WindowParts& window, int zoom) {
    return {window.zoomed.width * zoom + window.fixed.width, window.zoomed.height * zoom + window.fixed.height};
}

int ChooseZoom(int handZoom, int dpi, const WindowParts& window, const FrameExtents& frame, WindowSize workArea) {
    if (handZoom >= 1) return handZoom;
    int zoom = ZoomForDpi(dpi);
    for (; zoom > 1; --zoom) {
        const WindowSize size = WindowSizeAtZoom(window, zoom);
        const bool fits = size.width + frame.left + frame.right <= workArea.width &&
                          size.height + frame.top + frame.bottom <= workArea.height;
        if (fits) break;
    }
    return zoom;
}
