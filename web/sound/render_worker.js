// The offline render's worker, so that rendering a long file keeps the page
// responsive. It takes the compiled module once, then a source, then
// renders as asked; each answer carries the id of its request.
import { Slicecast } from './slicecast_module.js';
import { renderOffline } from './offline_render.js';

let ready = null;
let source = null;

self.onmessage = async ({ data }) => {
  switch (data.type) {
    case 'module':
      ready = Slicecast.instantiate(data.module);
      break;
    case 'source':
      source = data.source;
      break;
    case 'render': {
      try {
        const result = renderOffline(await ready, source, data.settings, data.caption);
        const moved = [result.left.buffer, result.right.buffer];
        if (result.picture) moved.push(result.picture.pixels.buffer);
        self.postMessage({ id: data.id, result }, moved);
      } catch (error) {
        self.postMessage({ id: data.id, error: String(error) });
      }
      break;
    }
  }
};
