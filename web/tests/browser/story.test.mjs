// The table's story in Chromium: a tesva's points rise from the taker's
// pile and reach the accessibility tree, the hand's board holds the
// figures the native game reaches with the same deck and moves, the board
// goes at the next key, and the result's "Yeni Oyun" starts the next game;
// on a phone-sized screen nothing the story shows covers the player's hand.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { audit, heard, nativeReplay, nativeSteps, openTable, playCard, playToEnd, startBrowser,
  status } from './support.mjs';

// A deck (seed 3) in which the player's fourth card, against Amatör, makes
// a tesva when the cards are played from the left.
const seed = 3;
const store = { Seviye: '1', ElSayisi: '1', CpuDusunmeHizi: '10', Sesler: '1',
  OyuncuIsim: 'Ayşe', CpuIsim: 'Bilgisayar' };
const setup = Object.entries(store).map(([key, value]) => `store ${key} ${value}`);
console.log(`story: seed ${seed}`);

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// The window's captions of one row of the board, by its heading.
async function boardRows(page) {
  return page.locator('.hand-board tr').evaluateAll((rows) => rows.map(
    (row) => Array.from(row.cells, (cell) => cell.textContent)));
}

// Whether a click at the middle of `selector` reaches what lies under it.
const clickGoesThrough = (page, selector) => page.evaluate((chosen) => {
  const shown = document.querySelector(chosen);
  const box = shown.getBoundingClientRect();
  const under = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
  return !shown.contains(under);
}, selector);

// The live region's texts, as Chromium's own accessibility tree holds them.
async function accessibleLog(page) {
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  const logs = nodes.filter((node) => node.role?.value === 'log' &&
    node.properties?.some((p) => p.name === 'live' && p.value.value === 'polite'));
  assert.equal(logs.length, 1, 'one polite live region for the points');
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  const texts = [];
  const walk = (id) => {
    const node = byId.get(id);
    if (node?.role?.value === 'StaticText') texts.push(node.name.value);
    for (const child of node?.childIds ?? []) walk(child);
  };
  walk(logs[0].nodeId);
  return texts;
}

