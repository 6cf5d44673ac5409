// The page's sound: one AudioWorklet output that plays the game's effect blocks and its
// music through FluidSynth. It is made ready after the title is shown and starts on the
// player's first key, as browsers require.
'use strict';

const SAMPLE_RATE = 48000;       // the rate the game mixes its effects at
const EFFECT_BLOCK_FRAMES = 512;  // frames in one effect block from the game
const EFFECT_BLOCKS_AHEAD = 2;    // blocks queued in the output while effects sound
const PEAK_WINDOW_MS = 1000;

class PageAudio {
  // `game` gives the module's calls: mixEffects(), effectsSounding(), musicBufferPlayed().
  constructor(game) {
    this.game = game;
    this.context = null;
    this.node = null;
    this.pending = [];        // messages for the output before it exists
    this.started = false;     // the player's first key has come
    this.pumping = false;     // effect blocks are being pulled
    this.peaks = [];          // [time, peak, peak of the effects alone] from the output
    this.failed = false;
  }

  // Loads the output and the SoundFont. The context stays suspended until start().
  async prepare() {
    try {
      this.context = new AudioContext({ sampleRate: SAMPLE_RATE, latencyHint: 'interactive' });
      if (this.context.state === 'running' && !this.started) await this.context.suspend();
      const soundFont = fetch('TimGM6mb.sf2').then((response) => response.arrayBuffer());
      for (const module of ['libfluidsynth.js', 'js-synthesizer.worklet.js', 'audio-worklet.js'])
        await this.context.audioWorklet.addModule(module);
      this.node = new AudioWorkletNode(this.context, 'domrak-output', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [2],
      });
      this.node.port.onmessage = (event) => this.receive(event.data);
      this.node.connect(this.context.destination);
      const font = await soundFont;
      this.node.port.postMessage({ type: 'soundfont', data: font }, [font]);
      for (const message of this.pending) this.node.port.postMessage(message);
      this.pending = [];
      if (this.started) this.pumpEffects();
    } catch (error) {
      this.failed = true;
    }
  }

  // The player's first key: sound may start now.
  start() {
    if (this.started) return;
    this.started = true;
    if (this.context) this.context.resume();
    this.pumpEffects();
  }

  send(message, transfer) {
    if (this.node) this.node.port.postMessage(message, transfer || []);
    else this.pending.push(message);
  }

  queueMusic(stream, token, events, end) {
    this.send({ type: 'queue', stream, token, events, end }, [events.buffer]);
  }

  controlMusic(stream, command) {
    this.send({ type: 'control', stream, command });
  }

  effectsStarted() {
    if (!this.pumping) queueMicrotask(() => this.pumpEffects());
  }

  // Pulls effect blocks from the game ahead of the output while any voice sounds.
  pumpEffects() {
    if (this.pumping || !this.node || !this.started || !this.game.effectsSounding()) return;
    this.pumping = true;
    for (let i = 0; i < EFFECT_BLOCKS_AHEAD && this.pumping; ++i) this.sendEffectBlock();
  }

  sendEffectBlock() {
    const samples = this.game.mixEffects(EFFECT_BLOCK_FRAMES);
    if (!samples) {
      this.pumping = false;
      return;
    }
    this.node.port.postMessage({ type: 'effects', samples }, [samples.buffer]);
    if (!this.game.effectsSounding()) this.pumping = false;
  }

  receive(message) {
    if (message.type === 'effects-played') {
      if (this.pumping) this.sendEffectBlock();
    } else if (message.type === 'music-played') {
      this.game.musicBufferPlayed(message.stream, message.token);
    } else if (message.type === 'peak') {
      this.peaks.push([performance.now(), message.value, message.effects]);
      while (this.peaks.length > 0 && this.peaks[0][0] < performance.now() - 2 * PEAK_WINDOW_MS) this.peaks.shift();
    }
  }

  // The peak absolute sample of the output over the last second, 0 when silent; of the
  // effects alone with 'effects'.
  outputPeak(part) {
    const since = performance.now() - PEAK_WINDOW_MS;
    const at = part === 'effects' ? 2 : 1;
    return this.peaks.reduce((peak, entry) => (entry[0] >= since ? Math.max(peak, entry[at]) : peak), 0);
  }
}
