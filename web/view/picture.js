// The picture of a render as the render tool draws it (`slicecast render
// --plot`): for each channel the dry sound above the processed one, dark
// lines where update periods begin and light ones where repeats of the
// slice begin, a time axis numbered in bars (bar 1 at position 0) with a
// tick on every beat, and the caption. Same size, places and colours as the
// tool's (tools/slicecast/picture/plot_layout.h); a second canvas above it
// carries the play position.

const kWidth = 1600;
const kHeight = 900;
const kLeft = 110;
const kRight = kWidth - 20;
const kTop = 80;
const kBottom = kHeight - 50;
const kPanelGap = 12;
const kLabelSpacing = 60;
const kTickSpacing = 4;
const kColumns = kRight - kLeft;

const colours = {
  background: 'rgb(255,255,255)',
  panelFrame: 'rgb(200,200,200)',
  text: 'rgb(30,30,30)',
  dryWave: 'rgb(110,110,110)',
  processedWave: 'rgb(25,95,190)',
  periodLine: 'rgb(210,60,20)',
  passLine: 'rgb(245,200,170)',
  cursor: 'rgb(0,150,60)',
};

const columnOf = (frame, frames) => kLeft + Math.floor((frame * kColumns) / (frames > 0 ? frames : 1));

function panelRows(panel, panels) {
  const height = Math.floor((kBottom - kTop - (panels - 1) * kPanelGap) / panels);
  const top = kTop + panel * (height + kPanelGap);
  return { top, bottom: top + height - 1 };
}

// The smallest and largest sample drawn in each column.
function columnRanges(samples) {
  const lowest = new Float32Array(kColumns).fill(Infinity);
  const highest = new Float32Array(kColumns).fill(-Infinity);
  const frames = samples.length;
  for (let i = 0; i < frames; ++i) {
    const column = Math.floor((i * kColumns) / frames);
    const sample = samples[i];
    if (sample < lowest[column]) lowest[column] = sample;
    if (sample > highest[column]) highest[column] = sample;
  }
  return { lowest, highest };
}

function column(context, x, top, bottom) {
  context.fillRect(x, top, 1, bottom - top + 1);
}

function drawWave(context, samples, rows, colour) {
  const middle = (rows.top + rows.bottom) / 2;
  const half = (rows.bottom - rows.top) / 2;
  const rowOf = (sample) => Math.floor(middle - Math.min(1, Math.max(-1, sample)) * half + 0.5);
  const { lowest, highest } = columnRanges(samples);
  context.fillStyle = colour;
  for (let x = 0; x < kColumns; ++x) {
    if (lowest[x] > highest[x]) continue;
    column(context, kLeft + x, rowOf(highest[x]), rowOf(lowest[x]));
  }
}

function drawLines(context, frames, total, panels, colour) {
  context.fillStyle = colour;
  for (const frame of frames) {
    for (let panel = 0; panel < panels; ++panel) {
      const rows = panelRows(panel, panels);
      column(context, columnOf(frame, total), rows.top, rows.bottom);
    }
  }
}

function drawPanelFrame(context, rows, side, name) {
  context.fillStyle = colours.panelFrame;
  context.fillRect(kLeft - 1, rows.top - 1, kColumns + 2, 1);
  context.fillRect(kLeft - 1, rows.bottom + 1, kColumns + 2, 1);
  context.fillRect(kLeft - 1, rows.top - 1, 1, rows.bottom - rows.top + 3);
  context.fillRect(kRight, rows.top - 1, 1, rows.bottom - rows.top + 3);
  context.fillStyle = colours.text;
  context.font = '14px sans-serif';
  const middle = (rows.top + rows.bottom) / 2;
  if (side) context.fillText(side, 10, middle - 4);
  context.fillText(name, 10, middle + (side ? 14 : 5));
}

// Beat ticks under the panels, and bar numbers as densely as they stay
// readable.
function drawAxis(context, beats, total) {
  const bars = beats.filter((mark) => mark.beat % 4 === 0).length;
  let barsPerLabel = 1;
  while (Math.floor(bars / barsPerLabel) * kLabelSpacing > kColumns) barsPerLabel *= 2;
  const showBeats = beats.length * kTickSpacing <= kColumns;
  context.fillStyle = colours.text;
  context.font = '14px sans-serif';
  for (const mark of beats) {
    const x = columnOf(mark.frame, total);
    const bar = mark.beat % 4 === 0;
    if (bar) column(context, x, kBottom + 2, kBottom + 12);
    else if (showBeats) column(context, x, kBottom + 2, kBottom + 6);
    const barIndex = Math.floor(mark.beat / 4);
    if (bar && barIndex % barsPerLabel === 0) context.fillText(String(barIndex + 1), x + 3, kBottom + 26);
  }
  context.fillText('bar', 10, kBottom + 26);
}

// dry and processed: { left, right }; marks as the offline render gives
// them; title and details: the caption's two lines.
export function drawPicture(canvas, { dry, processed, marks, title, details }) {
  const context = canvas.getContext('2d');
  context.fillStyle = colours.background;
  context.fillRect(0, 0, kWidth, kHeight);
  context.fillStyle = colours.text;
  context.font = '18px sans-serif';
  context.fillText(title, 10, 30);
  context.font = '14px sans-serif';
  context.fillText(details, 10, 58);
  const total = dry.left.length;
  const channels = [
    ['left', dry.left, processed.left],
    ['right', dry.right, processed.right],
  ];
  const panels = 2 * channels.length;
  channels.forEach(([side], channel) => {
    drawPanelFrame(context, panelRows(2 * channel, panels), side, 'dry');
    drawPanelFrame(context, panelRows(2 * channel + 1, panels), side, 'processed');
  });
  // Lines first, lighter before darker, so that waveforms stay on top.
  drawLines(context, marks.passStarts, total, panels, colours.passLine);
  drawLines(context, marks.periodStarts, total, panels, colours.periodLine);
  channels.forEach(([, drySamples, processedSamples], channel) => {
    drawWave(context, drySamples, panelRows(2 * channel, panels), colours.dryWave);
    drawWave(context, processedSamples, panelRows(2 * channel + 1, panels), colours.processedWave);
  });
  drawAxis(context, marks.beats, total);
}

// The play position over the picture (none when frame is null).
export function drawPlayPosition(canvas, frame, total) {
  const context = canvas.getContext('2d');
  context.clearRect(0, 0, kWidth, kHeight);
  if (frame === null) return;
  context.fillStyle = colours.cursor;
  column(context, columnOf(frame, total), kTop, kBottom);
}

export const pictureSize = { width: kWidth, height: kHeight };
