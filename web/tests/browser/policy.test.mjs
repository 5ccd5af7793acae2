// Private and safe: the site runs under its own Content-Security-Policy
// (the page's meta tag, and the server's header) with no violation and no
// console error through a game, its menus and dialogs; every request stays
// on the site; a script the policy forbids is refused and reported.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { chooseMenu, openTable, playToEnd, reloadTable, startBrowser } from './support.mjs';

const seed = Number(process.env.TESVA_WEB_SEED ?? Date.now() % 100000);
console.log(`policy: seed ${seed}`);
let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// Collects every violation the page reports, from its first script on.
function watchViolations() {
  window.tesvaViolations = [];
  document.addEventListener('securitypolicyviolation', (event) => {
    window.tesvaViolations.push(`${event.violatedDirective}: ${event.blockedURI}`);
  });
}
const violations = (page) => page.evaluate(() => window.tesvaViolations);

test('the server sends the page\'s own policy as a header', async () => {
  const response = await fetch(run.url);
  const header = response.headers.get('content-security-policy');
  const meta = (await response.text()).match(/http-equiv="Content-Security-Policy"\s+content="([^"]*)"/)[1];
  assert.equal(header, `${meta}; frame-ancestors 'none'`);
  for (const directive of ["default-src 'self'", "script-src 'self' 'wasm-unsafe-eval'"]) {
    assert.ok(meta.includes(directive), directive);
  }
  assert.ok(!/unsafe-eval'|https?:|\*/.test(meta.replace("'wasm-unsafe-eval'", '')), meta);
});

test('a game, the menus, the dialogs and a reload under the policy: no violation, no error, nothing sent away', async () => {
  const table = await openTable(run, { seed, context: { bypassCSP: false }, init: watchViolations,
    store: { Seviye: '1', ElSayisi: '1', CpuDusunmeHizi: '10' } });
  const { page } = table;
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  await chooseMenu(page, 'mnuHelp');
  await page.click('.panel-button');
  await page.click('[data-menu="mnuIstatistik"]');
  await page.click('dialog.statistics button:text("Kapat")');
  await playToEnd(page, (index) => page.click(`[data-element="Player1_Kart(${index})"]`));
  await reloadTable(page);
  await chooseMenu(page, 'mnuSecenek', 'mnuElSayisi');
  await page.keyboard.press('Escape');
  assert.deepEqual(await violations(page), []);
  assert.deepEqual(table.errors, []);
  const away = requests.filter((url) => !url.startsWith(run.url));
  assert.deepEqual(away, [], 'every request is to the site itself');
  assert.ok(requests.length > 0, 'the reload was seen');
  // The policy holds: an injected inline script does not run and is reported.
  const ran = await page.evaluate(() => new Promise((done) => {
    document.addEventListener('securitypolicyviolation', () => done(window.tesvaInjected === true),
      { once: true });
    const script = document.createElement('script');
    script.textContent = 'window.tesvaInjected = true;';
    document.head.append(script);
  }));
  assert.equal(ran, false);
  // Reported once per policy that forbids it: the meta tag's and the header's.
  const reported = await violations(page);
  assert.ok(reported.length > 0 && reported.every((v) => v.startsWith('script-src')), reported.join());
  await table.close();
});
