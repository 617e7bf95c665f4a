// Generated test sounds and bit-for-bit comparison of sample arrays.

// A seeded sequence in -1..1 (the same on every machine).
function noise(seed) {
  let state = seed >>> 0;
  return () => {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    return state / 2 ** 31 - 1;
  };
}

// channels of frames frames: a tone under noise, different per channel,
// nonzero from the first frame on, every value a normal float (no
// subnormals, where WebAssembly and the plug-in may differ) or with
// pcm16 a multiple of 1/32768 as a 16-bit file holds it.
export function testSignal(frames, channels, { seed = 1, pcm16 = false } = {}) {
  const next = noise(seed);
  return Array.from({ length: channels }, (_, channel) => {
    const samples = new Float32Array(frames);
    for (let i = 0; i < frames; ++i) {
      const value = 0.45 * Math.sin((i * (0.013 + 0.004 * channel))) + 0.3 * next() + 0.05;
      samples[i] = pcm16 ? Math.round(value * 32768) / 32768 : value;
    }
    return samples;
  });
}

// The first index whose bits differ (-1 when none), or the shorter length
// when only the lengths differ.
export function firstDifference(a, b) {
  const bitsA = new Uint32Array(a.buffer, a.byteOffset, a.length);
  const bitsB = new Uint32Array(b.buffer, b.byteOffset, b.length);
  const length = Math.min(a.length, b.length);
  for (let i = 0; i < length; ++i) if (bitsA[i] !== bitsB[i]) return i;
  return a.length === b.length ? -1 : length;
}
