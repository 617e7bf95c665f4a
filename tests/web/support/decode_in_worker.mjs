// The page's decodeSoundFile in a worker thread, so that a test can give up
// on a file that would be read forever: answers the sound's frame count or
// the error's message for the bytes and name it is given.
import { parentPort, workerData } from 'node:worker_threads';

import { decodeSoundFile } from '../../../web/files/sound_file.js';

globalThis.OfflineAudioContext = class {
  decodeAudioData() {
    return Promise.reject(new DOMException('Unable to decode audio data', 'EncodingError'));
  }
};

const { bytes, name } = workerData;
decodeSoundFile(new File([bytes], name)).then(
  (sound) => parentPort.postMessage({ frames: sound.left.length }),
  (error) => parentPort.postMessage({ message: error.message }),
);
