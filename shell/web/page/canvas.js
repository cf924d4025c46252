// The game's window on the page: a 291 x 384 canvas that shows the game's
// pixels as they are, drawn at the largest whole-number zoom that fits, so
// that every game pixel is a square of whole device pixels.
var gameCanvas = {
  element: document.getElementById('game'),
  context: null,
  image: null,

  // frame is the address of the game's pixels, bytes R, G, B, A. The
  // ImageData is made once over that memory, which never moves, so each
  // frame is one copy onto the canvas.
  show(frame, width, height) {
    if (this.image === null) {
      this.context = this.element.getContext('2d');
      this.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, frame, width * height * 4), width, height);
    }
    this.context.putImageData(this.image, 0, 0);
  },

  // The game's room is the window's less the menu bar and the column
  // beside it (#side: the controls for a finger, the Top Ten's files, the
  // version), or less the menu bar and that column's height where the game
  // area puts it below, as a touch screen in portrait does.
  fit() {
    const ratio = window.devicePixelRatio || 1;
    const side = document.getElementById('side');
    const below = getComputedStyle(document.getElementById('game-area')).flexDirection === 'column';
    const room = {
      width: window.innerWidth - (below ? 0 : side.offsetWidth),
      height: window.innerHeight - document.getElementById('menu-bar').offsetHeight - (below ? side.offsetHeight : 0)
    };
    const zoom = Math.max(1, Math.floor(Math.min(room.width * ratio / this.element.width,
                                                 room.height * ratio / this.element.height)));
    // The canvas keeps its own size in CSS pixels and is scaled by a
    // transform, which the browser carries out exactly; a size of its own
    // in half CSS pixels (an odd zoom at a ratio of 2) would be rounded and
    // smear a column here and there. Its frame takes the room it covers.
    const scale = zoom / ratio;
    const frame = this.element.parentElement;
    this.element.style.transform = 'scale(' + scale + ')';
    frame.style.width = this.element.width * scale + 'px';
    frame.style.height = this.element.height * scale + 'px';
    // On a touch screen the game stands in the middle of its room, from a
    // whole CSS pixel, as the menu bar's height is; with a mouse it keeps
    // to the window's corner.
    const margin = matchMedia('(pointer: coarse)').matches ? (room.width - this.element.width * scale) / 2 : 0;
    frame.style.marginLeft = Math.max(0, Math.floor(margin)) + 'px';
    document.documentElement.style.setProperty('--dialog-zoom', String(zoom / ratio));
  }
};

gameCanvas.fit();
// A change of the device pixel ratio (the browser's zoom, another screen)
// arrives as a resize too, a rotation as either; a change of the primary
// pointer shows or hides the controls for a finger.
window.addEventListener('resize', () => gameCanvas.fit());
window.addEventListener('orientationchange', () => gameCanvas.fit());
matchMedia('(pointer: coarse)').addEventListener('change', () => gameCanvas.fit());
