// The core's speed: complete games per second, the native tesva-headless
// beside its WebAssembly build under Node.js, on the same script in one run
// (a benchmark to read, not a test). Each game is eleven hands against the
// professional.
//   node bench.mjs NATIVE WASM_JS [GAMES]   (10000: enough to outweigh Node.js's start)
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
const a = timed(native, [script]);
const b = timed(process.execPath, [wasm, script]);
rmSync(folder, { recursive: true, force: true });
const same = a.out.equals(b.out);
const errors = a.out.toString().split('\n').filter((l) => l.startsWith('error:')).length;
console.log(`${games} games (${errors} refused lines): native ${(games / a.seconds).toFixed(1)} games/s, ` +
  `WebAssembly under Node.js ${process.version} ${(games / b.seconds).toFixed(1)} games/s ` +
  `(${((100 * a.seconds) / b.seconds).toFixed(0)} % of native); outputs ${same ? 'identical' : 'DIFFER'}`);
