// The module's side of the web console: the screen goes to the page (Module.domrakScreen, web/game-worker.js),
// and the waits for input yield to the browser until a key arrives or the time is up.
mergeInto(LibraryManager.library, {
  // The console exists: what the page sent while the game was loading can be handed over.
  domrak_console_ready: function () {
    if (Module.domrakConsoleReady) Module.domrakConsoleReady();
  },
  domrak_show_screen: function (cells, column, row, visible, size) {
    Module.domrakScreen.show(HEAPU32.slice(cells >> 2, (cells >> 2) + 80 * 25), column, row, visible, size);
  },
  domrak_wait_for_input: function (ms) {
    Asyncify.handleSleep(function (wakeUp) {
      var timer = setTimeout(done, ms);
      function done() {
        clearTimeout(timer);
        Module.domrakWakeForInput = null;
        wakeUp();
      }
      Module.domrakWakeForInput = done;
    });
  },
});
