// Runs the native tesva-headless and its WebAssembly build under Node.js on
// the same scripts (the project's own, then random ones) with the same seed,
// and compares what each prints, byte for byte, and how each exits. A
// difference prints the script that shows it.
//   node compare.mjs NATIVE WASM_JS [--count N] [--seed S] [SCRIPT...]
import { execFile } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { availableParallelism, tmpdir } from 'node:os';
import { join } from 'node:path';
import { randomScript } from './scripts.mjs';

function parseArguments(argv) {
  const options = { count: 2000, seed: Date.now() % 1000000, files: [] };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === '--count') options.count = Number(argv[++i]);
    else if (argv[i] === '--seed') options.seed = Number(argv[++i]);
    else options.files.push(argv[i]);
  }
  return options;
}

function run(command, args, environment) {
  return new Promise((resolve) => {
    execFile(command, args, { env: { ...process.env, ...environment }, encoding: 'buffer',
      maxBuffer: 256 * 1024 * 1024 }, (error, stdout, stderr) => {
      resolve({ status: error ? error.code : 0, stdout, stderr });
    });
  });
}

function firstDifference(a, b) {
  const n = Math.min(a.length, b.length);
  let i = 0;
  while (i < n && a[i] === b[i]) ++i;
  return i;
}

// What differs between the two runs, or nothing.
function difference(native, wasm) {
  for (const part of ['stdout', 'stderr']) {
    if (!native[part].equals(wasm[part])) {
      const at = firstDifference(native[part], wasm[part]);
      const around = (buffer) => buffer.subarray(Math.max(0, at - 80), at + 80).toString();
      return `${part} differs at byte ${at}:\n  native: ${around(native[part])}\n` +
        `  wasm:   ${around(wasm[part])}`;
    }
  }
  if (native.status !== wasm.status) return `exit status: native ${native.status}, wasm ${wasm.status}`;
  return null;
}

async function main() {
  const [native, wasm, ...rest] = process.argv.slice(2);
  if (!native || !wasm) throw new Error('usage: compare.mjs NATIVE WASM_JS [--count N] [--seed S] [SCRIPT...]');
  const options = parseArguments(rest);
  console.log(`same-game: seed ${options.seed}, ${options.count} random scripts, ` +
    `${options.files.length} project scripts`);
  const folder = mkdtempSync(join(tmpdir(), 'tesva-same-'));
  const cases = options.files.map((file) => ({ name: file, file, seed: 1 }));
  for (let i = 0; i < options.count; ++i) {
    const seed = options.seed + i;
    const file = join(folder, `${seed}.txt`);
    writeFileSync(file, randomScript(seed));
    cases.push({ name: `random script ${seed}`, file, seed });
  }
  let passed = 0;
  const failures = [];
  let next = 0;
  async function worker() {
    while (next < cases.length) {
      const c = cases[next++];
      // A small search keeps the master level quick; both sides use it.
      const environment = { TESVA_SEED: String(c.seed), TESVA_USTA_SEARCH: '12' };
      const [a, b] = await Promise.all([run(native, [c.file], environment),
        run(process.execPath, [wasm, c.file], environment)]);
      const why = difference(a, b);
      if (why) failures.push({ ...c, why, script: readFileSync(c.file, 'utf8') });
      else ++passed;
    }
  }
  await Promise.all(Array.from({ length: availableParallelism() }, worker));
  for (const f of failures.slice(0, 5)) {
    console.log(`\nFAILED: ${f.name} (TESVA_SEED=${f.seed} TESVA_USTA_SEARCH=12)\n${f.why}\n` +
      `--- script ---\n${f.script}--- end ---`);
  }
  rmSync(folder, { recursive: true, force: true });
  console.log(`${passed} passed, ${failures.length} failed`);
  process.exitCode = failures.length === 0 ? 0 : 1;
}

await main();
