// What the page plays, recorded in the page itself: a recording worklet of
// the test's own, fed by the page's Slicecast node, keeps every quantum it
// outputs with the context's frame count.

const kQuantum = 128;

// Runs before the page's scripts: keeps every AudioWorkletNode the page
// makes, so that the test can reach its Slicecast node.
export function recorderHook() {
  const Original = window.AudioWorkletNode;
  if (typeof Original !== 'function') return;
  window.slicecastTestNodes = [];
  window.AudioWorkletNode = class extends Original {
    constructor(...args) {
      super(...args);
      window.slicecastTestNodes.push(this);
    }
  };
}

const recorderSource = `
registerProcessor('slicecast-test-recorder', class extends AudioWorkletProcessor {
  constructor() {
    super();
    this.first = -1;
    this.left = [];
    this.right = [];
    this.port.onmessage = () => {
      const join = (chunks) => {
        const all = new Float32Array(chunks.length * ${kQuantum});
        chunks.forEach((chunk, i) => all.set(chunk, i * ${kQuantum}));
        return all;
      };
      this.port.postMessage({ first: this.first, left: join(this.left), right: join(this.right) });
    };
  }
  process(inputs) {
    const [left, right] = inputs[0];
    if (!left) return true;
    if (this.first < 0) this.first = currentFrame;
    this.left.push(left.slice());
    this.right.push((right ?? left).slice());
    return true;
  }
});`;

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The page's context frame now, in quanta.
const quantumNow = (page) =>
  page.evaluate(() => {
    const context = window.slicecastTestNodes.at(-1).context;
    return Math.floor((context.currentTime * context.sampleRate) / 128);
  });

// Plays the page's sound from its start with the recorder listening,
// calls change() about a second in, and stops a second later.
export async function recordPlayback(driver, change) {
  const { page } = driver;
  // The first Play makes the context and the Slicecast node.
  await driver.click('Play');
  await page.waitForFunction(() => (window.slicecastTestNodes ?? []).length > 0);
  await driver.click('Stop');
  await page.evaluate(async (source) => {
    const node = window.slicecastTestNodes.at(-1);
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    await node.context.audioWorklet.addModule(url);
    const recorder = new AudioWorkletNode(node.context, 'slicecast-test-recorder', {
      numberOfInputs: 1,
      numberOfOutputs: 0,
      channelCount: 2,
      channelCountMode: 'explicit',
    });
    node.connect(recorder);
    window.slicecastTestRecorder = recorder;
  }, recorderSource);
  await pause(200);
  await driver.click('Play');
  await pause(1000);
  const before = await quantumNow(page);
  await change();
  await pause(200);
  const after = await quantumNow(page);
  await pause(1000);
  const stop = await quantumNow(page);
  await driver.click('Stop');
  const recorded = await page.evaluate(() => new Promise((resolve) => {
    const recorder = window.slicecastTestRecorder;
    recorder.port.onmessage = ({ data }) => resolve({ first: data.first, left: Array.from(data.left), right: Array.from(data.right) });
    recorder.port.postMessage('dump');
  }));
  return new Recording(recorded, before, after, stop);
}

// Samples as the recorder hears them: the graph adds a node's input to
// silence, which makes -0 arrive as +0, so the two zeros count as one;
// every other value must be the same float.
const same = (a, b) => a === b || (Number.isNaN(a) && Number.isNaN(b));

class Recording {
  // before, after and stop: the context's quantum just before the change,
  // just after it, and before the page was told to stop.
  constructor({ first, left, right }, before, after, stop) {
    this.left = Float32Array.from(left);
    this.right = Float32Array.from(right);
    const firstQuantum = first / kQuantum;
    this.quantumBefore = before - firstQuantum;
    this.quantumAfter = after - firstQuantum;
    this.quantumStop = stop - firstQuantum;
  }

  // The quantum of the recording at which render's first 16 quanta begin,
  // or -1.
  startOf(render) {
    const length = 16 * kQuantum;
    const quanta = this.left.length / kQuantum;
    for (let quantum = 0; quantum < quanta; ++quantum) {
      const at = quantum * kQuantum;
      if (at + length > this.left.length) break;
      let matches = true;
      for (let i = 0; i < length && matches; ++i) {
        matches = same(this.left[at + i], render[0][i]) && same(this.right[at + i], render[1][i]);
      }
      if (matches) return quantum;
    }
    return -1;
  }

  // The first quantum from start on (counted from start) that differs from
  // render's, or -1.
  firstQuantumDiffering(start, render) {
    const frames = this.framesFrom(start);
    for (let i = 0; i < frames; ++i) {
      const at = start * kQuantum + i;
      if (!same(this.left[at], render[0][i]) || !same(this.right[at], render[1][i])) {
        return Math.floor(i / kQuantum);
      }
    }
    return -1;
  }

  // The first index at which channel (from channels()) and expected differ,
  // or -1.
  firstDifference(channel, expected) {
    for (let i = 0; i < channel.length; ++i) if (!same(channel[i], expected[i])) return i;
    return -1;
  }

  // The frames played from start on before the page was told to stop.
  framesFrom(start) {
    return Math.min(this.left.length / kQuantum, this.quantumStop) * kQuantum - start * kQuantum;
  }

  channels(start, frames) {
    const at = start * kQuantum;
    return [this.left.subarray(at, at + frames), this.right.subarray(at, at + frames)];
  }
}
