// The download's file: 32-bit float WAV (WAVE_FORMAT_IEEE_FLOAT, with the
// fact chunk that format asks for), stereo, little-endian, as the render
// tool writes a .wav.

const kFloatFormat = 3;

// A Blob of the two channels (Float32Array, equally long).
export function floatWav(left, right, sampleRate) {
  const channels = 2;
  const frames = left.length;
  const dataBytes = frames * channels * 4;
  const header = new DataView(new ArrayBuffer(58));
  const tag = (offset, text) => {
    for (let i = 0; i < 4; ++i) header.setUint8(offset + i, text.charCodeAt(i));
  };
  tag(0, 'RIFF');
  header.setUint32(4, 50 + dataBytes, true);
  tag(8, 'WAVE');
  tag(12, 'fmt ');
  header.setUint32(16, 18, true);
  header.setUint16(20, kFloatFormat, true);
  header.setUint16(22, channels, true);
  header.setUint32(24, sampleRate, true);
  header.setUint32(28, sampleRate * channels * 4, true);
  header.setUint16(32, channels * 4, true);
  header.setUint16(34, 32, true);
  header.setUint16(36, 0, true);
  tag(38, 'fact');
  header.setUint32(42, 4, true);
  header.setUint32(46, frames, true);
  tag(50, 'data');
  header.setUint32(54, dataBytes, true);
  const samples = new DataView(new ArrayBuffer(dataBytes));
  for (let frame = 0; frame < frames; ++frame) {
    samples.setFloat32(frame * 8, left[frame], true);
    samples.setFloat32(frame * 8 + 4, right[frame], true);
  }
  return new Blob([header, samples], { type: 'audio/wav' });
}
