// Offline play: served from a web host, the page registers its service worker,
// which keeps this release for the next visits. Opened from disk there is none to
// register; where the browser refuses one (a framed page denied storage, a private
// window), the game plays on as it is and nothing is reported.
window.addEventListener('load', function () {
  try {
    if (!/^https?:$/.test(location.protocol) || !('serviceWorker' in navigator)) return;
    navigator.serviceWorker.register('sw.js').catch(function () {});
  } catch (e) {
    // A sandboxed frame: no service worker, the game needs none to play.
  }
});
