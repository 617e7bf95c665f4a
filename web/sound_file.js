// A sound the page plays: a file the browser decodes, at the file's own
// sample rate where its header tells it, or the render tool's demo loop.
import { fileSampleRate } from './file_sample_rate.js';

// What the page decodes at when a file's header tells no rate it knows.
const kFallbackRate = 48000;

// { name, sampleRate, left, right, note }: mono plays to both inputs. A file
// that cannot be decoded, or has more than two channels, is an Error whose
// message says so.
export async function decodeSoundFile(file) {
  const bytes = await file.arrayBuffer();
  const ownRate = fileSampleRate(new Uint8Array(bytes));
  const usable = ownRate !== null && ownRate >= 3000 && ownRate <= 768000;
  const context = new OfflineAudioContext(1, 1, usable ? ownRate : kFallbackRate);
  let buffer;
  try {
    buffer = await context.decodeAudioData(bytes);
  } catch {
    throw new Error(`${file.name} cannot be decoded: this browser does not read it as sound.`);
  }
  if (buffer.numberOfChannels > 2) {
    throw new Error(`${file.name} has ${buffer.numberOfChannels} channels; Slicecast takes mono or stereo files.`);
  }
  if (buffer.length === 0) throw new Error(`${file.name} holds no sound.`);
  const left = buffer.getChannelData(0);
  return {
    name: file.name,
    sampleRate: buffer.sampleRate,
    left,
    right: buffer.numberOfChannels === 2 ? buffer.getChannelData(1) : left,
    note: usable ? '' : `Its sample rate is not in a header this page reads: decoded at ${buffer.sampleRate} Hz.`,
  };
}

// The drum loop `slicecast demo` renders, at its own 120 BPM.
export function demoSound(slicecast) {
  const loop = slicecast.demoLoop();
  return { name: 'drum loop', sampleRate: loop.sampleRate, left: loop.left, right: loop.right, tempo: loop.tempo, note: '' };
}
