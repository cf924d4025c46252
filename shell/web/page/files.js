// "Save highscores.dat" and "Open highscores.dat" beside the game: the Top
// Ten leaves the page as a download of the desktop file's bytes and comes
// back from any such file the player picks.
var pageFiles = {
  // A Top Ten file is 140 to 280 bytes; the game ignores whatever follows.
  readLimit: 4096,

  offerDownload(name, bytes) {
    const url = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  },

  async opened(file) {
    try {
      const bytes = new Uint8Array(await file.slice(0, this.readLimit).arrayBuffer());
      pageEvents.post('PageOpenHighScores', ['array', 'number'], [bytes, bytes.length]);
    } catch (error) {
      pageDialogs.showMessage('The file ' + file.name + ' could not be read: ' + pageEvents.reasonOf(error) + '.');
    }
  }
};

(() => {
  const chooser = document.getElementById('highscores-file');
  const buttons = [document.getElementById('save-highscores'), document.getElementById('open-highscores')];
  // The buttons never keep the focus, so the arrow keys stay with the game.
  buttons.forEach((button) => button.addEventListener('mousedown', (event) => event.preventDefault()));
  buttons[0].addEventListener('click', () => {
    buttons[0].blur();
    pageEvents.post('PageSaveHighScores');
  });
  buttons[1].addEventListener('click', () => {
    buttons[1].blur();
    chooser.click();
  });
  chooser.addEventListener('change', () => {
    if (chooser.files.length > 0) pageFiles.opened(chooser.files[0]);
    chooser.value = '';
  });
})();
