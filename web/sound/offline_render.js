// The offline render: a whole file through the sound in blocks of 128
// frames from position 0, at the file's own sample rate, with one tempo and
// the parameters set before the first block. The render tool does the same
// with `slicecast render --block 128 --tempo T --set ...`, and the result is
// the same to the bit. The picture and the download both come from here.

export const kBlockFrames = 128;

// source: { left, right (Float32Array, equally long), sampleRate };
// settings: { tempo, values (six plain values, in parameter order) }.
// caption: null, or the picture's { title, details }. Answers the processed
// channels and, with a caption, the picture (as engine.drawPicture gives
// it).
export function renderOffline(slicecast, source, settings, caption) {
  const engine = slicecast.createEngine(source.sampleRate, kBlockFrames);
  try {
    settings.values.forEach((value, index) => engine.setParameter(index, value));
    engine.setTempo(settings.tempo);
    engine.locate(0);
    if (caption) engine.keepPicture();
    const frames = source.left.length;
    const left = new Float32Array(frames);
    const right = new Float32Array(frames);
    for (let start = 0; start < frames; start += kBlockFrames) {
      const length = Math.min(kBlockFrames, frames - start);
      const io = engine.io;
      io.inLeft.set(source.left.subarray(start, start + length));
      io.inRight.set(source.right.subarray(start, start + length));
      engine.process(length);
      const out = engine.io;
      left.set(out.outLeft.subarray(0, length), start);
      right.set(out.outRight.subarray(0, length), start);
    }
    return { left, right, picture: caption ? engine.drawPicture(caption.title, caption.details) : null };
  } finally {
    engine.free();
  }
}
