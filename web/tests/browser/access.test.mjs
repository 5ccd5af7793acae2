// The accessibility audit (axe-core) on the table, with a menu and a box
// open too, in watch mode, on a desktop and a phone-sized screen; the computer's cards and
// the deck's order are nowhere in the document outside watch mode.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { audit, chooseMenu, openTable, startBrowser } from './support.mjs';

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

test('no accessibility violation: table, open menus, a box, the rules panel', async () => {
  const table = await openTable(run);
  const { page } = table;
  assert.deepEqual(await audit(page), [], 'the table');
  await chooseMenu(page, 'mnuSecenek', 'mnuSeviye');
  assert.deepEqual(await audit(page), [], 'the options menu open');
  await page.keyboard.press('Escape');
  await chooseMenu(page, 'mnuSecenek', 'mnuElSayisi');
  assert.deepEqual(await audit(page), [], 'the hands box open');
  await page.keyboard.press('Escape');
  await chooseMenu(page, 'mnuHelp');
  assert.deepEqual(await audit(page), [], 'the rules panel');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('no accessibility violation in watch mode, with the hidden cards and counts shown', async () => {
  const table = await openTable(run, { seed: 9 });
  const { page } = table;
  await page.click('[data-element="Player1_Name"]');
  await page.fill('dialog.box input', 'GateKeeper');
  await page.keyboard.press('Enter');
  await page.waitForSelector('.list li');
  assert.ok((await page.locator('.tracker').count()) > 0, 'watch mode is on');
  assert.deepEqual(await audit(page), [], 'watch mode');
  await page.click('button[data-element^="Player1_Kart"]:not([disabled])');
  await page.waitForFunction(() => document.querySelector('[data-element="Label1"]').textContent.includes('Bilgisayar'));
  assert.deepEqual(await audit(page), [], 'watch mode after a move');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('on a phone the menu folds into one button and passes the audit', async () => {
  const table = await openTable(run, { context: { viewport: { width: 360, height: 640 },
    isMobile: true, hasTouch: true } });
  const { page } = table;
  assert.equal(await page.locator('.menu-fold').isVisible(), true);
  await page.click('.menu-fold');
  await page.click('[data-menu="mnuSecenek"]');
  assert.deepEqual(await audit(page), [], 'the folded menu open');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('what the player may not see is not in the document', async () => {
  const table = await openTable(run, { seed: 77 });
  const { page } = table;
  const hand = await page.evaluate(() => document.documentElement.outerHTML);
  const names = await page.locator('[data-element^="Player2_Kart"]').evaluateAll(
    (cards) => cards.map((c) => c.getAttribute('aria-label')));
  assert.deepEqual(names, [1, 2, 3, 4].map((i) => `Bilgisayarın kağıdı ${i}`));
  assert.doesNotMatch(hand, /List2|Cikanlar/);
  const uses = await page.locator('[data-element^="Player2_Kart"] use').evaluateAll(
    (nodes) => nodes.map((n) => n.getAttribute('href')));
  assert.deepEqual([...new Set(uses)], ['#backs-back_c1']);
  await table.close();
});
