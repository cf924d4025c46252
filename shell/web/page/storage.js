// The Top Ten's stored bytes in local storage, one character per byte,
// under the desktop file's name; and the browser's lock on them, shared by
// every tab of this page. Failures answer -1 with the browser's reason
// written for the game.
var pageStorage = {
  key: 'highscores.dat',
  release: null,

  read(bytes, capacity, size, reason, reasonCapacity) {
    try {
      const stored = localStorage.getItem(this.key);
      if (stored === null) return 1;
      const count = Math.min(stored.length, capacity);
      for (let i = 0; i < count; ++i) {
        const code = stored.charCodeAt(i);
        if (code > 0xFF) throw new Error('what is stored there is not a Top Ten this game wrote');
        HEAPU8[bytes + i] = code;
      }
      HEAP32[size >> 2] = count;
      return 0;
    } catch (error) {
      return this.fail(error, reason, reasonCapacity);
    }
  },

  write(bytes, size, reason, reasonCapacity) {
    try {
      let text = '';
      for (let i = 0; i < size; ++i) text += String.fromCharCode(HEAPU8[bytes + i]);
      localStorage.setItem(this.key, text);
      return 0;
    } catch (error) {
      return this.fail(error, reason, reasonCapacity);
    }
  },

  // Without the browser's lock (a page served over plain http from another
  // machine has none) the read-change-write still runs as one event of the
  // page. Storage that cannot be reached at all fails here already. The wait
  // is ended by a timeout of the page's own: every browser with the lock has
  // AbortController, not all of them AbortSignal.timeout.
  async lock(timeoutMs, reason, reasonCapacity) {
    const waiting = new AbortController();
    const timeout = setTimeout(() => waiting.abort(), timeoutMs);
    try {
      void localStorage.length;
      if (!navigator.locks) return 0;
      await new Promise((granted, refused) => {
        navigator.locks.request(this.key, {signal: waiting.signal}, () => {
          granted();
          return new Promise((release) => {
            this.release = release;
          });
        }).catch(refused);
      });
      return 0;
    } catch (error) {
      return this.fail(error, reason, reasonCapacity);
    } finally {
      clearTimeout(timeout);
    }
  },

  unlock() {
    if (this.release) this.release();
    this.release = null;
  },

  fail(error, reason, reasonCapacity) {
    stringToUTF8(this.reasonOf(error), reason, reasonCapacity);
    return -1;
  },

  // The browser's messages name its own calls; the player gets what they
  // mean.
  reasonOf(error) {
    switch (error && error.name) {
      case 'QuotaExceededError': return 'it is full';
      case 'SecurityError': return 'the browser does not let this page use it';
      case 'AbortError': return 'another tab with this game kept it busy';  // only the wait's timeout aborts
      default: return pageEvents.reasonOf(error);
    }
  }
};
