// The sounds in Chromium: the desktop's files, started by the player's first
// tap or key, played through Web Audio while "Sesler" is on and not after
// it is switched off; a browser without audio plays silently.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { chooseMenu, openTable, playCard, settled, site, startBrowser } from './support.mjs';

const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`sounds: seed ${seed}`);
const store = { Seviye: '1', ElSayisi: '1', CpuDusunmeHizi: '10', Sesler: '1' };

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// An audio output that records the size of every sound it starts.
function recordingAudio() {
  window.soundsStarted = [];
  window.AudioContext = class {
    destination = {};
    resume() { return Promise.resolve(); }
    decodeAudioData(bytes) { return Promise.resolve({ bytes: bytes.byteLength }); }
    createBufferSource() {
      return { buffer: null, connect() {}, stop() {},
        start() { window.soundsStarted.push(this.buffer.bytes); } };
    }
  };
}

const sizeOf = (file) => readFileSync(join(site, 'sounds', file)).length;

test('a card played sounds the card, and "Sesler" off keeps the table silent', async () => {
  const table = await openTable(run, { seed, store });
  const { page } = table;
  await page.evaluate(recordingAudio);
  await playCard(page, 1);
  await page.waitForFunction(() => window.soundsStarted.length > 0);
  assert.equal((await page.evaluate(() => window.soundsStarted))[0], sizeOf('Card.voi'));
  await settled(page);  // the computer's answer heard too
  await chooseMenu(page, 'mnuSecenek', 'mnuSesler');
  const before = await page.evaluate(() => window.soundsStarted.length);
  await playCard(page, 2);
  await settled(page);
  await playCard(page, 3);
  await settled(page);
  assert.equal(await page.evaluate(() => window.soundsStarted.length), before);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('a browser without audio plays the game silently, with no error', async () => {
  const table = await openTable(run, { seed, store });
  const { page } = table;
  await page.evaluate(() => {
    delete window.AudioContext;
    delete window.webkitAudioContext;
  });
  for (const index of [1, 2, 3, 4]) await playCard(page, index);
  await page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first().waitFor();
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the five sounds are the desktop\'s WAV files', () => {
  for (const file of ['Card.voi', 'Tesva.voi', 'Laugh.voi', 'Lose.voi', 'With.voi']) {
    const head = readFileSync(join(site, 'sounds', file)).subarray(0, 12).toString('latin1');
    assert.match(head, /^RIFF....WAVE$/s, file);
  }
});
