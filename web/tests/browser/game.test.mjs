// Whole one-hand games in Chromium, by clicks, by keys and by taps on a
// phone-sized screen: each ends as the native driver's replay of the same
// seed and moves ends, and the page logs no error.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { caption, nativeReplay, openTable, playToEnd, startBrowser, status } from './support.mjs';

const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`browser games: seed ${seed}`);
// One hand, the quickest computer; the level is the test's.
const fast = (level) => ({ Seviye: level, ElSayisi: '1', CpuDusunmeHizi: '10' });
const setup = (level) => [`store Seviye ${level}`, 'store ElSayisi 1', 'store CpuDusunmeHizi 10'];
let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

async function playAndCompare(level, options, press) {
  const table = await openTable(run, { seed, store: fast(level), ...options });
  const moves = await playToEnd(table.page, (index) => press(table.page, index));
  assert.equal(moves.length, 24, 'a hand is six deals of four cards');
  const native = nativeReplay(seed, setup(level), moves);
  assert.equal(await status(table.page), native.labels.Label1.caption);
  for (const name of ['Player1_Name', 'Player2_Name', 'Label8']) {
    assert.equal(await caption(table.page, name), native.labels[name].caption, name);
  }
  assert.deepEqual(table.errors, []);
  await table.close();
}

test('a one-hand game against Amatör played by clicks ends as the native game ends', async () => {
  await playAndCompare('1', {}, (page, index) => page.click(`[data-element="Player1_Kart(${index})"]`));
});

test('a game against Profesyonel played by the keys 1 to 4', async () => {
  await playAndCompare('2', {}, (page, index) => page.keyboard.press(String(index)));
});

test('a game against Usta by taps on a phone held upright', async () => {
  const phone = { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true,
    deviceScaleFactor: 3 };
  await playAndCompare('3', { context: phone }, async (page, index) => {
    const card = page.locator(`[data-element="Player1_Kart(${index})"]`);
    const box = await card.boundingBox();
    assert.ok(box.width >= 24 && box.height >= 24, `card ${index} is ${box.width} x ${box.height}`);
    await card.tap();
  });
});

test('Tab and Space play the marked card', async () => {
  const table = await openTable(run, { seed, store: fast('1') });
  const { page } = table;
  await page.locator('[data-element="Player1_Kart(1)"]').focus();
  await page.keyboard.press('ArrowRight');
  const marked = await page.evaluate(() => document.activeElement.dataset.element);
  assert.equal(marked, 'Player1_Kart(2)');
  const before = await page.locator('[data-element="Player1_Kart(2)"]').getAttribute('aria-label');
  assert.match(before, /^Elindeki kağıt 2: /);
  await page.keyboard.press('Space');
  await page.waitForFunction(() => document.querySelector('[data-element="Player1_Kart(2)"]').disabled);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the status line looks as the window draws it: navy bold on light grey, the hand number in black', async () => {
  const table = await openTable(run, { seed, store: fast('1') });
  const look = (name) => table.page.locator(`[data-element="${name}"]`).evaluate((node) => {
    const style = getComputedStyle(node);
    return { text: style.color, ground: style.backgroundColor, weight: style.fontWeight,
      border: `${style.borderTopWidth} ${style.borderTopStyle} ${style.borderTopColor}` };
  });
  assert.deepEqual(await look('Label1'), { text: 'rgb(0, 0, 128)', ground: 'rgb(192, 192, 192)',
    weight: '700', border: '1px solid rgb(0, 0, 128)' });
  assert.equal((await look('Label7')).text, 'rgb(0, 0, 0)');
  await table.close();
});
