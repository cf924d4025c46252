#include "shell/web/canvas_view.h"

#include <emscripten.h>

#include <cstdint>

#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"

namespace {

uint32_t pixels[ClientWidth * ClientHeight];

// The canvas takes bytes R, G, B, A: the surface's 0x00BBGGRR pixels are that
// with A = 0, which the canvas would show as transparent.
void MakeOpaque() {
    for (uint32_t& pixel : pixels) pixel |= 0xFF000000u;
}

}  // namespace

// The page keeps one ImageData over these very pixels (the memory never
// grows), so a frame reaches the canvas in its one copy, putImageData.
EM_JS(void, PutFrameOnCanvas, (const uint32_t* frame, int width, int height), {
    gameCanvas.show(frame, width, height);
});

void RedrawCanvas() {
    Surface target{pixels, ClientWidth, ClientHeight};
    RenderFrame(&target);
    MakeOpaque();
    PutFrameOnCanvas(pixels, ClientWidth, ClientHeight);
}
