// The page's own WAV and AIFF reader, fuzzed with fast-check properties:
// files built from any format fields, chunk orders, sizes that lie and
// bytes after the data, and any bytes behind a WAV or AIFF magic. Every file
// either becomes a sound the page can play (a rate its audio contexts take,
// two equally long channels, PCM within -1..1, no frame more than the data
// holds) or ends in the page's message naming the file; nothing else
// escapes, and nothing hangs.
//
// A regular test runs a few hundred cases; the fuzz stage runs it for a
// bounded time (SLICECAST_FUZZ_SECONDS) and prints the seed and path of a
// failing case, which fc.assert replays given { seed, path }.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { Worker } from 'node:worker_threads';
import fc from 'fast-check';

import { decodeSoundFile } from '../../web/files/sound_file.js';

const kLowestRate = 3000;
const kHighestRate = 768000;
const kPcm = 1;
const kFloat = 3;
const kExtensible = 0xfffe;
const fuzzSeconds = Number(process.env.SLICECAST_FUZZ_SECONDS ?? 0);
const runs = fuzzSeconds > 0 ? { numRuns: 1e9, interruptAfterTimeLimit: fuzzSeconds * 1000 } : { numRuns: 300 };

// The browser's decoder, as it answers a file it cannot read: the page must
// still end in its message.
globalThis.OfflineAudioContext = class {
  decodeAudioData() {
    return Promise.reject(new DOMException('Unable to decode audio data', 'EncodingError'));
  }
};

const word = (text) => [...text].map((c) => c.charCodeAt(0));
const u16 = (value, little) => (little ? [value & 0xff, value >> 8] : [value >> 8, value & 0xff]);
const u32 = (value, little) => {
  const bytes = [value >>> 24, (value >>> 16) & 0xff, (value >>> 8) & 0xff, value & 0xff];
  return little ? bytes.reverse() : bytes;
};

// A chunk: its id, the size it claims (the true one, or any) and its body,
// padded to an even length unless the file ends there.
function chunk(id, body, little, claimed = body.length) {
  return [...word(id), ...u32(claimed >>> 0, little), ...body, ...(body.length % 2 ? [0] : [])];
}

// 80-bit extended float of a whole number (AIFF's sample rate).
function extended(rate) {
  if (rate === 0) return new Array(10).fill(0);
  const exponent = Math.floor(Math.log2(rate));
  const mantissa = BigInt(rate) << BigInt(63 - exponent);
  const bytes = u16(16383 + exponent, false);
  for (let shift = 56n; shift >= 0n; shift -= 8n) bytes.push(Number((mantissa >> shift) & 0xffn));
  return bytes;
}

const rates = fc.oneof(fc.constantFrom(0, 1, 2999, 3000, 44100, 48000, 768000, 768001), fc.nat({ max: 0xffffffff }));
const bits = fc.oneof(fc.constantFrom(8, 16, 24, 32, 64), fc.nat({ max: 0xffff }));
const channelCounts = fc.oneof(fc.constantFrom(0, 1, 2, 3), fc.nat({ max: 0xffff }));
const lies = fc.oneof(fc.constant(null), fc.nat({ max: 0xffffffff }), fc.nat({ max: 64 }));
const extra = fc.uint8Array({ maxLength: 24 }).map((body) => ({ id: 'LIST', body: [...body] }));

