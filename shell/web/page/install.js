// The page as an installable web app, when it is served: the manifest is
// read across origins, which a page opened from the disk is refused, so
// only a served page links it. Where the browser has service workers (a
// page served over https or from this machine) the worker keeps the app for
// playing offline; opened from the disk, the page plays as it always has. A
// worker that cannot be registered costs only the offline play: the
// version's tooltip tells why.
(() => {
  if (!/^https?:$/.test(location.protocol)) return;
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  if (!('serviceWorker' in navigator)) return;
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service_worker.js').catch((error) => {
      document.getElementById('version').title = 'Not kept for offline play: ' + pageEvents.reasonOf(error);
    });
  });
})();
