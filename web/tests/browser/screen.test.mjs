// The table on large and dense screens: it fills the space under the menu
// bar at the window's proportions, and the cards are drawn at the screen's
// own pixels, as sharp as the card drawn straight at that size. The page's
// title is the window's caption.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { nativeReplay, openTable, startBrowser } from './support.mjs';

let run;
before(async () => {
  run = await startBrowser();
});
after(() => run.close());

// The table's box, the space it has, and its own proportions.
const boxes = (page) => page.evaluate(() => {
  const table = document.querySelector('.table');
  const frame = table.parentElement.getBoundingClientRect();
  const stage = table.parentElement.parentElement.getBoundingClientRect();
  return { frame: { width: frame.width, height: frame.height, left: frame.left, top: frame.top },
    stage: { width: stage.width, height: stage.height, left: stage.left, top: stage.top },
    own: table.offsetWidth / table.offsetHeight };
});

// Edge strength of a screenshot: the mean difference between neighbouring
// pixels, which a picture drawn small and then enlarged loses.
const sharpness = (page, png) => page.evaluate(async (data) => {
  const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const context = canvas.getContext('2d');
  context.drawImage(bitmap, 0, 0);
  const { data: rgba, width, height } = context.getImageData(0, 0, bitmap.width, bitmap.height);
  let sum = 0;
  for (let y = 0; y < height - 1; ++y) {
    for (let x = 0; x < width - 1; ++x) {
      const at = 4 * (y * width + x);
      for (let c = 0; c < 3; ++c) {
        sum += Math.abs(rgba[at + c] - rgba[at + 4 + c]) + Math.abs(rgba[at + c] - rgba[at + 4 * width + c]);
      }
    }
  }
  return { sum: sum / (width * height), width, height };
}, png.toString('base64'));

// The last hand card (each other one lies partly under the next) as the
// table shows it, and the same picture drawn straight at the same size near
// the top left corner, without the table's scale and on the same fraction
// of a pixel; both read inside the card's edge.
async function cardAndReference(page) {
  const { clip, shift } = await page.evaluate(() => {
    const card = document.querySelector('[data-element="Player1_Kart(4)"] svg');
    const box = card.getBoundingClientRect();
    const shift = { x: Math.floor(box.x), y: Math.floor(box.y) };
    const copy = card.cloneNode(true);
    copy.id = 'reference-card';
    Object.assign(copy.style, { position: 'fixed', zIndex: 100, left: `${box.x - shift.x}px`,
      top: `${box.y - shift.y}px`, width: `${box.width}px`, height: `${box.height}px` });
    document.body.append(copy);
    const clip = { x: Math.ceil(box.x) + 3, y: Math.ceil(box.y) + 3, width: Math.floor(box.width) - 8,
      height: Math.floor(box.height) - 8 };
    return { clip, shift };
  });
  const shown = await page.screenshot({ clip });
  const reference = await page.screenshot({ clip: { ...clip, x: clip.x - shift.x, y: clip.y - shift.y } });
  await page.evaluate(() => document.getElementById('reference-card').remove());
  return { clip, shown: await sharpness(page, shown), reference: await sharpness(page, reference) };
}

for (const [name, context] of [
  ['a 4K screen', { viewport: { width: 3840, height: 2160 } }],
  ['a desktop screen at twice the pixel density', { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 2 }],
]) {
  test(`on ${name} the table fills its space and the cards are sharp`, async () => {
    const table = await openTable(run, { seed: 5, context });
    const { page } = table;
    const { frame, stage, own } = await boxes(page);
    // One side fills the stage, the other fits in it, the proportions kept.
    const fillsWidth = Math.abs(frame.width - stage.width) <= 1;
    const fillsHeight = Math.abs(frame.height - stage.height) <= 1;
    assert.ok(fillsWidth || fillsHeight, `${JSON.stringify(frame)} in ${JSON.stringify(stage)}`);
    assert.ok(frame.width <= stage.width + 1 && frame.height <= stage.height + 1);
    assert.ok(Math.abs(frame.width / frame.height - own) < 0.01, `proportions ${frame.width / frame.height} for ${own}`);
    assert.ok(frame.width >= 0.95 * context.viewport.width || frame.height >= 0.9 * context.viewport.height);

    const { clip, shown, reference } = await cardAndReference(page);
    const density = context.deviceScaleFactor ?? 1;
    assert.ok(clip.width > 80, `a card is drawn large: ${clip.width} CSS pixels wide`);
    assert.ok(Math.abs(shown.width - Math.round(clip.width * density)) <= 1, 'captured at device pixels');
    assert.ok(Math.abs(shown.sum - reference.sum) < 0.1 * reference.sum,
      `edges ${shown.sum.toFixed(2)} against ${reference.sum.toFixed(2)} drawn straight`);
    assert.deepEqual(table.errors, []);
    await table.close();
  });
}

test("the page's title is the window's caption, before and after the script runs", async () => {
  const table = await openTable(run);
  const { page } = table;
  const caption = nativeReplay(1, [], []).window.caption;
  assert.equal(await page.title(), caption);
  const html = await (await page.request.get(page.url())).text();
  assert.equal(html.match(/<title>([^<]*)<\/title>/)?.[1], caption);
  await table.close();
});
