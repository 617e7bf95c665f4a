// The page: a sound (a file or the demo loop), the tempo, the factory
// presets and the six parameters, real-time playback through the audio worklet, the picture of
// the offline render, and the download of that render as a WAV file.
// Nothing leaves the browser.
import { compileSlicecast, Slicecast } from './sound/slicecast_module.js';
import { decodeSoundFile, demoSound } from './files/sound_file.js';
import { drawPicture, drawPlayPosition } from './view/picture.js';
import { floatWav } from './files/wav_file.js';
import { ParameterControls } from './view/parameter_controls.js';
import { PresetList } from './view/preset_list.js';
import { Playback } from './sound/playback.js';
import { RenderClient } from './sound/render_client.js';

const element = (id) => document.getElementById(id);
// How long the picture waits for more changes before it renders again.
const kPictureDelayMs = 150;

function showMessage(text) {
  const message = element('message');
  message.textContent = text;
  message.hidden = text === '';
}

function supported() {
  return (
    typeof WebAssembly === 'object' &&
    typeof AudioWorkletNode === 'function' &&
    typeof OfflineAudioContext === 'function' &&
    typeof Worker === 'function'
  );
}

function disableControls() {
  for (const control of document.querySelectorAll('input, select, button')) control.disabled = true;
}

// Lengths and percentages as the download's name gives them: "1/8" as
// "1-8", plain numbers as they are.
function fileName(sound, tempo, controls) {
  const stem = sound.name.replace(/\.[^.]*$/, '').replace(/\s+/g, '_');
  const values = controls.values();
  const parts = controls.controls.map((control, index) => {
    const shown = index < 2 ? control.text() : String(values[index]);
    return `${control.name}_${shown.replaceAll('/', '-')}`;
  });
  return `${stem}-slicecast-${tempo}bpm-${parts.join('-')}.wav`;
}

async function start() {
  if (!supported()) {
    disableControls();
    showMessage(
      'This browser lacks what the page needs (WebAssembly, AudioWorklet, module workers). ' +
        'Use a current Chrome, Edge, Firefox or Safari, with the page served over https or from localhost.',
    );
    return;
  }
  const module = await compileSlicecast(new URL('./slicecast.wasm', import.meta.url));
  const slicecast = await Slicecast.instantiate(module);
  const playback = new Playback(module);
  const renderer = new RenderClient(module);
  const tempoInput = element('tempo');
  let tempo = Number(tempoInput.value);
  let sound = null;
  let pictureTimer = 0;
  let pictureRequest = 0;

  const settings = () => ({ tempo, values: controls.values() });

  const schedulePicture = () => {
    clearTimeout(pictureTimer);
    pictureTimer = setTimeout(updatePicture, kPictureDelayMs);
  };

  async function updatePicture() {
    const request = ++pictureRequest;
    const shown = sound;
    const result = await renderer.render(settings(), true);
    if (request !== pictureRequest || shown !== sound) return;
    drawPicture(element('picture'), {
      dry: shown,
      processed: result,
      marks: result.marks,
      title: `${shown.name} through J'x Slicecast`,
      details: `${tempo} BPM   ${shown.sampleRate} Hz    ${controls.describe().join('  ')}`,
    });
  }

  // A preset's values reach the sound as six changes at once, at the next
  // quantum, as a user's change does.
  const presets = new PresetList(element('parameters'), slicecast.presets(), (values) => {
    controls.setValues(values);
    values.forEach((value, index) => playback.setParameter(index, value));
    schedulePicture();
  });
  const controls = new ParameterControls(element('parameters'), slicecast, (index, value) => {
    playback.setParameter(index, value);
    presets.markChanged();
    schedulePicture();
  });
  controls.values().forEach((value, index) => playback.setParameter(index, value));

  function useSound(next) {
    sound = next;
    element('sound-name').textContent = `${next.name}, ${next.sampleRate} Hz`;
    playback.setSound(next);
    renderer.setSound(next);
    schedulePicture();
  }

  function setTempo(value) {
    tempo = value;
    playback.setTempo(value);
    schedulePicture();
  }

  // A usable tempo applies as it is typed or stepped; a finished entry that
  // is not one is answered with a message, the last usable tempo staying.
  const enteredTempo = () => {
    const value = Number(tempoInput.value);
    return tempoInput.value.trim() !== '' && Number.isFinite(value) && value > 0 ? value : null;
  };
  tempoInput.addEventListener('input', () => {
    const value = enteredTempo();
    if (value !== null && value !== tempo) setTempo(value);
  });
  tempoInput.addEventListener('change', () => {
    const value = enteredTempo();
    if (value === null) {
      showMessage('Tempo must be a number of beats per minute above 0.');
      return;
    }
    showMessage('');
    if (value !== tempo) setTempo(value);
  });

  element('file').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    if (!file) return;
    try {
      const next = await decodeSoundFile(file);
      showMessage(next.note);
      useSound(next);
    } catch (error) {
      showMessage(error.message);
    }
  });

  element('demo').addEventListener('click', () => {
    const demo = demoSound(slicecast);
    tempoInput.value = String(demo.tempo);
    setTempo(demo.tempo);
    showMessage('');
    useSound(demo);
  });

  element('play').addEventListener('click', () => playback.play());
  element('stop').addEventListener('click', () => playback.stop());
  element('loop').addEventListener('change', (event) => playback.setLoop(event.target.checked));
  element('processed').addEventListener('change', (event) => playback.setProcessed(event.target.checked));

  element('download').addEventListener('click', async () => {
    const rendered = sound;
    const name = fileName(rendered, tempo, controls);
    const result = await renderer.render(settings(), false);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(floatWav(result.left, result.right, rendered.sampleRate));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  });

  const followPlayPosition = () => {
    if (sound !== null) drawPlayPosition(element('play-position'), playback.position(), sound.left.length);
    requestAnimationFrame(followPlayPosition);
  };
  requestAnimationFrame(followPlayPosition);

  useSound(demoSound(slicecast));
  document.body.dataset.ready = 'true';
}

start().catch((error) => showMessage(`The page could not start: ${error.message}`));