const wavFile = fc
  .record({
    code: fc.oneof(fc.constantFrom(kPcm, kFloat, kExtensible), fc.nat({ max: 0xffff })),
    subCode: fc.constantFrom(kPcm, kFloat, 7),
    channels: channelCounts,
    rate: rates,
    bits,
    fmtLie: lies,
    data: fc.uint8Array({ maxLength: 96 }),
    dataLie: lies,
    dataFirst: fc.boolean(),
    before: fc.array(extra, { maxLength: 2 }),
    after: fc.array(extra, { maxLength: 2 }),
    cut: fc.nat({ max: 200 }),
  })
  .map((f) => {
    const fmtBody = [...u16(f.code, true), ...u16(f.channels, true), ...u32(f.rate, true), ...u32(0, true),
      ...u16(0, true), ...u16(f.bits, true)];
    if (f.code === kExtensible) {
      fmtBody.push(...u16(22, true), ...u16(f.bits, true), ...u32(3, true), ...u16(f.subCode, true));
      fmtBody.push(...new Array(14).fill(0));
    }
    const fmt = chunk('fmt ', fmtBody, true, f.fmtLie ?? fmtBody.length);
    const data = chunk('data', [...f.data], true, f.dataLie ?? f.data.length);
    const extras = (list) => list.flatMap((c) => chunk(c.id, c.body, true));
    const chunks = [...extras(f.before), ...(f.dataFirst ? [...data, ...fmt] : [...fmt, ...data]), ...extras(f.after)];
    const bytes = [...word('RIFF'), ...u32(4 + chunks.length, true), ...word('WAVE'), ...chunks];
    const kept = bytes.slice(0, bytes.length - (f.cut % 8 === 0 ? f.cut % 50 : 0));
    const samplesAt = 12 + extras(f.before).length + (f.dataFirst ? 0 : fmt.length) + 8;
    const claimed = f.dataLie ?? f.data.length;
    const most = f.fmtLie === null ? framesIn(claimed, kept.length - samplesAt, f) : Infinity;
    return { bytes: Uint8Array.from(kept), most };
  });

const aiffFile = fc
  .record({
    aifc: fc.boolean(),
    compression: fc.constantFrom('NONE', 'sowt', 'fl32'),
    channels: channelCounts,
    rate: rates,
    bits,
    commLie: lies,
    data: fc.uint8Array({ maxLength: 96 }),
    dataLie: lies,
    offset: fc.nat({ max: 4 }),
    dataFirst: fc.boolean(),
    after: fc.array(extra, { maxLength: 2 }),
  })
  .map((f) => {
    const commBody = [...u16(f.channels, false), ...u32(f.data.length, false), ...u16(f.bits, false),
      ...extended(f.rate)];
    if (f.aifc) commBody.push(...word(f.compression), 0);
    const comm = chunk('COMM', commBody, false, f.commLie ?? commBody.length);
    const ssndBody = [...u32(f.offset, false), ...u32(0, false), ...f.data];
    const ssnd = chunk('SSND', ssndBody, false, f.dataLie ?? ssndBody.length);
    const after = f.after.flatMap((c) => chunk(c.id, c.body, false));
    const chunks = [...(f.dataFirst ? [...ssnd, ...comm] : [...comm, ...ssnd]), ...after];
    const bytes = [...word('FORM'), ...u32(4 + chunks.length, false), ...word(f.aifc ? 'AIFC' : 'AIFF'), ...chunks];
    const samplesAt = 12 + (f.dataFirst ? 0 : comm.length) + 16 + f.offset;
    const claimed = (f.dataLie ?? ssndBody.length) - 8 - f.offset;
    const most = f.commLie === null ? framesIn(claimed, bytes.length - samplesAt, f) : Infinity;
    return { bytes: Uint8Array.from(bytes), most };
  });

// The whole frames a data chunk holds: the bytes it claims, as far as the
// file goes. Where another chunk's size lies the walk may go astray, and
// nothing is bounded.
const framesIn = (claimed, present, { bits, channels }) =>
  Math.floor(Math.max(0, Math.min(claimed, present)) / Math.max(1, Math.ceil(bits / 8) * channels));

const anyBytes = fc
  .tuple(fc.constantFrom('RIFF....WAVE', 'FORM....AIFF', 'FORM....AIFC', 'RIFF....WAVEfmt '),
    fc.uint8Array({ maxLength: 160 }))
  .map(([magic, rest]) => ({ bytes: Uint8Array.from([...word(magic), ...rest]), most: rest.length }));

