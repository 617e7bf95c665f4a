// A sound the page plays: a WAV or AIFF file read as the render tool reads
// it, any other file the browser decodes (at the file's own sample rate
// where its header tells it), or the render tool's demo loop.
import { fileSampleRate, flacSampleBits } from './file_header.js';
import { readPcmFile } from './pcm_file.js';

// What the page decodes at when a file's header tells no rate it knows.
const kFallbackRate = 48000;
// The rates browsers' audio contexts take.
const kLowestRate = 3000;
const kHighestRate = 768000;
const playableRate = (rate) => rate !== null && rate >= kLowestRate && rate <= kHighestRate;

// { name, sampleRate, left, right, note }: mono plays to both inputs. A file
// that cannot be decoded, is empty or has more than two channels, is an
// Error whose message says so.
export async function decodeSoundFile(file) {
  const bytes = await file.arrayBuffer();
  const pcm = readPcmFile(new Uint8Array(bytes));
  if (pcm !== null && !playableRate(pcm.sampleRate)) {
    const playable = `${kLowestRate} to ${kHighestRate} Hz`;
    throw new Error(`${file.name} has a sample rate of ${pcm.sampleRate} Hz; this page plays ${playable}.`);
  }
  const decoded = pcm ?? (await decodeWithBrowser(file, bytes));
  const channels = decoded.channels;
  if (channels.length > 2) {
    throw new Error(`${file.name} has ${channels.length} channels; Slicecast takes mono or stereo files.`);
  }
  if (channels.length === 0 || channels[0].length === 0) throw new Error(`${file.name} holds no sound.`);
  return {
    name: file.name,
    sampleRate: decoded.sampleRate,
    left: channels[0],
    right: channels[channels.length - 1],
    note: decoded.note ?? '',
  };
}

async function decodeWithBrowser(file, bytes) {
  // Read before decoding, which hands the bytes over to the decoder.
  const ownRate = fileSampleRate(new Uint8Array(bytes));
  const flacBits = flacSampleBits(new Uint8Array(bytes));
  const usable = playableRate(ownRate);
  const context = new OfflineAudioContext(1, 1, usable ? ownRate : kFallbackRate);
  let buffer;
  try {
    buffer = await context.decodeAudioData(bytes);
  } catch {
    throw new Error(`${file.name} cannot be decoded: this browser does not read it as sound.`);
  }
  const channels = Array.from({ length: buffer.numberOfChannels }, (_, index) => buffer.getChannelData(index));
  if (flacBits === 16) channels.forEach(asLibsndfileReads16Bits);
  const note = usable ? '' : `Its sample rate is not in a header this page reads: decoded at ${buffer.sampleRate} Hz.`;
  return { sampleRate: buffer.sampleRate, channels, note };
}

// Chromium scales a 16-bit FLAC's positive samples by 1/32767, its negative
// ones by 1/32768; the render tool (libsndfile) takes both by 1/32768. The
// integer sample comes back exactly from the float, so the page scales it
// as the render tool does.
function asLibsndfileReads16Bits(channel) {
  for (let i = 0; i < channel.length; ++i) {
    if (channel[i] > 0) channel[i] = Math.round(channel[i] * 32767) / 32768;
  }
}

// The drum loop `slicecast demo` renders, at its own 120 BPM.
export function demoSound(slicecast) {
  const loop = slicecast.demoLoop();
  return { name: 'drum loop', sampleRate: loop.sampleRate, left: loop.left, right: loop.right, tempo: loop.tempo, note: '' };
}
