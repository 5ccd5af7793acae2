// The one back the page uses, cut out of its deck at build time, draws
// exactly as in the whole deck: every pixel of the card's box the same.
// Also a missing reference is an error, never a silently bare card.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { gunzipSync } from 'node:zlib';
import { cardPicture } from '../../tools/card-picture.mjs';
import { startBrowser } from './support.mjs';

const decks = process.env.TESVA_CARDDECKS_DIR ?? '/usr/share/carddecks';
const deck = (path) => gunzipSync(readFileSync(join(decks, path))).toString('utf8');

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// The pixels of element `id` in the SVG document `text`, read as the page
// reads a deck.
async function drawn(page, text, id) {
  await page.setContent('<body style="margin:0; background:#808080"></body>');
  const box = await page.evaluate(([svgText, card]) => {
    const parsed = new DOMParser().parseFromString(svgText, 'image/svg+xml');
    document.body.append(document.importNode(parsed.documentElement, true));
    const { x, y, width, height } = document.getElementById(card).getBoundingClientRect();
    return { x, y, width, height };
  }, [text, id]);
  assert.ok(box.width > 50 && box.height > 50, `${id} is drawn: ${JSON.stringify(box)}`);
  return { box, pixels: await page.screenshot({ clip: box }) };
}

test('the backs deck cut down to its one back draws that back unchanged', async () => {
  const context = await run.browser.newContext({ viewport: { width: 2400, height: 1700 } });
  const page = await context.newPage();
  const whole = deck('svg-nicu-white/white.svgz');
  const cut = cardPicture(whole, 'back_c1');
  assert.ok(cut.length * 10 < whole.length, `${cut.length} of ${whole.length} bytes`);
  const before = await drawn(page, whole, 'back_c1');
  const after = await drawn(page, cut, 'back_c1');
  assert.deepEqual(after.box, before.box);
  assert.ok(after.pixels.equals(before.pixels), 'the same pixels');
  await context.close();
});

test('a card that refers to what the deck lacks, or is not there, is refused', () => {
  const svg = (body) => `<svg xmlns="http://www.w3.org/2000/svg"><g transform="scale(2)">${body}</g></svg>`;
  assert.throws(() => cardPicture(svg('<rect id="c" fill="url(#gone)"/>'), 'c'), /#gone/);
  assert.throws(() => cardPicture(svg('<rect id="c"/>'), 'd'), /no element with id d/);
  assert.throws(() => cardPicture(svg('<g id="c">'), 'c'), /closes <g>/);
  const kept = cardPicture(svg('<rect id="x"/><linearGradient id="g"/><rect id="c" fill="url(#g)"/>'), 'c');
  assert.match(kept, /<defs>\n<linearGradient id="g"\/>\n<\/defs>\n<g transform="scale\(2\)">\n<rect id="c"/);
  assert.doesNotMatch(kept, /id="x"/);
});
