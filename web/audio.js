// The page's sound output: one AudioWorklet that plays the game's effect blocks and its music
// through FluidSynth. It is made ready after the title is shown and starts on the player's
// first key, as browsers require. The game talks to it over a port of its own.
'use strict';

const SAMPLE_RATE = CONTRACT.kSampleRate;  // the rate the game mixes its effects at
const PEAK_WINDOW_MS = 1000;

class PageAudio {
  constructor() {
    this.context = null;
    this.node = null;
    this.started = false;  // the player's first key has come
    this.failed = false;
    this.ready = false;    // the output has its SoundFont
    this.musicReady = false;  // the synthesiser has loaded it and can play the music
    this.onMusicReady = null;
    this.muted = false;
    this.hidden = false;   // the page is hidden: the output pauses where it is
    this.volume = null;    // the gain the output goes through, 0 when muted
    this.peaks = [];       // [time, peak, peak of the effects alone] from the output
  }

  // Loads the output and the SoundFont and hands the game its port to the output. The
  // context stays suspended until start().
  async prepare(gamePort) {
    try {
      this.context = new AudioContext({ sampleRate: SAMPLE_RATE, latencyHint: 'interactive' });
      this.volume = this.context.createGain();
      this.volume.connect(this.context.destination);
      this.setMuted(this.muted);
      await this.keepRunning();
      // The title's instruments first, small and dull, so the music starts soon on a slow link;
      // the whole cut SoundFont after them, without sharing the link.
      const firstFont = fetch('TimGM6mb-first.sf2').then((response) => response.arrayBuffer());
      for (const module of ['libfluidsynth.js', 'js-synthesizer.worklet.js', 'audio-worklet.js'])
        await this.context.audioWorklet.addModule(module);
      this.node = new AudioWorkletNode(this.context, 'domrak-output', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2],
      });
      this.node.port.onmessage = (event) => this.receive(event.data);
      this.node.connect(this.volume);
      const channel = new MessageChannel();
      this.node.port.postMessage({ type: 'game-port', port: channel.port1 }, [channel.port1]);
      gamePort(channel.port2);
      const first = await firstFont;
      this.node.port.postMessage({ type: 'soundfont', data: first }, [first]);
      this.ready = true;
      const font = await fetch('TimGM6mb.sf2').then((response) => response.arrayBuffer());
      this.node.port.postMessage({ type: 'soundfont', data: font }, [font]);
    } catch (error) {
      this.failed = true;
    }
  }

  // The player's first key: sound may start now.
  start() {
    this.started = true;
    this.keepRunning();
  }

  setMuted(muted) {
    this.muted = muted;
    if (this.volume) this.volume.gain.value = muted ? 0 : 1;
  }

  setHidden(hidden) {
    this.hidden = hidden;
    this.keepRunning();
  }

  // The output runs once sound has started and while the page is seen; a suspended output
  // (the browser may suspend it for a phone call) is asked to run again.
  keepRunning() {
    if (!this.context) return Promise.resolve();
    return this.started && !this.hidden ? this.context.resume().catch(() => {}) : this.context.suspend();
  }

  receive(message) {
    if (message.type === 'music-ready') {
      this.musicReady = true;
      if (this.onMusicReady) this.onMusicReady();
    }
    if (message.type !== 'peak') return;
    const now = performance.now();
    this.peaks.push([now, message.value, message.effects]);
    while (this.peaks.length > 0 && this.peaks[0][0] < now - 2 * PEAK_WINDOW_MS) this.peaks.shift();
  }

  // The peak absolute sample of the output over the last second, 0 when silent; of the
  // effects alone with 'effects'.
  outputPeak(part) {
    const since = performance.now() - PEAK_WINDOW_MS;
    const at = part === 'effects' ? 2 : 1;
    return this.peaks.reduce((peak, entry) => (entry[0] >= since ? Math.max(peak, entry[at]) : peak), 0);
  }
}
