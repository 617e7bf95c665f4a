// The module loader: slicecast.wasm compiled once on the page, instantiated
// wherever the sound runs (the page, the offline render's worker, the audio
// worklet), and its C interface wrapped for JavaScript. The module imports
// nothing, so the same code serves every one of those places.

// Compiles the module from its URL. Compiled from the bytes rather than
// streamed, so that a static host needs no particular MIME type for .wasm.
export async function compileSlicecast(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`cannot load ${url}: ${response.status} ${response.statusText}`);
  return WebAssembly.compile(await response.arrayBuffer());
}

// A module instance: its memory holds every engine created from it.
export class Slicecast {
  static async instantiate(module) {
    return new Slicecast(await WebAssembly.instantiate(module, {}));
  }

  constructor(instance) {
    this.exports = instance.exports;
    // The module's static data (the parameter tables) are set up here.
    this.exports._initialize();
  }

  get memory() {
    return this.exports.memory.buffer;
  }

  // A text of the module, which is plain ASCII: read without TextDecoder,
  // which an audio worklet's scope may lack.
  text(address) {
    const bytes = new Uint8Array(this.memory, address);
    let text = '';
    for (let i = 0; bytes[i] !== 0; ++i) text += String.fromCharCode(bytes[i]);
    return text;
  }

  // The six parameters as the plug-in has them: name, default, maximum
  // (the minimum is 0), whether it takes steps, and the steps' texts.
  parameters() {
    const e = this.exports;
    const parameters = [];
    for (let index = 0; index < e.slicecast_parameter_count(); ++index) {
      const maximum = e.slicecast_parameter_maximum(index);
      const stepped = e.slicecast_parameter_stepped(index) !== 0;
      const steps = [];
      if (stepped) for (let step = 0; step <= maximum; ++step) steps.push(this.valueText(index, step));
      parameters.push({
        index,
        name: this.text(e.slicecast_parameter_name(index)),
        defaultValue: e.slicecast_parameter_default(index),
        maximum,
        stepped,
        steps,
      });
    }
    return parameters;
  }

  // The factory presets, in the plug-in's order: each name with its six
  // plain values in parameter order.
  presets() {
    const e = this.exports;
    const presets = [];
    for (let preset = 0; preset < e.slicecast_preset_count(); ++preset) {
      const values = [];
      for (let index = 0; index < e.slicecast_parameter_count(); ++index) values.push(e.slicecast_preset_value(preset, index));
      presets.push({ name: this.text(e.slicecast_preset_name(preset)), values });
    }
    return presets;
  }

  // A plain value's text as the plug-in shows it ("1/8", "70 %").
  valueText(index, plain) {
    return this.text(this.exports.slicecast_value_text(index, plain));
  }

  // The render tool's demo drum loop, copied out of the module's memory.
  demoLoop() {
    const e = this.exports;
    const frames = e.slicecast_demo_frames();
    const channel = (index) => new Float32Array(this.memory, e.slicecast_demo_channel(index), frames).slice();
    return {
      sampleRate: e.slicecast_demo_sample_rate(),
      tempo: e.slicecast_demo_tempo(),
      left: channel(0),
      right: channel(1),
    };
  }

  // An instance of the sound with buffers of maxFrames frames.
  createEngine(sampleRate, maxFrames) {
    return new SlicecastEngine(this, sampleRate, maxFrames);
  }
}

// One instance of the sound: its transport, parameters and buffers.
export class SlicecastEngine {
  constructor(slicecast, sampleRate, maxFrames) {
    this.slicecast = slicecast;
    this.exports = slicecast.exports;
    this.maxFrames = maxFrames;
    this.pointer = this.exports.slicecast_create(sampleRate, maxFrames);
    if (this.pointer === 0) throw new Error('not enough memory for an instance of the sound');
    this.views = null;
    this.refreshViews();
  }

  // The buffers as seen from JavaScript. Views of the module's memory lapse
  // when it grows, which only creating an instance or keeping marks can
  // make it do: they are made again then, and only then, so that the audio
  // path allocates nothing.
  refreshViews() {
    const memory = this.slicecast.memory;
    if (this.views !== null && this.views.memory === memory) return;
    const view = (channel) => new Float32Array(memory, this.exports.slicecast_buffer(this.pointer, channel), this.maxFrames);
    this.views = { memory, inLeft: view(0), inRight: view(1), outLeft: view(2), outRight: view(3) };
  }

  get io() {
    this.refreshViews();
    return this.views;
  }

  setParameter(index, plain) {
    this.exports.slicecast_set_parameter(this.pointer, index, plain);
  }

  setTempo(tempo) {
    this.exports.slicecast_set_tempo(this.pointer, tempo);
  }

  setSampleRate(sampleRate) {
    this.exports.slicecast_set_sample_rate(this.pointer, sampleRate);
  }

  locate(position) {
    this.exports.slicecast_locate(this.pointer, position);
  }

  // The first frames frames of the input buffers through the sound, into
  // the output buffers, at the transport's position.
  process(frames) {
    this.exports.slicecast_process(this.pointer, frames);
  }

  reset() {
    this.exports.slicecast_reset(this.pointer);
  }

  keepMarks() {
    this.exports.slicecast_keep_marks(this.pointer);
  }

  // Where periods, passes and beats fell in the blocks processed since
  // keepMarks, in frames (beats with their number of quarter notes).
  marks() {
    const e = this.exports;
    const memory = this.slicecast.memory;
    const frames = (address, count) => Array.from(new BigInt64Array(memory, address, count), Number);
    const list = (kind) => frames(e.slicecast_marks(this.pointer, kind), e.slicecast_mark_count(this.pointer, kind));
    const pairs = frames(e.slicecast_beats(this.pointer), 2 * e.slicecast_beat_count(this.pointer));
    const beats = [];
    for (let i = 0; i < pairs.length; i += 2) beats.push({ frame: pairs[i], beat: pairs[i + 1] });
    return { periodStarts: list(0), passStarts: list(1), beats };
  }

  free() {
    this.exports.slicecast_free(this.pointer);
    this.pointer = 0;
  }
}
