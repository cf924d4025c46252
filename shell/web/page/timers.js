// One timeout per timer slot of the game (shell/common/timer_slots). When it
// comes, its tick joins the queue of events behind whatever already waits;
// the game arms the next one only after the tick has run, so a tick that
// falls due while the game is busy arrives once, late.
var pageTimers = {
  timeouts: [],

  arm(slot, generation, delayMs) {
    this.disarm(slot);
    this.timeouts[slot] = setTimeout(() => {
      this.timeouts[slot] = 0;
      pageEvents.post('PageTimerDue', ['number', 'number'], [slot, generation]);
    }, delayMs);
  },

  disarm(slot) {
    if (this.timeouts[slot]) clearTimeout(this.timeouts[slot]);
    this.timeouts[slot] = 0;
  },

  disarmAll() {
    for (let slot = 0; slot < this.timeouts.length; ++slot) this.disarm(slot);
  }
};
