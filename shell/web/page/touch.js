// The controls for a finger beside the game, shown where the primary
// pointer is coarse. A control is its key: a finger put on it is the key's
// key-down and lifting it, sliding it off or a cancelled touch the key-up,
// posted just as the keyboard posts them, so a held control repeats as a
// held key does and the keyboard and the controls work together. Each
// control counts its own fingers, so two at once on two controls hold two
// keys, and a second finger on a held control presses nothing new.
var pageTouch = {
  controls: Array.from(document.querySelectorAll('#touch-controls button')),

  press(control, pointer) {
    if (pageMenu.active) pageMenu.close();
    const fingers = control.fingers;
    fingers.add(pointer);
    if (fingers.size > 1) return;
    control.classList.add('held');
    pageEvents.post('PageKeyDown', ['string', 'string'], [control.dataset.code, control.dataset.key]);
  },

  lift(control, pointer) {
    if (!control.fingers.delete(pointer) || control.fingers.size > 0) return;
    control.classList.remove('held');
    pageEvents.post('PageKeyUp', ['string', 'string'], [control.dataset.code, control.dataset.key]);
  },

  attach(control) {
    control.fingers = new Set();
    control.addEventListener('pointerdown', (event) => {
      // Kept from the mouse events a touch also makes, and so from taking
      // the focus, which would make the game forget its held keys. Not
      // captured, so that a finger sliding off the control leaves it.
      event.preventDefault();
      control.releasePointerCapture(event.pointerId);
      this.press(control, event.pointerId);
    });
    for (const lifted of ['pointerup', 'pointercancel', 'pointerleave']) {
      control.addEventListener(lifted, (event) => this.lift(control, event.pointerId));
    }
    // The keyboard or an assistive technology presses it with no pointer
    // (a click of detail 0): a tap.
    control.addEventListener('click', (event) => {
      if (event.detail !== 0) return;
      this.press(control, 'click');
      this.lift(control, 'click');
    });
    control.addEventListener('contextmenu', (event) => event.preventDefault());
  }
};

pageTouch.controls.forEach((control) => pageTouch.attach(control));
gameCanvas.element.addEventListener('contextmenu', (event) => {
  if (matchMedia('(pointer: coarse)').matches) event.preventDefault();
});
