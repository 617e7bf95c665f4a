// What the page reads of a sound file's header before the browser decodes
// it. Browsers decode a file to the sample rate of the context that decodes
// it, so the page reads the file's own rate first and decodes at that rate:
// the sound then runs on the file's own samples, as the render tool's does.

const ascii = (bytes, offset, length) => String.fromCharCode(...bytes.subarray(offset, offset + length));

// The sample rate a file was made at; null for a header this does not know.
export function fileSampleRate(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  if (bytes.length < 12) return null;
  const magic = ascii(bytes, 0, 4);
  if ((magic === 'RIFF' || magic === 'RF64' || magic === 'BW64') && ascii(bytes, 8, 4) === 'WAVE') {
    return chunkValue(bytes, 12, 'fmt ', (body) => view.getUint32(body + 4, true), true);
  }
  if (magic === 'FORM' && ['AIFF', 'AIFC'].includes(ascii(bytes, 8, 4))) {
    return chunkValue(bytes, 12, 'COMM', (body) => extended(view, body + 8), false);
  }
  if (magic === 'fLaC' && bytes.length >= 21) {
    // STREAMINFO, always the first block: 20 bits from its 11th byte.
    return (bytes[18] << 12) | (bytes[19] << 4) | (bytes[20] >> 4);
  }
  if (magic === 'OggS') return oggSampleRate(bytes, view);
  return null;
}

// The bits per sample of a FLAC file (its STREAMINFO: 5 bits, less one,
// from the end of its 13th byte); null for any other file.
export function flacSampleBits(bytes) {
  if (bytes.length < 22 || ascii(bytes, 0, 4) !== 'fLaC') return null;
  return (((bytes[20] & 0x01) << 4) | (bytes[21] >> 4)) + 1;
}

// The value read from the body of the first chunk named id, chunks starting
// at offset; little-endian sizes for RIFF, big-endian for AIFF.
function chunkValue(bytes, offset, id, read, littleEndian) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  while (offset + 8 <= bytes.length) {
    const size = view.getUint32(offset + 4, littleEndian);
    if (ascii(bytes, offset, 4) === id) return offset + 8 + 18 <= bytes.length ? read(offset + 8) : null;
    offset += 8 + size + (size % 2);
  }
  return null;
}

// AIFF's 80-bit extended float: sign and exponent, then a 64-bit mantissa
// with its integer bit.
function extended(view, offset) {
  const exponent = (view.getUint16(offset) & 0x7fff) - 16383;
  const mantissa = view.getUint32(offset + 2) * 2 ** 32 + view.getUint32(offset + 6);
  return Math.round(mantissa * 2 ** (exponent - 63));
}

// The first page's packet: a Vorbis identification header (its rate at
// byte 12), or an Opus head, which decoders always render at 48 kHz.
function oggSampleRate(bytes, view) {
  if (bytes.length < 28) return null;
  const segments = bytes[26];
  const packet = 27 + segments;
  if (packet + 16 > bytes.length) return null;
  if (bytes[packet] === 1 && ascii(bytes, packet + 1, 6) === 'vorbis') return view.getUint32(packet + 12, true);
  if (ascii(bytes, packet, 8) === 'OpusHead') return 48000;
  return null;
}
