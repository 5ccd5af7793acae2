// What the browser tests share: the built site served on this machine,
// Debian's Chromium (never a downloaded browser), a table opened with a
// fixed seed and stored options, and the native headless driver to replay
// the same game.
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../../tools/serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const repo = join(here, '..', '..', '..');
export const site = process.env.TESVA_WEB_SITE ?? join(repo, 'build-web', 'site');
const headless = process.env.TESVA_HEADLESS ?? join(repo, 'build', 'bin', 'tesva-headless');
export const STORE = 'Tesva (TT)/Secenekler/';
// The kept game and the record, under the desktop's file names.
export const KEPT = 'Tesva (TT)/oyun.json';
export const RECORD = 'Tesva (TT)/istatistik.json';

export async function startBrowser() {
  const server = await serve(site, 0);
  const browser = await chromium.launch({
    executablePath: process.env.TESVA_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--no-first-run'],
  });
  const url = `http://127.0.0.1:${server.address().port}/`;
  return {
    url,
    browser,
    async close() {
      await browser.close();
      await new Promise((done) => server.close(done));
    },
  };
}

// A table with seed `seed` and the options `store` (key: text) in local
// storage before the game loads. `errors` collects every console error and
// uncaught exception of the page.
// `init` runs in the page before its own scripts, on every load.
export async function openTable(run, { seed = 1, store = {}, context = {}, init = null } = {}) {
  const browserContext = await run.browser.newContext({ viewport: { width: 1000, height: 800 },
    bypassCSP: true, ...context });  // bypassCSP: the audit's script is injected
  const page = await browserContext.newPage();
  const errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.addInitScript(([prefix, values]) => {
    if (sessionStorage.getItem('tesva-test-stored')) return;  // once, not on every reload
    for (const [key, value] of Object.entries(values)) localStorage.setItem(prefix + key, value);
    sessionStorage.setItem('tesva-test-stored', '1');
  }, [STORE, store]);
  if (init) await page.addInitScript(init);
  await page.goto(`${run.url}?seed=${seed}`);
  await page.waitForSelector('body[data-ready]');
  return { page, errors, close: () => browserContext.close() };
}

// The core's snapshot of the table as the page draws it.
export const coreState = (page) => page.evaluate(() => window.tesvaState());
export const stored = (page, key) => page.evaluate((k) => localStorage.getItem(k), key);

// The human is to move and no timer runs: the game stands still. With
// `drawn`, the page has also drawn the game as it stands, with its sounds.
const standingStill = (page, drawn) => page.waitForFunction((drawn) => {
  const state = window.tesvaState();
  return !(drawn && document.body.dataset.drawing) && !state.timers.Timer1.enabled &&
    !state.timers.Timer2.enabled &&
    state.pictures.some((p) => p.element === 'Player1_Kart' && p.enabled && p.picture);
}, drawn, { timeout: 60000 });
export const humanToMove = (page) => standingStill(page, false);
export const settled = (page) => standingStill(page, true);

export async function reloadTable(page) {
  await page.reload();
  await page.waitForSelector('body[data-ready]');
}

// Every console line of a kind, as the page writes them.
export function consoleLines(page, kind) {
  const lines = [];
  page.on('console', (message) => {
    if (message.type() === kind) lines.push(message.text());
  });
  return lines;
}

export const status = (page) => page.locator('[data-element="Label1"]').textContent();
export const caption = (page, name) => page.locator(`[data-element="${name}"]`).textContent();

// Plays one whole game by `press(index)` on the first playable card each
// turn, until the status line says the game is over; the indexes played.
export async function playToEnd(page, press) {
  const moves = [];
  for (;;) {
    const handle = await page.waitForFunction(() => {
      if (document.querySelector('[data-element="Label1"]').textContent.startsWith(' Oyun bitti')) return -1;
      const card = document.querySelector('button[data-element^="Player1_Kart"]:not([disabled])');
      return card ? Number(card.dataset.element.slice(13, 14)) : null;
    }, null, { timeout: 60000 });  // a hand's end pauses, then slides
    const index = await handle.jsonValue();
    if (index < 0) return moves;
    moves.push(index);
    const card = page.locator(`button[data-element="Player1_Kart(${index})"]`);
    const played = await card.getAttribute('aria-label');
    await press(index);
    // The core takes the card at once: its place is empty, or already
    // holds the next deal's card.
    await page.waitForFunction(([i, name]) => {
      const place = document.querySelector(`button[data-element="Player1_Kart(${i})"]`);
      return place.disabled || place.getAttribute('aria-label') !== name;
    }, [index, played]);
  }
}

// The native driver's last snapshot after the same options and moves.
export function nativeReplay(seed, setup, moves) {
  const lines = [...setup, 'start', ...moves.flatMap((i) => ['wait', `click Player1_Kart(${i})`]),
    'wait', 'dump'];
  const out = execFileSync(headless, [], { input: lines.join('\n') + '\n',
    env: { ...process.env, TESVA_SEED: String(seed) } }).toString().trim().split('\n');
  return JSON.parse(out[out.length - 1]);
}

// The desktop's hint (tools/hint) in the positions reached after each list
// of moves in `stops`, the moves of one stop following those of the last.
const hintTool = process.env.TESVA_HINT ?? join(repo, 'build', 'bin', 'tesva-hint');
export function nativeHints(seed, setup, stops) {
  const lines = [...setup, 'start'];
  for (const moves of stops) {
    lines.push(...moves.flatMap((i) => ['wait', `click Player1_Kart(${i})`]), 'wait', 'hint');
  }
  const out = execFileSync(hintTool, [], { input: lines.join('\n') + '\n',
    env: { ...process.env, TESVA_SEED: String(seed) }, stdio: ['pipe', 'pipe', 'ignore'] });
  return out.toString().trim().split('\n').map(Number);
}

// Every snapshot the native driver prints for the same options and moves,
// one after each move.
export function nativeSteps(seed, setup, moves) {
  const lines = [...setup, 'start', ...moves.flatMap((i) => ['wait', `click Player1_Kart(${i})`, 'wait', 'dump'])];
  const out = execFileSync(headless, [], { input: lines.join('\n') + '\n',
    env: { ...process.env, TESVA_SEED: String(seed) } }).toString().trim().split('\n');
  return out.map((line) => JSON.parse(line));
}

// Waits until the player may play, then plays hand slot `index` by a click.
export async function playCard(page, index) {
  const card = page.locator(`button[data-element="Player1_Kart(${index})"]:not([disabled])`);
  await card.waitFor({ timeout: 60000 });
  await card.click();
}

// What the table has told a screen reader of the takes so far.
export const heard = (page) => page.locator('.story-heard p').allTextContents();

export const axeSource = () => readFileSync(join(here, '..', '..', 'node_modules', 'axe-core', 'axe.min.js'), 'utf8');

// The accessibility audit of the page as it stands: the violations found.
export async function audit(page) {
  if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ content: axeSource() });
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'] });
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  });
}

export async function chooseMenu(page, ...path) {
  for (const name of path) await page.click(`[data-menu="${name}"]`);
}
