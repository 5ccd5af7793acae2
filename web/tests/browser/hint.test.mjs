// The hint in Chromium: "İpucu" and the key H mark the same card that the
// desktop's hint (tools/hint) gives in the same positions, the position
// handed to the worker holds none of the computer's cards, and the mark
// goes with the next move.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { chooseMenu, nativeHints, nativeReplay, openTable, playCard, startBrowser } from './support.mjs';

const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`hint: seed ${seed}`);
const store = { Seviye: '2', ElSayisi: '1', CpuDusunmeHizi: '10' };
const setup = Object.entries(store).map(([key, value]) => `store ${key} ${value}`);
// Where the hint is asked: at the start, then after each of these moves.
const stops = [[], [1], [2], [3], [4], [1, 2]];

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// Every message the page posts to a worker, kept for the test to read.
function watchWorkers() {
  window.postedToWorkers = [];
  const post = Worker.prototype.postMessage;
  Worker.prototype.postMessage = function watched(message, ...rest) {
    window.postedToWorkers.push(JSON.parse(JSON.stringify(message)));
    return post.call(this, message, ...rest);
  };
}

// The hand slot the mark stands on, once it shows.
async function markedSlot(page) {
  await page.locator('.hint-frame:not([hidden])').waitFor({ timeout: 20000 });
  const slot = await page.evaluate(() => {
    const frame = document.querySelector('.hint-frame');
    for (let i = 1; i <= 4; ++i) {
      const card = document.querySelector(`[data-element="Player1_Kart(${i})"]`);
      if (card.style.left === frame.style.left && card.style.top === frame.style.top) return i;
    }
    return 0;
  });
  // A screen reader hears the same card described as the hint's.
  const described = page.getByRole('button', { description: 'İpucu' });
  assert.equal(await described.count(), 1);
  assert.equal(await described.getAttribute('data-element'), `Player1_Kart(${slot})`);
  return slot;
}

function strings(value, found = []) {
  if (typeof value === 'string') found.push(value);
  else if (value && typeof value === 'object') for (const v of Object.values(value)) strings(v, found);
  return found;
}

test('the hint marks the desktop\'s card in every position, by key and by menu', async () => {
  const expected = nativeHints(seed, setup, stops);
  assert.ok(expected.every((slot) => slot >= 1 && slot <= 4), `native hints ${expected}`);
  const table = await openTable(run, { seed, store });
  const { page } = table;
  await page.evaluate(watchWorkers);
  const marked = [];
  const played = [];
  for (const [at, moves] of stops.entries()) {
    for (const index of moves) {
      await playCard(page, index);
      played.push(index);
      if (index === moves[0] && at > 0) {
        await page.locator('.hint-frame[hidden]').waitFor({ state: 'attached' });
      }
    }
    await page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first().waitFor();
    if (at % 2 === 0) await page.keyboard.press('h');
    else await chooseMenu(page, 'mnuIpucu');
    marked.push(await markedSlot(page));
  }
  assert.deepEqual(marked, expected);
  // The worker was told what the player has seen, never the computer's hand.
  const hidden = nativeReplay(seed, setup, played).List2;
  assert.ok(hidden.length > 0, 'the computer holds cards');
  const posted = await page.evaluate(() => window.postedToWorkers);
  assert.equal(posted.length, stops.length, 'one position per hint');
  const last = strings(posted.at(-1));
  for (const card of hidden) assert.ok(!last.includes(card), `${card} reached the worker`);
  assert.deepEqual(table.errors, []);
  await table.close();
});
