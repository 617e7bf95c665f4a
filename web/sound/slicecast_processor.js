// The page's audio worklet: plays the file through the sound in real time,
// one render quantum (128 frames) at a time. Positions count from the
// file's start at the tempo, as the render tool's transport counts them;
// looping, the file's end jumps back to position 0 on the exact frame, the
// rest of the quantum playing from the file's first frame, as a DAW's loop
// does. Parameter and tempo changes take effect at the next quantum, as a
// host's automation reaches a plug-in at block starts. process() allocates
// nothing: messages are taken in by the port's handler, between quanta.
import { Slicecast } from './slicecast_module.js';

const kQuantum = 128;
const kParameterCount = 6;

class SlicecastProcessor extends AudioWorkletProcessor {
  constructor() {
    super();
    this.engine = null;
    this.left = null;
    this.right = null;
    this.frame = 0;
    this.playing = false;
    this.startPending = false;
    this.loop = false;
    this.processed = true;
    // Values waiting for the next quantum: a bit per parameter in
    // changedParameters, and the tempo unless it is NaN.
    this.values = new Float64Array(kParameterCount);
    this.changedParameters = 0;
    this.tempo = NaN;
    this.port.onmessage = (event) => this.receive(event.data);
  }

  async receive(message) {
    switch (message.type) {
      case 'module': {
        const slicecast = await Slicecast.instantiate(message.module);
        this.engine = slicecast.createEngine(sampleRate, kQuantum);
        this.port.postMessage({ type: 'ready' });
        break;
      }
      case 'source':
        this.left = message.left;
        this.right = message.right;
        this.playing = false;
        break;
      case 'parameter':
        this.values[message.index] = message.value;
        this.changedParameters |= 1 << message.index;
        break;
      case 'tempo':
        this.tempo = message.value;
        break;
      case 'play':
        this.startPending = this.left !== null && this.left.length > 0;
        break;
      case 'stop':
        this.playing = false;
        this.startPending = false;
        break;
      case 'loop':
        this.loop = message.on;
        break;
      case 'processed':
        this.processed = message.on;
        break;
    }
  }

  process(inputs, outputs) {
    const outLeft = outputs[0][0];
    const outRight = outputs[0][1];
    if (this.engine === null) return true;
    this.applyChanges();
    if (this.startPending) {
      // Every play starts as a fresh render does: a new instance's state at
      // position 0 of the file.
      this.engine.reset();
      this.frame = 0;
      this.playing = true;
      this.startPending = false;
    }
    let written = 0;
    while (this.playing && written < kQuantum) {
      const length = Math.min(kQuantum - written, this.left.length - this.frame);
      this.play(length, outLeft, outRight, written);
      written += length;
      this.frame += length;
      if (this.frame >= this.left.length) {
        this.frame = 0;
        this.playing = this.loop;
        this.engine.locate(0);
      }
    }
    outLeft.fill(0, written);
    outRight.fill(0, written);
    return true;
  }

  applyChanges() {
    if (this.changedParameters !== 0) {
      for (let index = 0; index < kParameterCount; ++index) {
        if (this.changedParameters & (1 << index)) this.engine.setParameter(index, this.values[index]);
      }
      this.changedParameters = 0;
    }
    if (!Number.isNaN(this.tempo)) {
      this.engine.setTempo(this.tempo);
      this.tempo = NaN;
    }
  }

  // length frames of the file from this.frame through the sound, into the
  // outputs from offset on: the processed sound, or the dry file to
  // compare (the sound runs on either way, so that switching is seamless).
  // Copied sample by sample: a subarray would be a new object every
  // quantum.
  play(length, outLeft, outRight, offset) {
    const io = this.engine.io;
    for (let i = 0; i < length; ++i) {
      io.inLeft[i] = this.left[this.frame + i];
      io.inRight[i] = this.right[this.frame + i];
    }
    this.engine.process(length);
    const left = this.processed ? io.outLeft : io.inLeft;
    const right = this.processed ? io.outRight : io.inRight;
    for (let i = 0; i < length; ++i) {
      outLeft[offset + i] = left[i];
      outRight[offset + i] = right[i];
    }
  }
}

registerProcessor('slicecast', SlicecastProcessor);
