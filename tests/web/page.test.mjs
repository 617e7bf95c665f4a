// The web page in a real browser (Debian's Chromium, headless): it loads
// cleanly and draws its picture, its Download holds exactly what `slicecast
// render` writes through the LV2 edition in 128-frame blocks, a parameter
// changed while playing takes effect at the next render quantum, a preset
// chosen from its list sets the six controls and downloads as `slicecast
// render --preset`, and a file it cannot decode gives a message, not a
// broken page.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { launchChromium, serveSite } from './support/browser.mjs';
import { kParameterNames, PageDriver } from './support/page_driver.mjs';
import { demoDryLoop, encodeWithTool, presetNamesOfTool, renderWithTool } from './support/render_tool.mjs';
import { firstDifference, testSignal } from './support/signals.mjs';
import { readWav, writeWav } from './support/wav.mjs';
import { recordPlayback, recorderHook } from './support/recorder.mjs';

const site = path.resolve(process.env.SLICECAST_SITE ?? 'build/web');
const out = path.resolve(process.env.SLICECAST_WEB_TEST_OUT ?? 'build/web-test');
const files = path.join(out, 'files');

let chromium;
let server;

before(async () => {
  fs.mkdirSync(files, { recursive: true });
  server = await serveSite(site);
  chromium = await launchChromium();
});

after(async () => {
  await chromium?.close();
  server?.close();
});

function inputFile(name, channels, sampleRate, options) {
  const file = path.join(files, name);
  fs.writeFileSync(file, writeWav(channels, sampleRate, options));
  return file;
}

// A file in a format the browser decodes, made by the render tool from a
// generated WAV: its samples as libsndfile writes them.
function encodedFile(name, channels, sampleRate, format) {
  return encodeWithTool(inputFile(`${name}.wav`, channels, sampleRate), path.join(files, name), format);
}

function assertSameBits(actual, expected, what) {
  assert.equal(actual.length, expected.length, `${what}: channels`);
  actual.forEach((channel, index) => {
    assert.equal(firstDifference(channel, expected[index]), -1, `${what}: channel ${index} differs`);
  });
}

describe('the page', () => {
  test('loads without console errors and shows its controls and picture', async () => {
    const driver = await PageDriver.open(chromium.browser, server.url);
    const names = await driver.controlNames();
    const expected = ['Preset', ...kParameterNames, 'Tempo', 'Audio file', 'Play', 'Stop', 'Loop', 'Processed', 'Download'];
    for (const name of expected) {
      assert.ok(names.includes(name), `a control named ${name}`);
    }
    // The picture is drawn once the demo loop's render is back.
    await driver.page.waitForFunction(() => document.getElementById('picture').getContext('2d').getImageData(800, 450, 1, 1).data[3] > 0);
    const screenshot = path.join(out, 'screenshot.png');
    await driver.page.screenshot({ path: screenshot, fullPage: true });
    console.log(`screenshot: ${screenshot}`);
    const inked = await driver.page.evaluate(async (png) => {
      const image = new Image();
      image.src = `data:image/png;base64,${png}`;
      await image.decode();
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, image.width, image.height).data;
      let processedBlue = 0;
      for (let i = 0; i < pixels.length; i += 4) {
        if (pixels[i] < 80 && pixels[i + 2] > 150) ++processedBlue;
      }
      return processedBlue / (image.width * image.height);
    }, fs.readFileSync(screenshot).toString('base64'));
    assert.ok(inked > 0.01, `the screenshot shows the processed waveform (${(inked * 100).toFixed(2)} % of its pixels)`);
    assert.deepEqual(driver.errors, []);
    await driver.close();
  });
});

