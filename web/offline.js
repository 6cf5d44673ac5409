// Offers the game for offline play and the home screen: the service worker is registered once
// the whole SoundFont, the last file the page fetches at start, has arrived, so that the worker's
// caching takes every file from the browser's cache instead of fetching it a second time.
'use strict';

if ('serviceWorker' in navigator) {
  const register = () => navigator.serviceWorker.register('service-worker.js').catch(() => {});
  const soundFontArrived = (entries) => entries.some((entry) => /\/TimGM6mb\.sf[23]$/.test(entry.name));
  const watch = new PerformanceObserver((list, observer) => {
    if (!soundFontArrived(list.getEntries())) return;
    observer.disconnect();
    register();
  });
  watch.observe({ type: 'resource', buffered: true });
}
