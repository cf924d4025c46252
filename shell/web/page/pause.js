// The pause as the page shows it: a label beside the game, so that the
// game's frame stays what the game draws. A page that is hidden (another tab
// in front, the browser minimised, the phone locked) pauses the game, which
// waits there until the player resumes it.
var pagePause = {
  show(paused) {
    document.getElementById('paused').hidden = !paused;
  }
};

document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden') pageEvents.post('PageHidden');
});