// Files, tempos and settings the Download is checked with; a step is given
// by its text, a percentage by its plain value.
const downloadCases = [
  {
    name: 'stereo float at 44.1 kHz, 93.5 BPM',
    rate: 44100,
    file: () => inputFile('stereo-float-44100.wav', testSignal(44100 * 5 + 77, 2, { seed: 3 }), 44100),
    tempo: 93.5,
    set: { WaveLength: '1/16', UpdatePeriod: '1/4', Rate: 33.3, FadeOut: 25, DecayRate: 80, Mix: 60 },
  },
  {
    name: 'mono 16-bit at 48 kHz, 171.25 BPM',
    rate: 48000,
    file: () => inputFile('mono-pcm16-48000.wav', testSignal(48000 * 3 + 5, 1, { seed: 5, pcm16: true }), 48000, { bits: 16 }),
    tempo: 171.25,
    set: { WaveLength: '1/3', UpdatePeriod: '2/1', Rate: 100, FadeOut: 60, DecayRate: 95, Mix: 100 },
  },
  {
    name: 'stereo 16-bit FLAC at 44.1 kHz, 140 BPM',
    rate: 44100,
    file: () => encodedFile('stereo-pcm16-44100.flac', testSignal(44100 * 3, 2, { seed: 9 }), 44100, 'pcm16'),
    tempo: 140,
    set: { WaveLength: '1/6', UpdatePeriod: '1/1', Rate: 90, DecayRate: 70, Mix: 75 },
  },
  {
    name: 'stereo float at 22.05 kHz, the defaults at 120 BPM',
    rate: 22050,
    file: () => inputFile('stereo-float-22050.wav', testSignal(22050 * 4, 2, { seed: 7 }), 22050),
    tempo: 120,
    set: {},
  },
];

describe('the download', () => {
  for (const testCase of downloadCases) {
    test(`equals slicecast render for ${testCase.name}`, async () => {
      const input = testCase.file();
      const driver = await PageDriver.open(chromium.browser, server.url);
      await driver.upload(input);
      assert.equal(await driver.message(), '');
      await driver.setTempo(testCase.tempo);
      for (const [name, value] of Object.entries(testCase.set)) await driver.setParameter(name, value);
      const downloaded = await driver.download(path.join(out, 'downloads'));
      const expected = renderWithTool(input, path.join(files, 'expected.wav'), testCase);
      const wav = readWav(fs.readFileSync(downloaded));
      assert.equal(wav.format, 3, 'a float WAV');
      assert.equal(wav.sampleRate, testCase.rate, "at the file's own rate");
      assertSameBits(wav.channels, expected, testCase.name);
      const name = path.basename(downloaded);
      assert.ok(name.includes(`${testCase.tempo}bpm`), `${name} names the tempo`);
      for (const [parameter, value] of Object.entries(testCase.set)) {
        assert.ok(name.includes(`${parameter}_${String(value).replaceAll('/', '-')}`), `${name} names ${parameter}`);
      }
      assert.deepEqual(driver.errors, []);
      await driver.close();
    });
  }

  test("of the drum loop equals slicecast render of the demo's loop", async () => {
    const dry = demoDryLoop(path.join(files, 'demo'));
    const driver = await PageDriver.open(chromium.browser, server.url);
    await driver.click('Use the drum loop');
    await driver.setParameter('WaveLength', '1/32');
    await driver.setParameter('Rate', 50);
    const downloaded = await driver.download(path.join(out, 'downloads'));
    const expected = renderWithTool(dry, path.join(files, 'expected.wav'), { tempo: 120, set: { WaveLength: '1/32', Rate: 50 } });
    assertSameBits(readWav(fs.readFileSync(downloaded)).channels, expected, 'the drum loop');
    assert.deepEqual(driver.errors, []);
    await driver.close();
  });
});

