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

// A second visit: the site from the service worker, the page reloaded.
{
  const table = await openTable(run, { seed: 3 });
  await table.page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const again = [];
  for (let i = 0; i < 7; ++i) {
    await table.page.reload();
    await table.page.waitForSelector('body[data-ready]');
    again.push(await table.page.evaluate(() => performance.getEntriesByName('tesva-ready')[0].startTime));
  }
  again.sort((a, b) => a - b);
  console.log(`second visit (service worker) to a playable table: median ${again[3].toFixed(0)} ms ` +
    `(of ${again.map((r) => r.toFixed(0)).join(', ')})`);
  await table.close();
}

// What keeping the game costs a move: from a tap on a card to the next
// frame, with the game kept after every move and with keeping off, turn
// about in the same page.
{
  const table = await openTable(run, { seed: 4, store: { Seviye: '1', CpuDusunmeHizi: '10' } });
  const { page } = table;
  await page.evaluate(() => {
    window.tapToFrame_ = [];
    document.addEventListener('click', (event) => {
      requestAnimationFrame(() => window.tapToFrame_.push(performance.now() - event.timeStamp));
    }, true);
  });
  const taps = { on: [], off: [] };
  for (let turn = 0; turn < 40; ++turn) {
    const keeping = turn % 2 === 0;
    await page.evaluate((on) => window.tesvaKeeping(on), keeping);
    const card = page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first();
    await card.waitFor({ timeout: 60000 });
    await card.click();
    await page.waitForFunction((n) => window.tapToFrame_.length >= n, turn + 1);
    taps[keeping ? 'on' : 'off'].push(await page.evaluate((n) => window.tapToFrame_[n], turn));
    await page.waitForFunction(() => !window.tesvaState().timers.Timer1.enabled, null, { timeout: 60000 });
  }
  const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
  console.log(`tap to next frame: median ${median(taps.on).toFixed(1)} ms keeping the game, ` +
    `${median(taps.off).toFixed(1)} ms without (${taps.on.length} taps each)`);
  await table.close();
}

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
