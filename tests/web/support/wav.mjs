// WAV files for the page's tests, read and written here rather than by the
// page's own code: the inputs the tests generate, and what `slicecast
// render` and the page's Download write. PCM (8 to 32 bits) and 32-bit
// float, plain or WAVE_FORMAT_EXTENSIBLE.

const kPcm = 1;
const kFloat = 3;
const kExtensible = 0xfffe;

// { sampleRate, channels: [Float32Array, ...], format, bits }.
export function readWav(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const tag = (offset) => String.fromCharCode(...bytes.subarray(offset, offset + 4));
  if (tag(0) !== 'RIFF' || tag(8) !== 'WAVE') throw new Error('not a RIFF WAVE file');
  let format = null;
  for (let offset = 12; offset + 8 <= bytes.length; ) {
    const id = tag(offset);
    const size = view.getUint32(offset + 4, true);
    const body = offset + 8;
    if (id === 'fmt ') {
      let code = view.getUint16(body, true);
      if (code === kExtensible) code = view.getUint16(body + 24, true);
      format = {
        code,
        channels: view.getUint16(body + 2, true),
        sampleRate: view.getUint32(body + 4, true),
        bits: view.getUint16(body + 14, true),
      };
    } else if (id === 'data') {
      if (format === null) throw new Error('data before fmt');
      return { sampleRate: format.sampleRate, format: format.code, bits: format.bits, channels: samples(view, body, size, format) };
    }
    offset = body + size + (size % 2);
  }
  throw new Error('no data chunk');
}

function samples(view, start, size, format) {
  const width = format.bits / 8;
  const frames = Math.floor(size / (width * format.channels));
  const channels = Array.from({ length: format.channels }, () => new Float32Array(frames));
  const read = sampleReader(view, format);
  for (let frame = 0; frame < frames; ++frame) {
    for (let c = 0; c < format.channels; ++c) channels[c][frame] = read(start + (frame * format.channels + c) * width);
  }
  return channels;
}

function sampleReader(view, format) {
  if (format.code === kFloat && format.bits === 32) return (at) => view.getFloat32(at, true);
  if (format.code !== kPcm) throw new Error(`unsupported WAV format ${format.code}`);
  switch (format.bits) {
    case 16: return (at) => view.getInt16(at, true) / 32768;
    case 24: return (at) => ((view.getUint8(at) | (view.getUint8(at + 1) << 8) | (view.getInt8(at + 2) << 16)) / 8388608);
    case 32: return (at) => view.getInt32(at, true) / 2147483648;
    default: throw new Error(`unsupported PCM width ${format.bits}`);
  }
}

// A WAV file of channels (Float32Array each) as 32-bit float, or as 16-bit
// PCM with { bits: 16 } (values rounded from the floats, which should then
// be multiples of 1/32768).
export function writeWav(channels, sampleRate, { bits = 32 } = {}) {
  const frames = channels[0].length;
  const width = bits / 8;
  const dataBytes = frames * channels.length * width;
  const bytes = new Uint8Array(44 + dataBytes);
  const view = new DataView(bytes.buffer);
  const tag = (offset, text) => [...text].forEach((c, i) => view.setUint8(offset + i, c.charCodeAt(0)));
  tag(0, 'RIFF');
  view.setUint32(4, 36 + dataBytes, true);
  tag(8, 'WAVE');
  tag(12, 'fmt ');
  view.setUint32(16, 16, true);
  view.setUint16(20, bits === 32 ? kFloat : kPcm, true);
  view.setUint16(22, channels.length, true);
  view.setUint32(24, sampleRate, true);
  view.setUint32(28, sampleRate * channels.length * width, true);
  view.setUint16(32, channels.length * width, true);
  view.setUint16(34, bits, true);
  tag(36, 'data');
  view.setUint32(40, dataBytes, true);
  for (let frame = 0, at = 44; frame < frames; ++frame) {
    for (const channel of channels) {
      if (bits === 32) view.setFloat32(at, channel[frame], true);
      else view.setInt16(at, Math.round(channel[frame] * 32768), true);
      at += width;
    }
  }
  return bytes;
}
