// The keyboard as the game's window sees it. Key-downs, auto-repeats
// included, and key-ups go to the game by their place on the keyboard
// (KeyboardEvent.code), unless the menu or a dialog has the keyboard or a
// control beside the game has the focus. F10 opens the menu. When the page
// loses the keyboard, its key-ups will go elsewhere, so the game forgets
// every held key.
var pageKeyboard = {
  // Keys whose browser default would scroll the page or move the focus away
  // from the game.
  scrollKeys: ['ArrowLeft', 'ArrowUp', 'ArrowRight', 'ArrowDown', 'Space', 'PageUp', 'PageDown', 'Home', 'End'],

  gameHasKeyboard(event) {
    if (pageEvents.ended || pageMenu.active || pageDialogs.anyOpen()) return false;
    const target = event.target;
    return !(target instanceof Element && target.closest('button, input, dialog, #menu-bar'));
  },

  keyDown(event) {
    if (pageMenu.active) {
      pageMenu.keyDown(event);
      return;
    }
    if (!this.gameHasKeyboard(event)) return;
    if (event.code === 'F10') {
      event.preventDefault();
      pageMenu.activateFromKeyboard();
      return;
    }
    if (this.scrollKeys.includes(event.code)) event.preventDefault();
    pageEvents.post('PageKeyDown', ['string'], [event.code]);
  },

  keyUp(event) {
    if (!this.gameHasKeyboard(event)) return;
    if (this.scrollKeys.includes(event.code)) event.preventDefault();
    pageEvents.post('PageKeyUp', ['string'], [event.code]);
  },

  lost() {
    pageEvents.post('PageLostKeyboard');
  }
};

window.addEventListener('keydown', (event) => pageKeyboard.keyDown(event));
window.addEventListener('keyup', (event) => pageKeyboard.keyUp(event));
window.addEventListener('blur', () => pageKeyboard.lost());
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden') pageKeyboard.lost();
});
// A click on the game gives it the keyboard back from a control beside it.
gameCanvas.element.addEventListener('mousedown', () => gameCanvas.element.focus());