test('a tesva rises from the taker\'s pile with its points and reaches a screen reader', async () => {
  const steps = nativeSteps(seed, setup, [1, 2, 3, 4]);
  const gained = steps[3].state.Player1_Score - steps[2].state.Player1_Score;
  assert.ok(steps[3].sounds.includes('Tesva.voi'), 'the native game makes a tesva at move 4');
  const table = await openTable(run, { seed, store });
  const { page } = table;
  for (const index of [1, 2, 3, 4]) await playCard(page, index);
  const tesva = page.locator('.rising.tesva');
  await tesva.waitFor();
  assert.equal(await tesva.textContent(), `Tesva! +${gained}`);
  // It rises from the player's own pile and stays above the player's hand.
  const [risen, pile, card] = await Promise.all([tesva.boundingBox(),
    page.locator('[data-element="Player1_Deste"]').boundingBox(),
    page.locator('[data-element="Player1_Kart(1)"]').boundingBox()]);
  assert.ok(risen.y + risen.height <= pile.y + 1, 'above the pile');
  assert.ok(Math.abs(risen.x + risen.width / 2 - (pile.x + pile.width / 2)) < pile.width / 2 ||
    risen.x <= pile.x, 'over the pile, or kept inside the table beside it');
  assert.ok(risen.y + risen.height <= card.y, 'above the hand');
  assert.ok(await clickGoesThrough(page, '.rising.tesva'), 'the text takes no click');
  assert.ok((await heard(page)).includes(`Tesva! +${gained}`));
  assert.ok((await accessibleLog(page)).includes(`Tesva! +${gained}`));
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the hand\'s board holds the native figures, goes at a key, and "Yeni Oyun" deals again', async () => {
  const table = await openTable(run, { seed, store });
  const { page } = table;
  const moves = await playToEnd(page, (index) => page.click(`[data-element="Player1_Kart(${index})"]`));
  const native = nativeReplay(seed, setup, moves);
  await page.locator('.hand-board').waitFor();
  assert.ok(await clickGoesThrough(page, '.hand-board'), 'the board takes no click');
  const rows = await boardRows(page);
  const [human, computer] = [store.OyuncuIsim, store.CpuIsim];
  assert.match(native.labels.Player1_Name.caption, new RegExp(`^${human}`));
  assert.equal(await page.locator('.hand-board h2').textContent(), '1. El bitti');
  assert.deepEqual(rows[0], ['', human, computer]);
  const row = (heading) => rows.find((cells) => cells[0] === heading);
  const [humanScore, computerScore] = [native.state.Player1_Score, native.state.Player2_Score];
  assert.deepEqual(row('Toplam'), ['Toplam', String(humanScore), String(computerScore)]);
  // Every card went to a pile or lies on the floor: none is lost.
  const taken = row('Alınan kağıt').slice(1).map(Number);
  const leftOver = await page.locator('.hand-board p').textContent();
  const onFloor = leftOver === 'Yerde kağıt kalmadı.' ? 0 : leftOver.split(':')[1].split(',').length;
  assert.equal(taken[0] + taken[1] + onFloor, 52, `${taken} taken, ${leftOver}`);
  // A tesva of the player's has its row, its points under the player.
  const tesvas = rows.filter((cells) => cells[0].startsWith('Tesva: '));
  assert.ok(tesvas.some((cells) => /^\+\d+$/.test(cells[1]) && cells[2] === ''), JSON.stringify(tesvas));

  const end = page.locator('.game-end');
  await end.waitFor();
  const result = humanScore > computerScore ? 'Kazandınız!'
    : humanScore < computerScore ? `${computer} kazandı` : 'Berabere';
  assert.equal(await end.locator('.game-end-result').textContent(), result);
  assert.equal(await end.locator('.game-end-totals').textContent(),
    `${human}: ${humanScore} – ${computer}: ${computerScore}`);
  assert.equal(await status(page), native.labels.Label1.caption);
  // A take's points fade as they rise: audited once they are gone.
  await page.waitForFunction(() => !document.querySelector('.rising'));
  assert.deepEqual(await audit(page), [], 'the board and the result open');

  await page.keyboard.press('Shift');
  assert.equal(await page.locator('.hand-board').count(), 0, 'a key takes the board away');
  const button = end.getByRole('button', { name: 'Yeni Oyun' });
  assert.equal(await button.evaluate((node) => node === document.activeElement), true);
  await button.click();
  await end.waitFor({ state: 'hidden' });
  await page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first().waitFor();
  assert.doesNotMatch(await status(page), /Oyun bitti/);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('on a phone the board and the result stand clear of the player\'s hand', async () => {
  const phone = { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true };
  const table = await openTable(run, { seed, store, context: phone });
  const { page } = table;
  await playToEnd(page, (index) => page.locator(`[data-element="Player1_Kart(${index})"]`).tap());
  await page.locator('.hand-board').waitFor();
  await page.locator('.game-end').waitFor();
  const clear = await page.evaluate(() => {
    const root = document.querySelector('.table');
    const scale = root.getBoundingClientRect().width / root.offsetWidth;
    const handTop = root.getBoundingClientRect().top + parseFloat(
      document.querySelector('[data-element="Player1_Kart(1)"]').style.top) * scale;
    const board = document.querySelector('.hand-board').getBoundingClientRect();
    const rootBox = root.getBoundingClientRect();
    return { board: board.bottom <= handTop + 0.5, inside: board.top >= rootBox.top - 0.5 &&
      board.bottom <= rootBox.bottom + 0.5, width: document.documentElement.scrollWidth };
  });
  assert.deepEqual(clear, { board: true, inside: true, width: 360 });
  assert.deepEqual(table.errors, []);
  await table.close();
});
