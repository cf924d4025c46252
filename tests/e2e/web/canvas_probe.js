// Watches the well on the game's canvas from inside the page, every few
// milliseconds, and records each move of the falling piece's edges with
// the time it was seen, when something first appeared in an empty well,
// and the time of the first key press after it started. Read back with
// canvasProbe.stop().
window.canvasProbe = (() => {
  const canvas = document.getElementById('game');
  const context = canvas.getContext('2d');
  const [left, top, right, bottom] = [12, 56, 172, 376];
  let running = false;
  let last = null;
  let steps = [];
  let pressedAt = null;
  let appearedAt = null;
  let startedAt = 0;

  // The box of every pixel in the well that is not the panel's grey.
  function pieceBox() {
    const data = context.getImageData(left, top, right - left, bottom - top).data;
    const width = right - left;
    let box = null;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] === 192 && data[i + 1] === 192 && data[i + 2] === 192) continue;
      const x = left + (i / 4) % width, y = top + Math.floor(i / 4 / width);
      if (box === null) box = {left: x, top: y, right: x + 1, bottom: y + 1};
      box.left = Math.min(box.left, x);
      box.right = Math.max(box.right, x + 1);
      box.bottom = Math.max(box.bottom, y + 1);
    }
    return box;
  }

  function sample() {
    if (!running) return;
    const box = pieceBox();
    if (box !== null && last !== null &&
        (box.top !== last.top || box.left !== last.left || box.right !== last.right)) {
      steps.push({at: performance.now() - startedAt, top: box.top - last.top, left: box.left - last.left,
                  right: box.right - last.right});
    }
    if (box !== null && last === null && appearedAt === null) appearedAt = performance.now() - startedAt;
    if (box !== null) last = box;
    setTimeout(sample, 0);
  }

  addEventListener('keydown', (event) => {
    if (running && pressedAt === null) pressedAt = performance.now() - startedAt;
  }, true);

  return {
    start() {
      steps = [];
      pressedAt = null;
      appearedAt = null;
      last = pieceBox();
      startedAt = performance.now();
      running = true;
      sample();
    },
    stop() {
      running = false;
      return {steps: steps, pressedAt: pressedAt, appearedAt: appearedAt};
    }
  };
})();
