// The kept game and the record in Chromium: a game reloaded at random
// moments goes on exactly where it was; damaged stored values are set aside
// with one warning and the game starts afresh; the statistics follow a
// finished game and "Sıfırla" clears them after its question; two tabs never
// both play the kept game.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { KEPT, RECORD, audit, consoleLines, coreState, humanToMove, openTable, playToEnd, reloadTable,
  startBrowser, status, stored } from './support.mjs';

const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`kept game: seed ${seed}`);
let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// A small seeded generator for the moments of the reloads.
function moments(from) {
  let state = from >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = Math.imul(state ^ (state >>> 15), 1 | state);
    t ^= t + Math.imul(t ^ (t >>> 7), 61 | t);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// The core's snapshots at the moment the page goes away and at the moment
// the next one is ready, before any timer of either can run.
function watchStates() {
  const save = (key) => sessionStorage.setItem(key, JSON.stringify(window.tesvaState()));
  addEventListener('pagehide', () => save('tesva-test-last'));
  new MutationObserver((changes, observer) => {
    if (!document.body?.dataset.ready) return;
    save('tesva-test-first');
    observer.disconnect();
  }).observe(document, { attributes: true, subtree: true });
}
const savedState = (page, key) => page.evaluate((k) => JSON.parse(sessionStorage.getItem(k)), key);

test('a two-hand game reloaded at random moments goes on exactly where it was', async () => {
  const table = await openTable(run, { seed, init: watchStates,
    store: { Seviye: '1', ElSayisi: '2', CpuDusunmeHizi: '250' } });
  const { page } = table;
  const random = moments(seed);
  // The last card of the first hand (its pause follows), and others at random.
  const at = new Set([23]);
  while (at.size < 5) at.add(Math.floor(random() * 47));
  let moves = 0;
  let pending = 0;
  const played = await playToEnd(page, async (index) => {
    await page.keyboard.press(String(index));
    if (!at.has(moves++)) return;
    await reloadTable(page);
    const resumed = await savedState(page, 'tesva-test-first');
    assert.deepEqual(resumed, await savedState(page, 'tesva-test-last'),
      `the table after a reload at move ${moves}`);
    if (resumed.timers.Timer1.enabled || resumed.timers.Timer2.enabled) ++pending;
  });
  assert.equal(played.length, 48);
  assert.ok(pending > 0, 'a reload found a computer move or a hand pause due');
  assert.match(await status(page), /^ Oyun bitti/);
  assert.equal(await stored(page, KEPT), null, 'a finished game is no longer kept');
  const record = JSON.parse(await stored(page, RECORD));
  assert.equal(record.headings.amator.finished, 1, JSON.stringify(record));
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('damaged stored games and records are set aside and the game starts afresh', async () => {
  const table = await openTable(run, { seed, init: watchStates, store: { CpuDusunmeHizi: '1000' } });
  const { page } = table;
  const fresh = await savedState(page, 'tesva-test-first');
  await page.keyboard.press('1');
  await page.waitForFunction((key) => localStorage.getItem(key) !== null, KEPT);
  const good = JSON.parse(await stored(page, KEPT));
  const edit = (change) => {
    const doc = structuredClone(good);
    change(doc);
    return JSON.stringify(doc);
  };
  const damaged = {
    truncated: JSON.stringify(good).slice(0, 700),
    'another version': edit((doc) => { doc.version = 99; }),
    'another format': edit((doc) => { doc.format = 'something else'; }),
    'an impossible level': edit((doc) => { doc.state.Level = '7'; }),
    'a card twice': edit((doc) => {
      const hand = doc.state.Player1_Hand;
      const held = hand.flatMap((card, i) => (card ? [i] : []));
      hand[held[0]] = hand[held[1]];
    }),
    'not JSON': '{"format": ',
    'a list': '[]',
    'too large': `{"pad":"${'x'.repeat(70 * 1024)}"}`,
  };
  const warnings = consoleLines(page, 'warning');
  for (const [what, text] of Object.entries(damaged)) {
    await humanToMove(page);  // no move of the computer's writes over the damage
    await page.evaluate(([key, value]) => {
      for (const name of Object.keys(localStorage)) if (name.includes('.bozuk-')) localStorage.removeItem(name);
      localStorage.setItem(key, value);
    }, [KEPT, text]);
    warnings.length = 0;
    await reloadTable(page);
    assert.deepEqual(await savedState(page, 'tesva-test-first'), fresh,
      `${what}: a new game as the seed deals it`);
    assert.equal(warnings.length, 1, `${what}: ${warnings.join(' | ')}`);
    assert.match(warnings[0], /^tesva: Tesva \(TT\)\/oyun\.json is not used \(.+\); moved aside as Tesva \(TT\)\/oyun\.json\.bozuk-\d{8}-\d{6}$/);
    const aside = warnings[0].slice(warnings[0].indexOf('moved aside as ') + 15);
    assert.equal(await stored(page, aside), text, `${what}: kept as it was under another key`);
    assert.equal(await stored(page, KEPT), null, `${what}: no longer under the game's key`);
  }
  await humanToMove(page);
  await page.evaluate(([key]) => localStorage.setItem(key, '{"format":"tesva-record","version":1,"headings":{"usta":{"won":-4}}}'), [RECORD]);
  warnings.length = 0;
  await reloadTable(page);
  assert.equal(warnings.length, 1, warnings.join(' | '));
  assert.match(warnings[0], /istatistik\.json is not used/);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('the statistics count a finished game, and "Sıfırla" clears them after its question', async () => {
  const table = await openTable(run, { seed, store: { Seviye: '1', ElSayisi: '1', CpuDusunmeHizi: '10' } });
  const { page } = table;
  await playToEnd(page, (index) => page.keyboard.press(String(index)));
  const total = async (name) => Number((await page.locator(`[data-element="${name}"]`).textContent())
    .match(/\((\d+)\)$/)[1]);
  const human = await total('Player1_Name');
  const computer = await total('Player2_Name');
  const won = human > computer ? 1 : 0;
  const state = await coreState(page);
  assert.equal(state.recordLine, `Amatör: 1 oyun, ${won} kazanılan (%${won * 100}), seri ${won}, ` +
    `en uzun seri ${won}`);
  await page.click('[data-menu="mnuIstatistik"]');
  const cell = (row, column) => page.locator('dialog.statistics tr').filter({
    has: page.locator(`th[scope="row"]:text-is("${row}")`) }).locator('td').nth(column);
  const heading = await page.locator('dialog.statistics thead th').allTextContents();
  assert.deepEqual(heading, ['Amatör', 'Profesyonel', 'Usta', 'Toplam']);
  for (const column of [0, 3]) {
    assert.equal(await cell('Biten oyun', column).textContent(), '1');
    assert.equal(await cell('Kazanılan', column).textContent(), String(won));
    assert.equal(await cell('En yüksek toplam', column).textContent(), String(human));
  }
  assert.equal(await cell('Biten oyun', 1).textContent(), '0');
  assert.deepEqual(await audit(page), [], 'the statistics open');
  await page.click('dialog.statistics button:text("Sıfırla")');
  assert.deepEqual(await audit(page), [], 'the question open');
  assert.equal(await page.locator('dialog.reset-question #reset-prompt').textContent(),
    'Bütün istatistikler silinsin mi?');
  await page.click('dialog.reset-question button:text("Hayır")');
  assert.equal(await cell('Biten oyun', 3).textContent(), '1', 'No keeps the record');
  await page.click('dialog.statistics button:text("Sıfırla")');
  await page.click('dialog.reset-question button:text("Evet")');
  assert.equal(await cell('Biten oyun', 3).textContent(), '0');
  await page.click('dialog.statistics button:text("Kapat")');
  await reloadTable(page);
  assert.deepEqual(JSON.parse(await stored(page, RECORD)).headings, {}, 'the cleared record is kept');
  // A game replaced by "Yeni Oyun" counts as given up, not as finished.
  await page.keyboard.press('1');
  await page.waitForFunction((key) => localStorage.getItem(key) !== null, KEPT);
  await page.keyboard.press('F2');
  await page.click('dialog.box button:text("Evet")');
  await page.click('[data-menu="mnuIstatistik"]');
  assert.equal(await cell('Yarıda bırakılan', 0).textContent(), '1');
  assert.equal(await cell('Biten oyun', 3).textContent(), '0');
  assert.equal(JSON.parse(await stored(page, RECORD)).headings.amator.givenUp, 1);
  assert.deepEqual(table.errors, []);
  await table.close();
});

test('a second tab says the game is open in another one and takes it over when asked', async () => {
  const first = await openTable(run, { seed, store: { CpuDusunmeHizi: '10' } });
  await first.page.keyboard.press('1');
  await humanToMove(first.page);
  const kept = await stored(first.page, KEPT);
  const second = await first.page.context().newPage();
  const errors = [];
  second.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  await second.goto(first.page.url());
  await second.waitForSelector('body[data-elsewhere]');
  assert.equal(await second.locator('dialog.elsewhere p').textContent(), 'Oyun başka bir sekmede açık.');
  assert.equal(await second.locator('body[data-ready]').count(), 0, 'no table plays in the second tab');
  assert.deepEqual(await audit(second), [], 'the notice');
  await second.click('dialog.elsewhere button:text("Bu sekmede oyna")');
  await second.waitForSelector('body[data-ready]');
  await first.page.waitForSelector('body[data-elsewhere]');
  assert.equal(await first.page.locator('body[data-ready]').count(), 0, 'the first tab stands still');
  assert.deepEqual(await coreState(second), await coreState(first.page), 'the game moved over whole');
  assert.equal(await stored(second, KEPT), kept);
  // The first tab stands still and writes nothing more; the second plays on.
  const left = await coreState(first.page);
  const slot = await second.locator('button[data-element^="Player1_Kart"]:not([disabled])').first()
    .getAttribute('data-element');
  await second.keyboard.press(slot.slice(13, 14));
  await humanToMove(second);
  const played = await stored(second, KEPT);
  assert.notEqual(played, kept);
  assert.deepEqual(await coreState(first.page), left, 'the first tab does not play on');
  assert.equal(await first.page.locator('dialog.elsewhere').evaluate((d) => d.open), true,
    'the notice covers the first tab\'s table');
  await first.page.click('dialog.elsewhere button:text("Bu sekmede oyna")');
  await second.waitForSelector('body[data-elsewhere]');
  await first.page.waitForSelector('body[data-ready]');
  assert.deepEqual(await coreState(first.page), await coreState(second), 'taken back whole');
  assert.equal(await stored(first.page, KEPT), played);
  assert.deepEqual([...first.errors, ...errors], []);
  await first.close();
});
