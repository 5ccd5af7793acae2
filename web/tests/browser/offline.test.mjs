// The site as an installed program: after the first visit it starts and
// plays with the network cut; a new version takes over at the next start
// and keeps the player's game; the manifest and the icon make it
// installable.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { serve } from '../../tools/serve.mjs';
import { KEPT, coreState, humanToMove, openTable, playToEnd, reloadTable, site, startBrowser, status,
  stored } from './support.mjs';

const web = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`offline: seed ${seed}`);
let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// Once the service worker holds the site and answers the page's requests.
const keptOffline = (page) => page.waitForFunction(() => navigator.serviceWorker.controller !== null);
const cacheNames = (page) => page.evaluate(() => caches.keys());

test('after the first visit the site starts and plays a whole hand with the network cut', async () => {
  const table = await openTable(run, { seed, store: { Seviye: '2', ElSayisi: '1', CpuDusunmeHizi: '10' } });
  const { page } = table;
  await keptOffline(page);
  await page.context().setOffline(true);
  assert.equal(await page.evaluate(() => fetch('./style.css?not-kept').then(() => 'fetched', () => 'failed')),
    'failed', 'the network is cut');
  table.errors.length = 0;  // the failed request just made
  await reloadTable(page);
  assert.equal(await page.locator('button[data-element^="Player1_Kart"]:not([disabled])').count() > 0, true);
  const moves = await playToEnd(page, (index) => page.keyboard.press(String(index)));
  assert.equal(moves.length, 24);
  assert.match(await status(page), /^ Oyun bitti/);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('a game closed in its second hand is found there at the next start with no network', async () => {
  const table = await openTable(run, { seed, store: { Seviye: '1', ElSayisi: '3', CpuDusunmeHizi: '10' } });
  const { page } = table;
  await keptOffline(page);
  const hand = () => page.locator('[data-element="Label7"]').textContent();
  while (!(await hand()).startsWith('2.')) {
    await humanToMove(page);
    const playable = page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first();
    const card = await playable.getAttribute('data-element');
    const name = await playable.getAttribute('aria-label');
    await page.keyboard.press(card.slice(13, 14));
    // Taken: the place is empty, or already holds the next deal's card.
    await page.waitForFunction(([element, was]) => {
      const place = document.querySelector(`[data-element="${element}"]`);
      return place.disabled || place.getAttribute('aria-label') !== was;
    }, [card, name]);
  }
  await humanToMove(page);
  const left = await coreState(page);
  const context = page.context();
  await page.close();
  await context.setOffline(true);
  const again = await context.newPage();
  await again.goto(table.page.url());
  await again.waitForSelector('body[data-ready]');
  assert.deepEqual(await coreState(again), left);
  assert.match(left.labels.Label7.caption, /^2\. El/);
  await table.close();
});

test('a new version of the site takes over at the next start and keeps the game', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'tesva-site-'));
  cpSync(site, folder, { recursive: true });
  const server = await serve(folder, 0);
  const table = await openTable({ browser: run.browser, url: `http://127.0.0.1:${server.address().port}/` },
    { seed, store: { CpuDusunmeHizi: '10' } });
  const { page } = table;
  try {
    await keptOffline(page);
    const [old] = await cacheNames(page);
    await page.keyboard.press('1');
    await page.waitForFunction(() => window.tesvaState().timers.Timer1.enabled === false);
    const kept = await stored(page, KEPT);
    const before = await coreState(page);
    // The next version: another style sheet, so another worker.
    appendFileSync(join(folder, 'style.css'), '\n/* the next version */\n');
    execFileSync(process.execPath, [join(web, 'tools', 'stamp-worker.mjs'), join(web, 'page', 'sw.js'), folder]);
    const version = readFileSync(join(folder, 'sw.js'), 'utf8').match(/VERSION = '(\w+)'/)[1];
    await reloadTable(page);
    while ((await cacheNames(page)).join() !== `tesva-${version}`) await page.waitForTimeout(50);
    assert.notEqual(old, `tesva-${version}`);
    await reloadTable(page);
    assert.match(await page.evaluate(() => fetch('./style.css').then((r) => r.text())), /the next version/);
    assert.equal(await stored(page, KEPT), kept, 'the kept game is untouched');
    assert.deepEqual(await coreState(page), before, 'and resumed as it was');
    assert.deepEqual(table.errors, []);
  } finally {
    await table.close();
    await new Promise((done) => server.close(done));
    rmSync(folder, { recursive: true, force: true });
  }
});

test('the manifest names the game and its icon, and the browser finds the site installable', async () => {
  const table = await openTable(run, { seed });
  const { page } = table;
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    return (await fetch(link.href)).json();
  });
  assert.equal(manifest.name, 'Tesva');
  assert.equal(manifest.display, 'standalone');
  for (const icon of manifest.icons) {
    const size = await page.evaluate(async (src) => {
      const image = new Image();
      image.src = src;
      await image.decode();
      return `${image.naturalWidth}x${image.naturalHeight}`;
    }, icon.src);
    if (icon.sizes === 'any') assert.match(size, /^[1-9]\d*x[1-9]\d*$/, icon.src);
    else assert.equal(size, icon.sizes, icon.src);
  }
  await keptOffline(page);
  const devtools = await page.context().newCDPSession(page);
  const { installabilityErrors } = await devtools.send('Page.getInstallabilityErrors');
  // A test's browser context is a private window, which never installs.
  assert.deepEqual(installabilityErrors.filter((e) => e.errorId !== 'in-incognito'), []);
  assert.deepEqual(table.errors, []);
  await table.close();
});
