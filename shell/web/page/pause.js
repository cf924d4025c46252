// The pause as the page shows it: a label beside the game, so that the
// game's frame stays what the game draws, and the Pause control for a
// finger shown pressed. A page that is hidden (another tab in front, the
// browser minimised, the phone locked) pauses the game, which waits there
// until the player resumes it.
var pagePause = {
  show(paused) {
    document.getElementById('paused').hidden = !paused;
    document.querySelector('#touch-controls [data-code="KeyP"]').setAttribute('aria-pressed', paused ? 'true' : 'false');
  }
};

document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden') pageEvents.post('PageHidden');
});
