// The page's events reach the game here, one at a time. Every call into the
// game goes through this queue, so none reaches it while it is held in a
// wait (the row blink, the name entry, the Top Ten's lock): what comes
// meanwhile waits its turn and follows afterwards, in order, as messages
// wait in a Windows program's queue.
var pageEvents = {
  waiting: [],
  delivering: false,
  started: false,
  ended: false,

  // name is one of the game's Page* functions; types and values are its
  // arguments as ccall takes them.
  post(name, types, values) {
    if (this.ended) return;
    this.waiting.push({name: name, types: types || [], values: values || []});
    this.deliver();
  },

  async deliver() {
    if (this.delivering || !this.started) return;
    this.delivering = true;
    try {
      while (this.waiting.length > 0 && !this.ended) {
        const event = this.waiting.shift();
        await ccall(event.name, null, event.types, event.values, {async: true});
      }
    } catch (error) {
      this.fail(error);
    }
    this.delivering = false;
  },

  // The game's window exists once the runtime is up; its creation is the
  // first event, ahead of anything the player did while the page loaded.
  start() {
    this.waiting.unshift({name: 'PageStart', types: [], values: []});
    this.started = true;
    this.deliver();
  },

  // "Exit": the game has ended and nothing more reaches it.
  endPage() {
    this.ended = true;
    this.waiting.length = 0;
    pageTimers.disarmAll();
    pageMenu.close();
    document.getElementById('menu-bar').hidden = true;
    document.getElementById('game-area').hidden = true;
    document.getElementById('ended').hidden = false;
    document.getElementById('start-again').focus();
  },

  // The game stopped on an error of its own: nothing more can be delivered,
  // and the player is told rather than left with a frozen picture.
  fail(error) {
    if (this.ended) return;
    this.ended = true;
    this.waiting.length = 0;
    pageTimers.disarmAll();
    pageDialogs.showMessage('The game has stopped on an error and cannot go on: ' + pageEvents.reasonOf(error) +
                            '. Reload the page to start again.');
  },

  reasonOf(error) {
    const text = String(error && error.message ? error.message : error);
    return text.replace(/[.\s]+$/, '');
  }
};

document.getElementById('start-again').addEventListener('click', () => location.reload());
