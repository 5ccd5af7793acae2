// The site's figures in headless Chromium on this machine (a benchmark to
// read, not a test): its weight on a first visit, gzip-compressed as a
// static host serves it; the time from navigation to a playable table,
// from the browser's performance timeline; the longest frame while a
// capture slides.
//   node measure.mjs [SITE_FOLDER]
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join, relative } from 'node:path';
import { gzipSync } from 'node:zlib';
import { openTable, site as builtSite, startBrowser } from '../tests/browser/support.mjs';

const site = process.argv[2] ?? builtSite;

function files(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? files(path) : [path];
  });
}

// What a first visit loads: everything but the decks' copyright notice.
let plain = 0;
let packed = 0;
for (const file of files(site).filter((f) => !f.endsWith('.txt'))) {
  const bytes = readFileSync(file);
  const gz = gzipSync(bytes, { level: 9 }).length;
  plain += bytes.length;
  packed += gz;
  console.log(`  ${relative(site, file).padEnd(20)} ${String(bytes.length).padStart(9)} B, gzip ${gz} B`);
}
console.log(`weight: ${(packed / 1024).toFixed(0)} KiB gzip (${(plain / 1024).toFixed(0)} KiB plain)`);

const run = await startBrowser();
const ready = [];
for (let i = 0; i < 5; ++i) {
  const table = await openTable(run, { seed: 3 });
  ready.push(await table.page.evaluate(() => performance.getEntriesByName('tesva-ready')[0].startTime));
  await table.close();
}
ready.sort((a, b) => a - b);
console.log(`navigation to a playable table: median ${ready[2].toFixed(0)} ms (of ${ready.map((r) => r.toFixed(0)).join(', ')})`);

// Frames while moves slide: every frame's length through a few turns.
const table = await openTable(run, { seed: 3, store: { Seviye: '1', CpuDusunmeHizi: '500' } });
const { page } = table;
await page.evaluate(() => {
  window.frames_ = [];
  let last = performance.now();
  const tick = (now) => {
    window.frames_.push(now - last);
    last = now;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
});
for (let turn = 0; turn < 4; ++turn) {
  const card = page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first();
  await card.click();
  await page.waitForTimeout(1500);
}
const frames = await page.evaluate(() => window.frames_);
frames.sort((a, b) => b - a);
console.log(`frames while cards slide: ${frames.length}, longest ${frames[0].toFixed(1)} ms, ` +
  `over 25 ms: ${frames.filter((f) => f > 25).length}`);
await table.close();
await run.close();
