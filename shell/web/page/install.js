// The page as an installable web app. Where the browser has service workers
// (a page served over https or from this machine) the worker keeps the page
// and its script for playing offline; opened from the disk, the page plays
// as it always has. A worker that cannot be registered costs only the
// offline play: the version's tooltip tells why.
(() => {
  if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return;
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service_worker.js').catch((error) => {
      document.getElementById('version').title = 'Not kept for offline play: ' + pageEvents.reasonOf(error);
    });
  });
})();
