// The module's side of the web sound: music events and effect news go to the audio output (Module.domrakAudio, web/game-worker.js).
mergeInto(LibraryManager.library, {
  domrak_music_queue: function (stream, token, events, count, end) {
    Module.domrakAudio.queueMusic(stream, token, HEAPU32.slice(events >> 2, (events >> 2) + count * 2), end);
  },
  domrak_music_control: function (stream, command) {
    Module.domrakAudio.controlMusic(stream, command);
  },
  domrak_effects_started: function () {
    Module.domrakAudio.effectsStarted();
  },
});
