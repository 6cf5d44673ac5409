// The mute button (remembered by the browser), and the sound paused while the page is hidden.
'use strict';

const MUTED_KEY = 'domrak-muted';

class SoundControls {
  constructor(button, pageAudio) {
    this.button = button;
    this.pageAudio = pageAudio;
    this.show(recall(MUTED_KEY) === '1');
    button.addEventListener('click', () => {
      const muted = !pageAudio.muted;
      this.show(muted);
      remember(MUTED_KEY, muted ? '1' : '0');
      showNotice();
    });
    document.addEventListener('visibilitychange', () => pageAudio.setHidden(document.hidden));
    pageAudio.setHidden(document.hidden);
  }

  show(muted) {
    this.pageAudio.setMuted(muted);
    this.button.setAttribute('aria-pressed', String(muted));
  }
}
