// WAV and AIFF files read by the page itself, as the render tool's
// libsndfile reads them: PCM as integer ÷ 2^(bits-1) (8-bit WAV unsigned,
// less 128 first), 32-bit float as it is, 64-bit float rounded to single.
// Browsers' own decoders scale PCM differently (positive samples ÷ 32767
// in Chromium), which would change the sound's input; the page decodes
// other formats with the browser's decoder.

const ascii = (bytes, offset) => String.fromCharCode(...bytes.subarray(offset, offset + 4));

// { sampleRate, channels: [Float32Array, ...] } for a WAV or AIFF file of a
// kind listed above; null for anything else, a damaged file included (whose
// header points past its end), which the browser's decoder is then asked
// to read.
export function readPcmFile(bytes) {
  try {
    return readHeaders(bytes);
  } catch (error) {
    if (error instanceof RangeError) return null;
    throw error;
  }
}

function readHeaders(bytes) {
  if (bytes.length < 12) return null;
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const form = ascii(bytes, 8);
  if (ascii(bytes, 0) === 'RIFF' && form === 'WAVE') return readChunks(bytes, view, true, wavFormat, 'data', () => 0);
  if (ascii(bytes, 0) === 'FORM' && (form === 'AIFF' || form === 'AIFC')) {
    // SSND: its offset and block size, then the samples from that offset on.
    return readChunks(bytes, view, false, aiffFormat, 'SSND', (body) => 8 + view.getUint32(body));
  }
  return null;
}

// The data chunk's samples start samplesAt(body) bytes into its body.
function readChunks(bytes, view, littleEndian, readFormat, dataId, samplesAt) {
  let format = null;
  for (let offset = 12; offset + 8 <= bytes.length; ) {
    const id = ascii(bytes, offset);
    const size = view.getUint32(offset + 4, littleEndian);
    const body = offset + 8;
    if (id === 'fmt ' || id === 'COMM') format = readFormat(view, body, size);
    if (id === dataId) {
      // A format without channels holds no frames: nothing to read them by.
      if (format === null || format.read === null || format.channels === 0) return null;
      const skip = samplesAt(body);
      const start = body + skip;
      const channels = samples(view, start, Math.min(size - skip, bytes.length - start), format);
      return { sampleRate: format.sampleRate, channels };
    }
    offset = body + size + (size % 2);
  }
  return null;
}

const kPcm = 1;
const kFloat = 3;
const kExtensible = 0xfffe;

function wavFormat(view, body) {
  let code = view.getUint16(body, true);
  const bits = view.getUint16(body + 14, true);
  if (code === kExtensible) code = view.getUint16(body + 24, true);
  const channels = view.getUint16(body + 2, true);
  const sampleRate = view.getUint32(body + 4, true);
  return { channels, sampleRate, bytes: bits / 8, read: sampleReader(code, bits, true) };
}

function aiffFormat(view, body, size) {
  const channels = view.getUint16(body);
  const bits = view.getUint16(body + 6);
  const exponent = (view.getUint16(body + 8) & 0x7fff) - 16383;
  const mantissa = view.getUint32(body + 10) * 2 ** 32 + view.getUint32(body + 14);
  const sampleRate = Math.round(mantissa * 2 ** (exponent - 63));
  // AIFC names its encoding; only uncompressed big-endian PCM is read here.
  const compression = size >= 22 ? String.fromCharCode(...new Uint8Array(view.buffer, view.byteOffset + body + 18, 4)) : 'NONE';
  const read = compression === 'NONE' ? sampleReader(kPcm, bits, false, true) : null;
  return { channels, sampleRate, bytes: Math.ceil(bits / 8), read };
}

function sampleReader(code, bits, littleEndian, signedBytes = false) {
  if (code === kFloat && bits === 32) return (view, at) => view.getFloat32(at, littleEndian);
  if (code === kFloat && bits === 64) return (view, at) => Math.fround(view.getFloat64(at, littleEndian));
  if (code !== kPcm) return null;
  switch (bits) {
    case 8:
      return signedBytes ? (view, at) => view.getInt8(at) / 128 : (view, at) => (view.getUint8(at) - 128) / 128;
    case 16:
      return (view, at) => view.getInt16(at, littleEndian) / 32768;
    case 24:
      return littleEndian
        ? (view, at) => (view.getUint8(at) | (view.getUint8(at + 1) << 8) | (view.getInt8(at + 2) << 16)) / 8388608
        : (view, at) => ((view.getInt8(at) << 16) | (view.getUint8(at + 1) << 8) | view.getUint8(at + 2)) / 8388608;
    case 32:
      // Rounded to single precision first, then scaled, as libsndfile does.
      return (view, at) => Math.fround(view.getInt32(at, littleEndian)) / 2147483648;
    default:
      return null;
  }
}

function samples(view, start, size, format) {
  const frames = Math.floor(size / (format.bytes * format.channels));
  const channels = Array.from({ length: format.channels }, () => new Float32Array(frames));
  for (let frame = 0, at = start; frame < frames; ++frame) {
    for (let channel = 0; channel < format.channels; ++channel, at += format.bytes) {
      channels[channel][frame] = format.read(view, at);
    }
  }
  return channels;
}
