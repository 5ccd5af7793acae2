// How fast the browser's hint answers, and whether the page keeps drawing
// while the worker looks: for several positions of a seeded game, the time
// from the key H to the marked card, and the longest gap between two
// animation frames meanwhile. Needs the built site (scripts/web.sh build).
//   node web/tools/hint-speed.mjs [SEED]
import { openTable, playCard, startBrowser } from '../tests/browser/support.mjs';

const seed = Number(process.argv[2] ?? 1);
const store = { Seviye: '1', ElSayisi: '1', CpuDusunmeHizi: '10' };
const run = await startBrowser();
const table = await openTable(run, { seed, store });
const { page } = table;
await page.waitForTimeout(1000);  // the worker's core has loaded
// The first key starts the audio output (some 50 ms once), apart from the hint.
await page.keyboard.press('Shift');
// The same page's frames for half a second with no hint asked, to compare.
const idleFrames = () => page.evaluate(() => new Promise((done) => {
  const frames = [];
  const frame = (time) => {
    frames.push(time);
    if (time - frames[0] < 500) requestAnimationFrame(frame);
    else done(Math.max(...frames.slice(1).map((t, i) => t - frames[i])));
  };
  requestAnimationFrame(frame);
}));
const idleBefore = await idleFrames();
const rows = [];
for (let move = 1; move <= 12; ++move) {
  await page.locator('button[data-element^="Player1_Kart"]:not([disabled])').first().waitFor();
  const figures = await page.evaluate(() => new Promise((done) => {
    const frames = [];
    const frame = (time) => {
      frames.push(time);
      if (document.querySelector('.hint-frame:not([hidden])')) {
        const answer = performance.getEntriesByName('tesva-hint').at(-1).duration;
        const gaps = frames.slice(1).map((t, i) => t - frames[i]);
        done({ answer, frames: frames.length, longestGap: Math.max(0, ...gaps) });
        return;
      }
      requestAnimationFrame(frame);
    };
    requestAnimationFrame((time) => {
      frames.push(time);
      document.body.dispatchEvent(new KeyboardEvent('keydown', { key: 'h', bubbles: true }));
      requestAnimationFrame(frame);
    });
  }));
  rows.push(figures);
  const slot = await page.evaluate(() => {
    const frame = document.querySelector('.hint-frame');
    return [1, 2, 3, 4].find((i) =>
      document.querySelector(`[data-element="Player1_Kart(${i})"]`).style.left === frame.style.left);
  });
  await playCard(page, slot);
}
const answers = rows.map((r) => r.answer).sort((a, b) => a - b);
console.log(`hint, seed ${seed}, ${rows.length} positions`);
if (process.env.TESVA_VERBOSE) console.log(rows);
console.log(`answer ms: median ${answers[answers.length >> 1].toFixed(1)}, ` +
  `slowest ${answers.at(-1).toFixed(1)}`);
console.log(`longest gap between frames while looking: ${Math.max(...rows.map((r) => r.longestGap)).toFixed(1)} ms`);
const idleAfter = await idleFrames();
console.log(`longest gap between frames with no hint asked: ${idleBefore.toFixed(1)} ms before, ` +
  `${idleAfter.toFixed(1)} ms after`);
await table.close();
await run.close();
