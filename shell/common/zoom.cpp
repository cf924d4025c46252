#include "shell/common/zoom.h"

int ZoomForDpi(int dpi) {
    if (dpi <= StandardDpi) return 1;
    const int zoom = (dpi + StandardDpi / 2) / StandardDpi;
    return zoom < LargestZoom ? zoom : LargestZoom;
}

WindowSize WindowSizeAtZoom(const WindowParts& window, int zoom) {
    return {window.zoomed.width * zoom + window.fixed.width, window.zoomed.height * zoom + window.fixed.height};
}

int ChooseZoom(int handZoom, int dpi, const WindowParts& window, WindowSize workArea) {
    if (handZoom >= 1) return handZoom;
    int zoom = ZoomForDpi(dpi);
    for (; zoom > 1; --zoom) {
        const WindowSize size = WindowSizeAtZoom(window, zoom);
        if (size.width <= workArea.width && size.height <= workArea.height) break;
    }
    return zoom;
}
