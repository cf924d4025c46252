// The keyboard as the game's window sees it. Key-downs, auto-repeats
// included, and key-ups go to the game by their place on the keyboard
// (KeyboardEvent.code) and the key they give (KeyboardEvent.key, which tells
// the keypad's arrows from its digits), unless the menu or a dialog has the
// keyboard. A button beside the game with the focus keeps the keys it uses
// (Tab, Enter, Space), but the game's own keys reach the game wherever the
// focus is. F10, or Alt pressed and released alone, opens the menu.
//
// When the keyboard leaves the game (the menu or a dialog takes it, the
// focus moves off the game, the page is left) its key-ups will go
// elsewhere, so the game forgets every held key. It is told among its
// queued events, behind every key-down still waiting there.
var pageKeyboard = {
  // Keys whose browser default would scroll the page, by KeyboardEvent.key.
  scrollKeys: ['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', ' ', 'PageUp', 'PageDown', 'Home', 'End'],
  // The keys that reach the game from any control beside it: these by the
  // key they give, P and Pause by their place.
  gameKeys: ['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', 'F10'],
  gameCodes: ['KeyP', 'Pause'],
  // The presses the game took, by their place, each with the key it gave.
  // A release goes to the game exactly when its press did, with the press's
  // key: NumLock may change in between and make the same place give another
  // key, one a button beside the game would keep.
  pressedAs: new Map(),
  // An Alt pressed while the game had the keyboard, with no key since.
  loneAlt: false,

  keyboardElsewhere() {
    return pageEvents.ended || pageMenu.active || pageDialogs.anyOpen();
  },

  onControl(event) {
    const target = event.target;
    return target instanceof Element && target.closest('button, input, dialog, #menu-bar') !== null;
  },

  gameHasKey(event) {
    return !this.keyboardElsewhere() && (this.gameKeys.includes(event.key) || this.gameCodes.includes(event.code) ||
                                       !this.onControl(event));
  },

  keyDown(event) {
    if (pageMenu.active) {
      pageMenu.keyDown(event);
      return;
    }
    if (event.key !== 'Alt') {
      this.loneAlt = false;
    } else if (!event.repeat) {
      this.loneAlt = !this.keyboardElsewhere();
    }
    if (!this.gameHasKey(event)) return;
    if (event.key === 'F10') {
      event.preventDefault();
      pageMenu.activateFromKeyboard();
      return;
    }
    this.pressedAs.set(event.code, event.key);
    if (this.scrollKeys.includes(event.key) || event.key === 'Alt') event.preventDefault();
    // Alt belongs to the menu bar: only its release, alone, counts.
    if (event.key !== 'Alt') pageEvents.post('PageKeyDown', ['string', 'string'], [event.code, event.key]);
  },

  keyUp(event) {
    const key = this.pressedAs.get(event.code);
    if (!this.pressedAs.delete(event.code) || this.keyboardElsewhere()) return;
    if (this.scrollKeys.includes(key) || key === 'Alt') event.preventDefault();
    if (key !== 'Alt') {
      pageEvents.post('PageKeyUp', ['string', 'string'], [event.code, key]);
    } else if (this.loneAlt) {
      pageMenu.activateFromKeyboard();
    }
  },

  // The game forgets its held keys, so their releases are not its own.
  lost() {
    this.loneAlt = false;
    this.pressedAs.clear();
    pageEvents.post('PageLostKeyboard');
  }
};

window.addEventListener('keydown', (event) => pageKeyboard.keyDown(event));
window.addEventListener('keyup', (event) => pageKeyboard.keyUp(event));
window.addEventListener('blur', () => pageKeyboard.lost());
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden') pageKeyboard.lost();
});
// The focus moves off the game: to a button beside it (Tab), or into a
// dialog as it opens.
document.addEventListener('focusin', (event) => {
  if (event.target !== gameCanvas.element) pageKeyboard.lost();
});
// A click on the game gives it the focus back; a press breaks an Alt.
gameCanvas.element.addEventListener('mousedown', () => gameCanvas.element.focus());
window.addEventListener('mousedown', () => {
  pageKeyboard.loneAlt = false;
});
