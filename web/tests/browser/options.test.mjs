// The menu bar, the boxes, the rules panel, watch mode and the end of the
// program, in Chromium: each command changes what it should, is kept in
// local storage under the desktop's keys and survives a reload; hostile
// stored values give the defaults.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { STORE, caption, chooseMenu, openTable, startBrowser, status } from './support.mjs';

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

const checked = (page, name) => page.locator(`[data-menu="${name}"]`).getAttribute('aria-checked');
const stored = (page, key) => page.evaluate((k) => localStorage.getItem(k), STORE + key);

test('every option command checks its item, is stored, and survives a reload', async () => {
  const table = await openTable(run);
  const { page } = table;
  const commands = [
    ['mnuSeviye', 'mnuUsta', 'Seviye', '3'], ['mnuSeviye', 'mnuPro', 'Seviye', '2'],
    ['mnuDusunmeHizi', 'mnuLast', 'CpuDusunmeHizi', '1000'],
    ['mnuDusunmeHizi', 'mnuFirst', 'CpuDusunmeHizi', '10'],
    ['mnuBack', 'mnuLacivert', 'BackGround', '8388608'], ['mnuBack', 'mnuSiyah', 'BackGround', '0'],
    ['mnuDeste', 'mnuStandart', 'Deste', 'Back2'],
  ];
  for (const [group, item, key, value] of commands) {
    await chooseMenu(page, 'mnuSecenek', group, item);
    assert.equal(await checked(page, item), 'true', item);
    assert.equal(await stored(page, key), value, key);
  }
  await chooseMenu(page, 'mnuSecenek', 'mnuSesler');
  assert.equal(await checked(page, 'mnuSesler'), 'false');
  assert.equal(await stored(page, 'Sesler'), '0');
  await page.reload();
  await page.waitForSelector('body[data-ready]');
  for (const item of ['mnuPro', 'mnuFirst', 'mnuSiyah', 'mnuStandart']) {
    assert.equal(await checked(page, item), 'true', `${item} after a reload`);
  }
  assert.equal(await checked(page, 'mnuSesler'), 'false');
  assert.equal(await checked(page, 'mnuUsta'), 'false');
  const background = await page.locator('.table').evaluate((e) => getComputedStyle(e).backgroundColor);
  assert.equal(background, 'rgb(0, 0, 0)');
  // The standard back is drawn from the faces deck.
  const deck = await page.locator('[data-element="Deste"] use').getAttribute('href');
  assert.equal(deck, '#faces-back');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('hostile stored options give the defaults, as on the desktop', async () => {
  const table = await openTable(run, { store: { Seviye: 'abc', ElSayisi: '1e3',
    CpuDusunmeHizi: '-5', BackGround: '12', Deste: '../x', OyuncuIsim: '' } });
  const { page } = table;
  assert.equal(await checked(page, 'mnuPro'), 'true');
  assert.equal(await page.locator('[data-menu="mnuElSayisi"] .menu-caption').textContent(),
    'El sayısı     (11)');
  assert.equal(await checked(page, 'mnuSecond'), 'true');
  assert.equal(await checked(page, 'mnuYesil'), 'true');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the hands-per-game box, answered and cancelled', async () => {
  const table = await openTable(run);
  const { page } = table;
  const count = () => page.locator('[data-menu="mnuElSayisi"] .menu-caption').textContent();
  await chooseMenu(page, 'mnuSecenek', 'mnuElSayisi');
  await page.waitForSelector('dialog.box[open]');
  assert.equal(await page.locator('#box-prompt').textContent(),
    'Lütfen kaç el oynamak istediğinizi belirleyin...');
  await page.fill('dialog.box input', '5');
  await page.click('dialog.box button:text("Tamam")');
  assert.equal(await count(), 'El sayısı     (5)');
  assert.equal(await stored(page, 'ElSayisi'), '5');
  await chooseMenu(page, 'mnuSecenek', 'mnuElSayisi');
  await page.keyboard.press('Escape');
  assert.equal(await count(), 'El sayısı     (11)', 'a cancelled box plays 11 hands');
  assert.equal(await page.locator('dialog.box[open]').count(), 0);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the names boxes, and watch mode shows what is hidden otherwise', async () => {
  const table = await openTable(run);
  const { page } = table;
  const hidden = async () => ({
    lists: await page.locator('.list').count(),
    tracker: await page.locator('.tracker').count(),
  });
  assert.deepEqual(await hidden(), { lists: 0, tracker: 0 });
  await page.click('[data-element="Player2_Name"]');
  await page.fill('dialog.box input', 'Makine');
  await page.keyboard.press('Enter');
  assert.equal(await caption(page, 'Player2_Name'), 'Makine (0)');
  await page.click('[data-element="Player1_Name"]');
  await page.click('dialog.box button:text("İptal")');
  assert.equal(await caption(page, 'Player1_Name'), 'Oyuncu (0)');
  await page.click('[data-element="Player1_Name"]');
  await page.fill('dialog.box input', 'GateKeeper');
  await page.keyboard.press('Enter');
  assert.deepEqual(await hidden(), { lists: 1, tracker: 13 });
  assert.equal(await page.locator('.list li').count(), 4, 'the computer\'s hand listed');
  await page.reload();
  await page.waitForSelector('body[data-ready]');
  assert.deepEqual(await hidden(), { lists: 1, tracker: 13 }, 'watch mode survives a reload');
  assert.equal(await caption(page, 'Player2_Name'), 'Makine (0)');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the rules panel by menu and by F1, closed by its button', async () => {
  const table = await openTable(run);
  const { page } = table;
  await chooseMenu(page, 'mnuHelp');
  assert.equal(await page.locator('.rules-panel').isVisible(), true);
  assert.match(await page.locator('.rules-panel').textContent(), /KURALLAR/);
  assert.equal(await page.locator('[data-menu="mnuYeni"]').getAttribute('aria-disabled'), 'true');
  assert.equal(await page.locator('[data-element="Player1_Kart(1)"]').isDisabled(), true);
  await page.click('.panel-button');
  assert.equal(await page.locator('.rules-panel').isVisible(), false);
  await page.keyboard.press('F1');
  assert.equal(await page.locator('.rules-panel').isVisible(), true);
  await page.click('.panel-button');
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('"Yeni Oyun" asks first; "Çıkış" ends the program and offers a new start', async () => {
  const table = await openTable(run, { store: { CpuDusunmeHizi: '10' } });
  const { page } = table;
  await page.click('[data-element="Player1_Kart(1)"]');
  await page.waitForFunction(() => !document.querySelector('[data-element="Player1_Kart(1)"]').disabled ||
    document.querySelectorAll('button[data-element^="Player1_Kart"]:not([disabled])').length > 0);
  const deck = await caption(page, 'Label8');
  await page.keyboard.press('F2');
  await page.click('dialog.box button:text("Hayır")');
  assert.equal(await caption(page, 'Label8'), deck, 'No keeps the game');
  await chooseMenu(page, 'mnuYeni');
  await page.click('dialog.box button:text("Evet")');
  await page.waitForFunction(() => document.querySelectorAll(
    'button[data-element^="Player1_Kart"]:not([disabled])').length === 4);
  assert.equal(await caption(page, 'Label8'), 'Deste (40)');
  await chooseMenu(page, 'mnuCikis');
  assert.equal(await page.locator('.ended').isVisible(), true);
  await page.click('.ended button');
  assert.equal(await page.locator('.ended').isVisible(), false);
  assert.match(await status(page), /oynuyor/);
  assert.deepEqual(table.errors, []);
  await table.close();
});