// What the page does with a file: a sound it can play, or its message.
async function checkFile({ bytes, most }) {
  const name = 'fuzzed.wav';
  let sound;
  try {
    sound = await decodeSoundFile(new File([bytes], name));
  } catch (error) {
    assert.ok(error instanceof Error, `not the page's message: ${error}`);
    assert.ok(error.message.startsWith(name), `a message that does not name the file: ${error.message}`);
    return;
  }
  assert.ok(Number.isInteger(sound.sampleRate), `rate ${sound.sampleRate}`);
  assert.ok(sound.sampleRate >= kLowestRate && sound.sampleRate <= kHighestRate, `rate ${sound.sampleRate}`);
  assert.ok(sound.left instanceof Float32Array && sound.right instanceof Float32Array);
  assert.ok(sound.left.length > 0 && sound.left.length === sound.right.length);
  assert.ok(sound.left.length <= most, `${sound.left.length} frames where the data holds ${most}`);
}

test('every WAV file the reader is given becomes a playable sound or the page\'s message', async () => {
  await fc.assert(fc.asyncProperty(wavFile, checkFile), runs);
});

test('every AIFF file the reader is given becomes a playable sound or the page\'s message', async () => {
  await fc.assert(fc.asyncProperty(aiffFile, checkFile), runs);
});

test('any bytes behind a WAV or AIFF magic become a playable sound or the page\'s message', async () => {
  await fc.assert(fc.asyncProperty(anyBytes, checkFile), runs);
});

// Files the properties found, kept as they were found: a WAV whose format
// has no channels (its frames were counted as data ÷ 0, and read forever),
// and rates no audio context takes (the page failed only when it played).
const found = [
  { name: 'no channels', bytes: [82, 73, 70, 70, 38, 0, 0, 0, 87, 65, 86, 69, 102, 109, 116, 32, 16, 0, 0, 0, 1, 0,
    0, 0, 68, 172, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 100, 97, 116, 97, 2, 0, 0, 0, 1, 2] },
  { name: 'WAV at 0 Hz', bytes: [82, 73, 70, 70, 38, 0, 0, 0, 87, 65, 86, 69, 102, 109, 116, 32, 16, 0, 0, 0, 1, 0,
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 100, 97, 116, 97, 1, 0, 0, 0, 0, 0] },
  { name: 'AIFF at 0 Hz', bytes: [70, 79, 82, 77, 0, 0, 0, 54, 65, 73, 70, 70, 67, 79, 77, 77, 0, 0, 0, 18, 0, 2,
    0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 83, 83, 78, 68, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 76, 73, 83,
    84, 0, 0, 0, 0] },
];

// What the page makes of a file, or 'hangs' when it is still reading after
// a few seconds.
function decodedInWorker(bytes, name) {
  return new Promise((resolve, reject) => {
    const script = new URL('./support/decode_in_worker.mjs', import.meta.url);
    const worker = new Worker(script, { workerData: { bytes, name } });
    const timer = setTimeout(() => worker.terminate().then(() => resolve('hangs')), 5000);
    worker.once('message', (answer) => {
      clearTimeout(timer);
      worker.terminate().then(() => resolve(answer));
    });
    worker.once('error', reject);
  });
}

test('the files the fuzzing found end in the page\'s message', async () => {
  for (const { name, bytes } of found) {
    const answer = await decodedInWorker(Uint8Array.from(bytes), 'found.wav');
    assert.match(answer.message ?? String(answer), /^found\.wav /, name);
  }
});

test('an AIFF file\'s samples start at the offset its SSND chunk gives', async () => {
  // Mono, 16 bits, 8000 Hz: two bytes of padding, then one sample of 0.5.
  const comm = chunk('COMM', [...u16(1, false), ...u32(1, false), ...u16(16, false), ...extended(8000)], false);
  const ssnd = chunk('SSND', [...u32(2, false), ...u32(0, false), 0xaa, 0xbb, 0x40, 0x00], false);
  const bytes = [...word('FORM'), ...u32(4 + comm.length + ssnd.length, false), ...word('AIFF'), ...comm, ...ssnd];
  const sound = await decodeSoundFile(new File([Uint8Array.from(bytes)], 'offset.aiff'));
  assert.equal(sound.sampleRate, 8000);
  assert.deepEqual([...sound.left], [0.5]);
});
