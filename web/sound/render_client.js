// The page's side of the offline render's worker: one request at a time
// answered in order, each a promise of its result.

export class RenderClient {
  constructor(module) {
    this.worker = new Worker(new URL('./render_worker.js', import.meta.url), { type: 'module' });
    this.worker.postMessage({ type: 'module', module });
    this.pending = new Map();
    this.nextId = 0;
    this.worker.onmessage = ({ data }) => {
      const { resolve, reject } = this.pending.get(data.id);
      this.pending.delete(data.id);
      if (data.error) reject(new Error(data.error));
      else resolve(data.result);
    };
  }

  setSound(sound) {
    this.worker.postMessage({ type: 'source', source: { left: sound.left, right: sound.right, sampleRate: sound.sampleRate } });
  }

  // settings: { tempo, values }; caption: null or the picture's { title,
  // details }; the result as renderOffline gives it.
  render(settings, caption) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.worker.postMessage({ type: 'render', id, settings, caption });
    });
  }
}
