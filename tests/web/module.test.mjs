// The module as the page and its worklet load it: it imports nothing (an
// audio worklet's scope offers nothing to import), and it exports the C
// interface the page calls.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

const site = path.resolve(process.env.SLICECAST_SITE ?? 'build/web');

// The site's scripts, in its folders too, relative to the site.
function scriptsIn(folder) {
  return fs.readdirSync(path.join(site, folder), { withFileTypes: true }).flatMap((entry) => {
    const name = path.join(folder, entry.name);
    if (entry.isDirectory()) return scriptsIn(name);
    return name.endsWith('.js') ? [name] : [];
  });
}

test('slicecast.wasm imports nothing and exports the interface the page calls', async () => {
  const module = await WebAssembly.compile(fs.readFileSync(path.join(site, 'slicecast.wasm')));
  assert.deepEqual(WebAssembly.Module.imports(module), []);
  const exported = WebAssembly.Module.exports(module).map((entry) => entry.name);
  const called = new Set();
  for (const file of scriptsIn('')) {
    for (const [, name] of fs.readFileSync(path.join(site, file), 'utf8').matchAll(/\b(slicecast_[a-z_]+)\(/g)) called.add(name);
  }
  assert.ok(called.size > 10, 'the page calls the module');
  for (const name of called) assert.ok(exported.includes(name), `${name} is exported`);
  assert.ok(exported.includes('memory') && exported.includes('_initialize'));
});
