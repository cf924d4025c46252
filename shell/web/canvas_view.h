#pragma once
// The 291 x 384 game image: the pixels the frames are composed into, shown
// on the page's canvas.

// Composes the frame from the model and puts it on the canvas before
// returning, as a redraw of the game must.
void RedrawCanvas();
