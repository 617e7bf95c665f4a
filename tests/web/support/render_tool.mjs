// The render tool, playing a file through the build's LV2 edition as the
// page's offline render should: 128-frame blocks from position 0.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { readWav } from './wav.mjs';

const tool = process.env.SLICECAST_TOOL ?? 'build/tools/slicecast';
const bundle = process.env.SLICECAST_LV2 ?? 'build/lv2/slicecast.lv2';
const clap = process.env.SLICECAST_CLAP ?? 'build/editions/clap/slicecast.clap';

// options: { tempo, preset: 'Name', set: { Name: value }, automate: { Name:
// 'POS:VALUE,...' } }; answers the output's channels.
export function renderWithTool(input, output, { tempo, preset, set = {}, automate = {} }) {
  const args = ['render', input, output, '--quiet', '--plugin', bundle, '--block', '128', '--tempo', String(tempo)];
  if (preset !== undefined) args.push('--preset', preset);
  for (const [name, value] of Object.entries(set)) args.push('--set', `${name}=${value}`);
  for (const [name, points] of Object.entries(automate)) args.push('--automate', `${name}=${points}`);
  execFileSync(tool, args);
  return readWav(fs.readFileSync(output)).channels;
}

// input's samples written to output in the container its extension names,
// with the given sample format (pcm16, ...), as libsndfile writes them: the
// edition passes them on untouched at Mix 0. Answers output.
export function encodeWithTool(input, output, format) {
  execFileSync(tool, ['render', input, output, '--quiet', '--plugin', bundle, '--format', format, '--set', 'Mix=0']);
  return output;
}

// The demo's dry drum loop, as `slicecast demo` writes it into folder.
export function demoDryLoop(folder) {
  execFileSync(tool, ['demo', '--quiet', '--out', folder]);
  return path.join(folder, 'dry.wav');
}

// The factory presets' names in the plug-in's order, as `slicecast info`
// lists the CLAP edition's.
export function presetNamesOfTool() {
  const info = execFileSync(tool, ['info', '--plugin', clap], { encoding: 'utf8' });
  const listed = info.slice(info.indexOf('Presets:')).split('\n').slice(1).filter((line) => line.trim() !== '');
  return listed.map((line) => line.slice(6, line.indexOf(': ')));
}
