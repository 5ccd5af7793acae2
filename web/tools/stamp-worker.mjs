// Writes the site's service worker: the worker's text with the list of the
// site's files and a version made of their contents, so that every change
// to the site is a new worker that the browser installs.
//   node stamp-worker.mjs WORKER_TEMPLATE SITE_FOLDER
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { join, relative, sep } from 'node:path';

const [template, site] = process.argv.slice(2);
if (!template || !site) {
  console.error('usage: stamp-worker.mjs WORKER_TEMPLATE SITE_FOLDER');
  process.exit(2);
}

function files(folder) {
  return readdirSync(folder).sort().flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? files(path) : [path];
  });
}

// Everything the page loads; the worker itself and the decks' notice are
// not kept.
const kept = files(site).map((path) => relative(site, path).split(sep).join('/'))
  .filter((name) => name !== 'sw.js' && !name.endsWith('.txt'));
const hash = createHash('sha256');
for (const name of kept) hash.update(name).update('\0').update(readFileSync(join(site, name)));
const version = hash.digest('hex').slice(0, 16);
const text = readFileSync(template, 'utf8').replace('@VERSION@', version)
  .replace('@FILES@', kept.map((name) => `./${name}`).join(' '));
writeFileSync(join(site, 'sw.js'), text);
console.log(`web: service worker ${version} keeps ${kept.length} files`);
