// The modal dialogs: <dialog> elements whose controls carry the numbers of
// the Windows templates. A button issues its number as a command; Escape
// and a close box issue IDCANCEL (2), which the game's dialog procedures
// swallow, so neither closes a dialog. Enter presses the focused button, or
// the default button when the focus is elsewhere. A dialog that holds the
// game (the name entry) hands its commands straight to the waiting game;
// the others post them to their procedure among the game's events.
//
// Only the game closes its dialogs. The browser may close one by itself (a
// second Escape with the focus outside it: it honours a cancelled "cancel"
// only once without another user action) and lets Tab take the focus out
// of one; the dialog then comes back at once with the focus in it, as the
// focus goes round a Windows dialog, and the game never waits in vain.
var pageDialogs = {
  cancelCommand: 2,
  waiting: {},  // dialog id -> the waiting game's resolve
  shown: new Set(),  // the ids of the game's dialogs that are open

  element(name) {
    return document.getElementById(name);
  },

  item(name, id) {
    return this.element(name).querySelector('[data-id="' + id + '"]');
  },

  setItemText(name, id, text) {
    const item = this.item(name, id);
    if (item instanceof HTMLInputElement) {
      item.value = text;
    } else {
      item.textContent = text;
    }
  },

  itemText(name, id) {
    const item = this.item(name, id);
    return item instanceof HTMLInputElement ? item.value : item.textContent;
  },

  open(name) {
    const dialog = this.element(name);
    this.shown.add(name);
    if (dialog.open) return;
    pageMenu.close();
    dialog.showModal();
    this.place(dialog);
  },

  // The dialogs sit with their top-left corner at the game's, as the
  // desktop ones open at the corner of the window's client area; a message
  // box stands in the middle of the game. Placed again when the game's zoom
  // changes; they grow by it from their top-left corner, and their layout
  // size (offsetWidth) is the size before they grow.
  place(dialog) {
    const game = gameCanvas.element.getBoundingClientRect();
    const zoom = Number(getComputedStyle(document.documentElement).getPropertyValue('--dialog-zoom')) || 1;
    let left = game.left, top = game.top;
    if (dialog.classList.contains('message')) {
      left += Math.max(0, (game.width - dialog.offsetWidth * zoom) / 2);
      top += Math.max(0, (game.height - dialog.offsetHeight * zoom) / 2);
    }
    [left, top] = this.inView(left, top, dialog.offsetWidth * zoom, dialog.offsetHeight * zoom);
    dialog.style.left = left + 'px';
    dialog.style.top = top + 'px';
  },

  // A place moved as little as it takes to show the whole dialog in the
  // part of the page the screen shows, which an on-screen keyboard shrinks
  // and a pinch zoom moves; its top-left corner first when it is larger.
  inView(left, top, width, height) {
    const view = window.visualViewport;
    if (!view) return [left, top];
    const within = (start, size, viewStart, viewSize) =>
      Math.max(viewStart, Math.min(start, viewStart + viewSize - size));
    return [within(left, width, view.offsetLeft, view.width), within(top, height, view.offsetTop, view.height)];
  },

  placeAll() {
    document.querySelectorAll('dialog[open]').forEach((dialog) => this.place(dialog));
  },

  close(name) {
    this.shown.delete(name);
    const dialog = this.element(name);
    if (dialog.open) dialog.close();
  },

  reopen(dialog) {
    if (!this.shown.has(dialog.id) || dialog.open) return;
    dialog.showModal();
    this.place(dialog);
  },

  // The focus back in the topmost dialog, on its first control; the
  // dialogs beneath it cannot take the focus.
  keepFocus() {
    const focused = document.activeElement;
    if (focused instanceof Element && focused.closest('dialog[open]')) return;
    for (const dialog of [...document.querySelectorAll('dialog[open]')].reverse()) {
      const first = dialog.querySelector('[autofocus]');
      if (first) first.focus();
      if (dialog.contains(document.activeElement)) return;
    }
  },

  anyOpen() {
    return document.querySelector('dialog[open]') !== null;
  },

  // The game is held until the dialog issues a command; resolves to its id.
  nextCommand(name) {
    return new Promise((resolve) => {
      this.waiting[name] = resolve;
    });
  },

  command(name, id) {
    const resolve = this.waiting[name];
    if (resolve) {
      delete this.waiting[name];
      resolve(id);
      return;
    }
    const procedure = this.element(name).dataset.procedure;
    if (procedure) pageEvents.post(procedure, ['number'], [id]);
  },

  keyDown(name, event) {
    if (event.code === 'Escape') {
      // Kept from the browser too, which would otherwise close the dialog.
      event.preventDefault();
      this.command(name, this.cancelCommand);
    } else if ((event.code === 'Enter' || event.code === 'NumpadEnter') && !(event.target instanceof HTMLButtonElement)) {
      event.preventDefault();
      const defaultButton = this.element(name).querySelector('button.default');
      if (defaultButton) defaultButton.click();
    }
  },

  attach(dialog) {
    const name = dialog.id;
    dialog.querySelectorAll('button[data-id]').forEach((button) => {
      button.addEventListener('click', () => this.command(name, Number(button.dataset.id)));
    });
    // The close box takes no focus, as a caption's box does not.
    dialog.querySelectorAll('.close-box').forEach((box) => box.addEventListener('mousedown', (event) => event.preventDefault()));
    dialog.addEventListener('keydown', (event) => this.keyDown(name, event));
    dialog.addEventListener('cancel', (event) => event.preventDefault());
    dialog.addEventListener('close', () => this.reopen(dialog));
  },

  // The player's message box: text and OK, over the game, which goes on.
  showMessage(text) {
    pageMenu.close();
    const dialog = document.createElement('dialog');
    dialog.className = 'message';
    dialog.setAttribute('role', 'alertdialog');
    const paragraph = document.createElement('p');
    paragraph.textContent = text;
    const buttons = document.createElement('div');
    const ok = document.createElement('button');
    ok.textContent = 'OK';
    ok.autofocus = true;
    buttons.append(ok);
    dialog.append(paragraph, buttons);
    ok.addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => dialog.remove());
    document.body.append(dialog);
    dialog.showModal();
    this.place(dialog);
  }
};

document.querySelectorAll('dialog').forEach((dialog) => pageDialogs.attach(dialog));
window.addEventListener('resize', () => pageDialogs.placeAll());
if (window.visualViewport) {
  window.visualViewport.addEventListener('resize', () => pageDialogs.placeAll());
  window.visualViewport.addEventListener('scroll', () => pageDialogs.placeAll());
}
document.addEventListener('focusout', (event) => {
  if (event.target instanceof Element && event.target.closest('dialog')) setTimeout(() => pageDialogs.keepFocus(), 0);
});
