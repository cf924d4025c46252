// The menu bar, by mouse and by keyboard as on the desktop: F10 highlights
// "Game"; Down or Enter opens it; Up and Down move round the items; Right
// opens "Level" and Left or Escape closes it again; Enter chooses; Escape
// steps back out and F10 leaves. While it is active it has the keyboard,
// and the game forgets every held key when it opens.
var pageMenu = {
  bar: document.getElementById('menu-bar'),
  titles: Array.from(document.querySelectorAll('#menu-bar .menu-title')),
  active: false,
  title: -1,   // the highlighted title
  open: [],    // the open drop-downs, outermost first: {list, index}
  pointerAt: null,  // where the pointer was last seen, on the screen

  check(id, checked) {
    const item = this.bar.querySelector('[data-command="' + id + '"]');
    if (item) item.setAttribute('aria-checked', checked ? 'true' : 'false');
  },

  itemsOf(list) {
    return Array.from(list.children);
  },

  dropDownOf(title) {
    return this.titles[title].parentElement.querySelector('.drop-down');
  },

  submenuOf(item) {
    return item.querySelector(':scope > .drop-down');
  },

  activate(title) {
    if (!this.active) {
      this.active = true;
      pageKeyboard.lost();
    }
    this.closeDropDowns(0);
    this.title = title;
    this.titles.forEach((element, index) => element.classList.toggle('highlighted', index === title));
  },

  activateFromKeyboard() {
    this.activate(0);
  },

  close() {
    this.closeDropDowns(0);
    this.titles.forEach((element) => element.classList.remove('highlighted'));
    this.title = -1;
    this.active = false;
  },

  // Closes the drop-downs from depth on; depth 0 closes them all.
  closeDropDowns(depth) {
    while (this.open.length > depth) {
      const {list} = this.open.pop();
      this.itemsOf(list).forEach((item) => item.classList.remove('highlighted'));
      list.hidden = true;
    }
  },

  // Opens a list at the given depth with item index highlighted (-1: none).
  openList(list, depth, index) {
    this.closeDropDowns(depth);
    list.hidden = false;
    this.open.push({list: list, index: -1});
    this.highlight(depth, index);
  },

  openTitle(title, index) {
    this.activate(title);
    const list = this.dropDownOf(title);
    if (list) this.openList(list, 0, index);
  },

  highlight(depth, index) {
    const level = this.open[depth];
    level.index = index;
    this.itemsOf(level.list).forEach((item, i) => item.classList.toggle('highlighted', i === index));
  },

  // The innermost open drop-down.
  current() {
    return this.open[this.open.length - 1];
  },

  highlightedItem() {
    const level = this.current();
    return level && level.index >= 0 ? this.itemsOf(level.list)[level.index] : null;
  },

  moveBy(step) {
    const level = this.current();
    const count = this.itemsOf(level.list).length;
    const from = level.index < 0 ? (step > 0 ? -1 : count) : level.index;
    this.highlight(this.open.length - 1, (from + step + count) % count);
  },

  // The neighbouring title, opened as the present one was.
  moveToTitle(step) {
    const title = (this.title + step + this.titles.length) % this.titles.length;
    if (this.open.length > 0) {
      this.openTitle(title, 0);
    } else {
      this.activate(title);
    }
  },

  // The depth of the open drop-down that holds item, or -1.
  depthOf(item) {
    return this.open.findIndex((level) => level.list === item.parentElement);
  },

  choose(item) {
    const submenu = this.submenuOf(item);
    if (submenu) {
      const depth = this.depthOf(item);
      if (depth < 0) return;
      this.highlight(depth, this.itemsOf(this.open[depth].list).indexOf(item));
      this.openList(submenu, depth + 1, 0);
      return;
    }
    if (item.getAttribute('aria-disabled') === 'true' || !item.dataset.command) return;
    this.close();
    pageEvents.post('PageMenuCommand', ['number'], [Number(item.dataset.command)]);
  },

  keyDown(event) {
    event.preventDefault();
    const item = this.highlightedItem();
    switch (event.code) {
      case 'F10':
      case 'AltLeft':
      case 'AltRight':
        this.close();
        return;
      case 'Escape':
        if (this.open.length > 1) {
          this.closeDropDowns(this.open.length - 1);
        } else if (this.open.length === 1) {
          this.activate(this.title);
        } else {
          this.close();
        }
        return;
      case 'ArrowDown':
      case 'ArrowUp': {
        const step = event.code === 'ArrowDown' ? 1 : -1;
        if (this.open.length === 0) {
          if (this.dropDownOf(this.title)) this.openTitle(this.title, step > 0 ? 0 : this.itemsOf(this.dropDownOf(this.title)).length - 1);
        } else {
          this.moveBy(step);
        }
        return;
      }
      case 'ArrowRight':
        if (item && this.submenuOf(item)) {
          this.choose(item);
        } else {
          this.moveToTitle(1);
        }
        return;
      case 'ArrowLeft':
        if (this.open.length > 1) {
          this.closeDropDowns(this.open.length - 1);
        } else {
          this.moveToTitle(-1);
        }
        return;
      case 'Enter':
      case 'NumpadEnter':
        if (this.open.length === 0) {
          if (this.dropDownOf(this.title)) {
            this.openTitle(this.title, 0);
          } else {
            this.choose(this.titles[this.title]);
          }
        } else if (item) {
          this.choose(item);
        }
        return;
      default:
        return;
    }
  },

  // The pointer: a title opens or closes its drop-down, hovering highlights
  // and opens "Level", a click on an item chooses it. Only a pointer that
  // moves highlights: browsers also report a move, at the same place, when
  // a drop-down opens under a resting pointer (the player clicked the game
  // there, then pressed F10), and that one must leave the keyboard's
  // highlight alone. The first report only tells where the pointer is.
  pointerMoved(event) {
    const at = event.screenX + ',' + event.screenY;
    const moved = this.pointerAt !== null && this.pointerAt !== at;
    this.pointerAt = at;
    return moved;
  },

  titlePressed(title) {
    if (this.open.length > 0 && this.title === title) {
      this.close();
    } else if (this.dropDownOf(title)) {
      this.openTitle(title, -1);
    } else {
      this.activate(title);
      this.choose(this.titles[title]);
    }
  },

  pointerOverTitle(title) {
    if (this.open.length > 0 && this.title !== title && this.dropDownOf(title)) this.openTitle(title, -1);
  },

  pointerOver(item) {
    const depth = this.depthOf(item);
    if (depth < 0) return;
    const index = this.itemsOf(this.open[depth].list).indexOf(item);
    if (this.open[depth].index === index) return;
    this.closeDropDowns(depth + 1);
    this.highlight(depth, index);
    const submenu = this.submenuOf(item);
    if (submenu) this.openList(submenu, depth + 1, -1);
  }
};

pageMenu.titles.forEach((element, title) => {
  element.addEventListener('mousedown', (event) => {
    event.preventDefault();
    pageMenu.titlePressed(title);
  });
});
window.addEventListener('pointermove', (event) => {
  if (!pageMenu.pointerMoved(event) || !(event.target instanceof Element)) return;
  const item = event.target.closest('#menu-bar .drop-down li');
  if (item) pageMenu.pointerOver(item);
  const title = pageMenu.titles.indexOf(event.target.closest('#menu-bar .menu-title'));
  if (title >= 0) pageMenu.pointerOverTitle(title);
});
pageMenu.bar.querySelectorAll('.drop-down li').forEach((item) => {
  item.addEventListener('click', (event) => {
    if (event.target.closest('li') === item) pageMenu.choose(item);
  });
});
// A press anywhere else closes the menu, as it does on the desktop.
window.addEventListener('mousedown', (event) => {
  if (pageMenu.active && !(event.target instanceof Element && event.target.closest('#menu-bar'))) pageMenu.close();
});
