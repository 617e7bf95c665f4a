// Real-time playback: an AudioContext at the sound's own sample rate (the
// browser converts to the device's), with the page's worklet playing the
// sound through Slicecast. The context is made on the first Play, as
// browsers start audio only on a user's gesture, and made again when a
// sound of another sample rate comes.

export class Playback {
  // module: the compiled slicecast.wasm.
  constructor(module) {
    this.module = module;
    this.context = null;
    this.node = null;
    this.sound = null;
    this.values = [];
    this.tempo = 120;
    this.loop = false;
    this.processed = true;
    // The play position, in frames of the sound; null when stopped.
    this.frame = null;
    this.clock = 0;
  }

  setSound(sound) {
    this.stop();
    this.sound = sound;
    this.send({ type: 'source', left: sound.left, right: sound.right });
  }

  setParameter(index, value) {
    this.values[index] = value;
    this.send({ type: 'parameter', index, value });
  }

  setTempo(tempo) {
    this.tempo = tempo;
    this.send({ type: 'tempo', value: tempo });
  }

  setLoop(on) {
    this.loop = on;
    this.send({ type: 'loop', on });
  }

  setProcessed(on) {
    this.processed = on;
    this.send({ type: 'processed', on });
  }

  async play() {
    if (this.sound === null) return;
    if (this.context === null || this.context.sampleRate !== this.sound.sampleRate) await this.open();
    await this.context.resume();
    this.send({ type: 'play' });
    this.frame = 0;
    this.clock = this.context.currentTime;
  }

  stop() {
    this.send({ type: 'stop' });
    this.frame = null;
  }

  // Moves the play position on with the audio clock, as the worklet plays
  // (wrapping with the loop, stopping at the end); answers it.
  position() {
    if (this.frame === null || this.context === null) return null;
    const now = this.context.currentTime;
    this.frame += (now - this.clock) * this.context.sampleRate;
    this.clock = now;
    const frames = this.sound.left.length;
    if (this.frame >= frames) this.frame = this.loop ? this.frame % frames : null;
    return this.frame;
  }

  async open() {
    if (this.context !== null) await this.context.close();
    this.context = new AudioContext({ sampleRate: this.sound.sampleRate, latencyHint: 'interactive' });
    await this.context.audioWorklet.addModule(new URL('./slicecast_processor.js', import.meta.url));
    this.node = new AudioWorkletNode(this.context, 'slicecast', {
      numberOfInputs: 0,
      numberOfOutputs: 1,
      outputChannelCount: [2],
    });
    this.node.connect(this.context.destination);
    this.send({ type: 'module', module: this.module });
    this.send({ type: 'source', left: this.sound.left, right: this.sound.right });
    this.values.forEach((value, index) => this.send({ type: 'parameter', index, value }));
    this.send({ type: 'tempo', value: this.tempo });
    this.send({ type: 'loop', on: this.loop });
    this.send({ type: 'processed', on: this.processed });
  }

  send(message) {
    if (this.node !== null) this.node.port.postMessage(message);
  }
}
