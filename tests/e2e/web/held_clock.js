// The page's clock as the tests hold it, installed before the page's own
// script in every engine. The page keeps time only with setTimeout,
// clearTimeout and performance.now, so these three are replaced: until
// hold() they follow the real clock; from then on time stands still but for
// advance(ms), which runs the timers due on the way one at a time, in the
// order they fall due, with the time set to each one's due time. Between
// two timers the browser's event loop runs (promises, the game's resumed
// waits, a lock being granted), so what a timer sets going finishes before
// the next one comes. The nesting rule of HTML timers holds: a timeout set
// from the fifth nested one on waits at least 4 ms.
(() => {
  if (window.heldClock) return;
  const realSetTimeout = window.setTimeout.bind(window);
  const realClearTimeout = window.clearTimeout.bind(window);
  const realNow = performance.now.bind(performance);
  const channel = new MessageChannel();
  const timers = new Map();
  let nextId = 1;
  let nesting = 0;
  let held = false;
  let heldAt = 0;      // the time while held
  let behind = 0;      // how far the clock is behind the real one while free
  let target = null;   // where a running advance stops
  let realTimeout = 0; // the real timeout that runs the next timer while free

  const now = () => (held ? heldAt : realNow() - behind);

  // The next real task of the event loop: a message is not held back the
  // way nested timeouts are.
  const yieldThen = (next) => {
    channel.port1.onmessage = () => next();
    channel.port2.postMessage(0);
  };

  const earliest = () => {
    let first = null;
    for (const timer of timers.values()) {
      if (first === null || timer.due < first.due || (timer.due === first.due && timer.id < first.id)) first = timer;
    }
    return first;
  };

  const run = (timer) => {
    timers.delete(timer.id);
    nesting = timer.nesting;
    try {
      timer.callback(...timer.args);
    } catch (error) {
      realSetTimeout(() => { throw error; }, 0);
    } finally {
      nesting = 0;
    }
  };

  // While free, a real timeout runs each timer when it falls due.
  const armFree = () => {
    realClearTimeout(realTimeout);
    realTimeout = 0;
    const first = earliest();
    if (held || first === null) return;
    realTimeout = realSetTimeout(() => {
      realTimeout = 0;
      const due = earliest();
      if (!held && due !== null && due.due <= now()) run(due);
      armFree();
    }, Math.max(0, first.due - now()));
  };

  const step = () => {
    const first = earliest();
    if (first === null || first.due > target) {
      heldAt = Math.max(heldAt, target);
      target = null;
      return;
    }
    heldAt = Math.max(heldAt, first.due);
    run(first);
    yieldThen(step);
  };

  window.setTimeout = function (callback, delay, ...args) {
    const id = nextId++;
    let wait = Math.max(0, Number(delay) || 0);
    const level = nesting + 1;
    if (level > 5 && wait < 4) wait = 4;
    timers.set(id, {id: id, due: now() + wait, nesting: level, callback: callback, args: args});
    armFree();
    return id;
  };
  window.clearTimeout = function (id) {
    timers.delete(id);
    armFree();
  };
  performance.now = now;

  window.heldClock = {
    hold() {
      if (held) return;
      heldAt = now();
      held = true;
      armFree();
    },
    advance(ms) {
      if (!held || target !== null) throw new Error('the clock is not held, or is running on');
      target = heldAt + ms;
      yieldThen(step);
    },
    // The real clock again, from where the held one stands.
    free() {
      if (!held || target !== null) return;
      behind = realNow() - heldAt;
      held = false;
      armFree();
    },
    running() {
      return target !== null;
    }
  };
})();
