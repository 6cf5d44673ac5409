// The page's sound output on the audio thread: the game's effect blocks as they come, and
// its music events applied to FluidSynth at the frame each one is due.
'use strict';

const PEAK_FRAMES = 4800;  // frames per reported peak (a tenth of a second at 48 kHz)
// What the game asks of a music stream.
const PAUSE = 0;
const RUN = 1;
const FLUSH = 2;
const CLOSE = 3;

class MusicStream {
  constructor() {
    this.running = false;
    this.clock = 0;    // frames played since the stream began (or was last flushed)
    this.buffers = []; // { token, events: [frame, message, ...], next, end }
  }

  // Frames until the next event is due; `limit` when none is waiting.
  framesUntilDue(limit) {
    if (!this.running || this.buffers.length === 0) return limit;
    const buffer = this.buffers[0];
    const due = buffer.next < buffer.events.length ? buffer.events[buffer.next] : buffer.end;
    return Math.min(limit, Math.max(1, due - this.clock));
  }
}

class DomrakOutput extends AudioWorkletProcessor {
  constructor() {
    super();
    this.synth = null;
    this.streams = new Map();
    this.effects = [];     // blocks of interleaved stereo frames
    this.effectFrame = 0;  // the next frame of effects[0]
    this.peak = 0;
    this.effectsPeak = 0;
    this.peakFrames = 0;
    this.lastPeak = 0;
    this.game = null;      // the game's port: music and effects in, news of them played out
    this.fonts = Promise.resolve();  // SoundFonts load one after another
    this.port.onmessage = (event) => this.receive(event.data);
  }

  receive(message) {
    if (message.type === 'game-port') {
      this.game = message.port;
      this.game.onmessage = (event) => this.receive(event.data);
    } else if (message.type === 'soundfont') this.fonts = this.fonts.then(() => this.loadFont(message.data));
    else if (message.type === 'effects') this.effects.push(message.samples);
    else if (message.type === 'queue') this.stream(message.stream).buffers.push({ ...message, next: 0 });
    else if (message.type === 'control') this.control(message.stream, message.command);
  }

  // The first SoundFont starts the synthesiser; a later one takes over every channel's
  // instrument, the notes that sound ring on with the old one.
  async loadFont(soundFont) {
    if (this.synth) {
      await this.synth.loadSFont(soundFont);
      this.synth.midiProgramReset();
      return;
    }
    const JSSynth = globalThis.JSSynth;
    JSSynth.disableLogging();
    await JSSynth.Synthesizer.waitForWasmInitialized();
    const synth = new JSSynth.Synthesizer();
    synth.init(sampleRate, { initialGain: 0.55 });
    await synth.loadSFont(soundFont);
    this.synth = synth;
    this.port.postMessage({ type: 'music-ready' });
  }

  stream(id) {
    if (!this.streams.has(id)) this.streams.set(id, new MusicStream());
    return this.streams.get(id);
  }

  control(id, command) {
    const stream = this.stream(id);
    if (command === RUN) {
      stream.running = true;
      return;
    }
    // Pausing, flushing and closing all silence what the stream has sounding.
    this.silence();
    if (command === PAUSE) stream.running = false;
    if (command === FLUSH) {
      stream.buffers = [];
      stream.clock = 0;
    }
    if (command === CLOSE) this.streams.delete(id);
  }

  silence() {
    if (!this.synth) return;
    for (let channel = 0; channel < 16; ++channel) {
      this.synth.midiControl(channel, 64, 0);   // sustain off, or held notes would ring on
      this.synth.midiControl(channel, 121, 0);  // reset controllers
      this.synth.midiAllNotesOff(channel);
    }
  }

  send(message) {
    const synth = this.synth;
    const channel = message & 0x0f;
    const data1 = (message >> 8) & 0x7f;
    const data2 = (message >> 16) & 0x7f;
    switch (message & 0xf0) {
      case 0x80: synth.midiNoteOff(channel, data1); break;
      case 0x90: synth.midiNoteOn(channel, data1, data2); break;
      case 0xa0: synth.midiKeyPressure(channel, data1, data2); break;
      case 0xb0: synth.midiControl(channel, data1, data2); break;
      case 0xc0: synth.midiProgramChange(channel, data1); break;
      case 0xd0: synth.midiChannelPressure(channel, data1); break;
      case 0xe0: synth.midiPitchBend(channel, data1 | (data2 << 7)); break;
      default: break;
    }
  }

  // Applies every event that is due and hands back the buffers played to their end.
  applyDue(id, stream) {
    while (stream.running && stream.buffers.length > 0) {
      const buffer = stream.buffers[0];
      if (buffer.next < buffer.events.length) {
        if (buffer.events[buffer.next] > stream.clock) return;
        this.send(buffer.events[buffer.next + 1]);
        buffer.next += 2;
        continue;
      }
      if (buffer.end > stream.clock) return;
      stream.buffers.shift();
      this.game.postMessage({ type: 'music-played', stream: id, token: buffer.token });
    }
  }

  renderMusic(left, right) {
    const frames = left.length;
    // Until the synthesiser is ready the streams wait where they are.
    if (!this.synth) return;
    for (let done = 0; ;) {
      for (const [id, stream] of this.streams) this.applyDue(id, stream);
      if (done === frames) return;
      let step = frames - done;
      for (const stream of this.streams.values()) step = stream.framesUntilDue(step);
      this.synth.render([left.subarray(done, done + step), right.subarray(done, done + step)]);
      for (const stream of this.streams.values()) if (stream.running) stream.clock += step;
      done += step;
    }
  }

  mixEffects(left, right) {
    for (let frame = 0; frame < left.length && this.effects.length > 0; ++frame) {
      const block = this.effects[0];
      const l = block[this.effectFrame * 2];
      const r = block[this.effectFrame * 2 + 1];
      this.effectsPeak = Math.max(this.effectsPeak, Math.abs(l), Math.abs(r));
      left[frame] += l;
      right[frame] += r;
      if (++this.effectFrame * 2 >= block.length) {
        this.effects.shift();
        this.effectFrame = 0;
        this.game.postMessage({ type: 'effects-played' });
      }
    }
  }

  // Reports the peak of each tenth of a second, except while all stays silent.
  measure(left, right) {
    for (let frame = 0; frame < left.length; ++frame)
      this.peak = Math.max(this.peak, Math.abs(left[frame]), Math.abs(right[frame]));
    this.peakFrames += left.length;
    if (this.peakFrames < PEAK_FRAMES) return;
    if (this.peak > 0 || this.lastPeak > 0)
      this.port.postMessage({ type: 'peak', value: this.peak, effects: this.effectsPeak });
    this.lastPeak = this.peak;
    this.peak = 0;
    this.effectsPeak = 0;
    this.peakFrames = 0;
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    this.renderMusic(left, right);
    this.mixEffects(left, right);
    this.measure(left, right);
    return true;
  }
}

registerProcessor('domrak-output', DomrakOutput);
