// The core's speed: complete games per second, the native tesva-headless
// beside its WebAssembly build under Node.js, on the same script in one run
// (a benchmark to read, not a test). Each game is eleven hands against the
// professional.
//   node bench.mjs NATIVE WASM_JS [GAMES]   (10000)
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const [native, wasm, count = '10000'] = process.argv.slice(2);
const games = Number(count);
// Each deal the player lays its cards left to right, the computer
// answering in between; 24 turns a hand, 11 hands a game, then "Yeni Oyun".
const turns = Array.from({ length: 24 * 11 }, (_, i) => ['wait', `click Player1_Kart(${(i % 4) + 1})`]);
const game = [...turns.flat(), 'wait', 'menu mnuYeni'];
const lines = ['store Seviye 2', 'store CpuDusunmeHizi 10', 'start'];
for (let i = 0; i < games; ++i) lines.push(...game);
lines.push('dump');
const folder = mkdtempSync(join(tmpdir(), 'tesva-bench-'));
const script = join(folder, 'games.txt');
writeFileSync(script, lines.join('\n') + '\n');

function timed(command, args) {
  const start = process.hrtime.bigint();
  let out;
  try {
    out = execFileSync(command, args, { env: { ...process.env, TESVA_SEED: '7' }, maxBuffer: 1 << 30 });
  } catch (error) {
    out = error.stdout;  // a line that printed an error exits 1
  }
  return { seconds: Number(process.hrtime.bigint() - start) / 1e9, out };
}
// Each program's start alone (Node.js's own start and the module's
// compilation, a few tens of milliseconds): a script that starts the game
// and dumps it, the best of three runs. Games per second are given with it
// and without it.
const empty = join(folder, 'start.txt');
writeFileSync(empty, [...lines.slice(0, 3), 'dump'].join('\n') + '\n');
const start = (command, args) => Math.min(...[0, 1, 2].map(() => timed(command, args).seconds));
// The best of three runs each, taken in turn: other jobs on a shared
// machine only ever make a run slower.
const best = (runs) => runs.reduce((x, y) => (y.seconds < x.seconds ? y : x));
const runs = [0, 1, 2].map(() => [timed(native, [script]), timed(process.execPath, [wasm, script])]);
const a = best(runs.map((r) => r[0]));
const b = best(runs.map((r) => r[1]));
const a0 = start(native, [empty]);
const b0 = start(process.execPath, [wasm, empty]);
rmSync(folder, { recursive: true, force: true });
const same = a.out.equals(b.out);
const errors = a.out.toString().split('\n').filter((l) => l.startsWith('error:')).length;
const rate = (seconds) => (games / seconds).toFixed(1);
const share = (x, y) => ((100 * x) / y).toFixed(0);
console.log(`${games} games (${errors} refused lines), outputs ${same ? 'identical' : 'DIFFER'}:\n` +
  `  with the start: native ${rate(a.seconds)} games/s, WebAssembly under Node.js ${process.version} ` +
  `${rate(b.seconds)} games/s (${share(a.seconds, b.seconds)} % of native)\n` +
  `  without the start (native ${(a0 * 1000).toFixed(0)} ms, Node.js ${(b0 * 1000).toFixed(0)} ms): ` +
  `native ${rate(a.seconds - a0)} games/s, WebAssembly ${rate(b.seconds - b0)} games/s ` +
  `(${share(a.seconds - a0, b.seconds - b0)} % of native)`);