describe('the preset list', () => {
  test("lists the plug-in's presets, sets the six controls, and marks a later change", async () => {
    const input = inputFile('presets.wav', testSignal(44100 * 3, 2, { seed: 13 }), 44100);
    const driver = await PageDriver.open(chromium.browser, server.url);
    const names = presetNamesOfTool();
    assert.equal(names.length, 14);
    assert.deepEqual(await driver.presetTexts(), { entries: names, shown: 'Default' });
    await driver.upload(input);
    await driver.setTempo(133);
    await driver.choosePreset('Dusty Repeats');
    const shown = {};
    for (const name of kParameterNames) shown[name] = await driver.parameterValue(name);
    assert.deepEqual(shown, { WaveLength: '1/6', UpdatePeriod: '1/1', Rate: 90, FadeOut: 30, DecayRate: 70, Mix: 60 });
    const chosen = await driver.download(path.join(out, 'downloads'));
    const expected = renderWithTool(input, path.join(files, 'expected.wav'), { tempo: 133, preset: 'Dusty Repeats' });
    assertSameBits(readWav(fs.readFileSync(chosen)).channels, expected, 'the preset');

    await driver.setParameter('Mix', 45);
    assert.equal((await driver.presetTexts()).shown, 'Dusty Repeats (changed)');
    await driver.setParameter('Rate', 50);
    const marked = await driver.presetTexts();
    assert.equal(marked.shown, 'Dusty Repeats (changed)');
    assert.equal(marked.entries.length, 15, 'one entry marks the change');
    await driver.setParameter('Rate', 90);
    const changed = await driver.download(path.join(out, 'downloads'));
    const edited = renderWithTool(input, path.join(files, 'expected.wav'), {
      tempo: 133,
      preset: 'Dusty Repeats',
      set: { Mix: 45 },
    });
    assertSameBits(readWav(fs.readFileSync(changed)).channels, edited, 'the preset, then Mix');
    await driver.choosePreset('Dusty Repeats');
    assert.equal((await driver.presetTexts()).shown, 'Dusty Repeats', 'chosen again, it is the preset again');
    assert.equal(await driver.parameterValue('Mix'), 60);
    assert.deepEqual(driver.errors, []);
    await driver.close();
  });
});

describe('playing', () => {
  test('a parameter changed while playing changes the output from the next quantum on', async () => {
    const sampleRate = 48000;
    const input = inputFile('playing.wav', testSignal(sampleRate * 6, 2, { seed: 11 }), sampleRate);
    const tempo = 126;
    const set = { WaveLength: '1/12', Mix: 100 };
    const driver = await PageDriver.open(chromium.browser, server.url, { beforeScripts: recorderHook });
    await driver.upload(input);
    await driver.setTempo(tempo);
    for (const [name, value] of Object.entries(set)) await driver.setParameter(name, value);
    const recording = await recordPlayback(driver, async () => {
      await driver.setParameter('Mix', 40);
    });
    const before = renderWithTool(input, path.join(files, 'before.wav'), { tempo, set });
    const start = recording.startOf(before);
    assert.notEqual(start, -1, 'the recording holds the start of the render');
    // The first quantum that differs from the render without the change.
    const changed = recording.firstQuantumDiffering(start, before);
    assert.ok(changed >= recording.quantumBefore - start && changed <= recording.quantumAfter - start,
      `the change came at quantum ${changed}, between ${recording.quantumBefore - start} and ${recording.quantumAfter - start}`);
    // The render tool with Mix automated to 40 from that block on.
    const step = (tempo / 60) / sampleRate;
    const last = (changed - 1) * 128 * step;
    const width = 128 * step;
    const automated = renderWithTool(input, path.join(files, 'after.wav'), {
      tempo,
      set,
      automate: { Mix: `0:100,${last + 0.25 * width}:100,${last + 0.5 * width}:40` },
    });
    const frames = recording.framesFrom(start);
    assert.ok(frames > (changed + 100) * 128, 'the recording goes on well past the change');
    recording.channels(start, frames).forEach((channel, index) => {
      assert.equal(recording.firstDifference(channel, automated[index]), -1, `channel ${index}`);
    });
    assert.deepEqual(driver.errors, []);
    await driver.close();
  });
});

describe('a file that cannot be decoded', () => {
  test('gives a message and leaves the page working', async () => {
    const broken = path.join(files, 'broken.wav');
    fs.writeFileSync(broken, Buffer.from('RIFF....WAVEfmt this is not sound at all'));
    const driver = await PageDriver.open(chromium.browser, server.url);
    await driver.upload(broken);
    assert.match(await driver.message(), /broken\.wav cannot be decoded/);
    assert.match(await driver.soundName(), /drum loop/);
    const downloaded = await driver.download(path.join(out, 'downloads'));
    assert.ok(readWav(fs.readFileSync(downloaded)).channels[0].length > 0, 'the loop still downloads');
    assert.deepEqual(driver.errors, []);
    await driver.close();
  });
});
