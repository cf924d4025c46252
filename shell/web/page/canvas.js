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

  fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = {
      width: window.innerWidth - document.getElementById('beside-game').offsetWidth,
      height: window.innerHeight - document.getElementById('menu-bar').offsetHeight
    };
    const zoom = Math.max(1, Math.floor(Math.min(room.width * ratio / this.element.width,
                                                 room.height * ratio / this.element.height)));
    // The canvas keeps its own size in CSS pixels and is scaled by a
    // transform, which the browser carries out exactly; a size of its own
    // in half CSS pixels (an odd zoom at a ratio of 2) would be rounded and
    // smear a column here and there. Its frame takes the room it covers.
    const scale = zoom / ratio;
    this.element.style.transform = 'scale(' + scale + ')';
    this.element.parentElement.style.width = this.element.width * scale + 'px';
    this.element.parentElement.style.height = this.element.height * scale + 'px';
    document.documentElement.style.setProperty('--dialog-zoom', String(zoom / ratio));
  }
};

gameCanvas.fit();
// A change of the device pixel ratio (the browser's zoom, another screen)
// arrives as a resize too.
window.addEventListener('resize', () => gameCanvas.fit());
