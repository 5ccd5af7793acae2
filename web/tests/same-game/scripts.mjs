// Random scripts for the headless driver, fixed by their seed: hostile
// stored options, every command the driver takes (valid and not), all three
// levels, replies and answers of every kind, and events in any order.
const KEYS = ['Seviye', 'CpuDusunmeHizi', 'ElSayisi', 'Sesler', 'BackGround', 'Deste',
  'OyuncuIsim', 'CpuIsim', 'MasaBuyuklugu', 'Bilinmeyen'];
const MENUS = ['mnuYeni', 'mnuSecenek', 'mnuSeviye', 'mnuAmator', 'mnuPro', 'mnuUsta', 'mnuBack',
  'mnuYesil', 'mnuLacivert', 'mnuSiyah', 'mnuDeste', 'mnuStandart', 'mnuRenkli',
  'mnuDusunmeHizi', 'mnuFirst', 'mnuSecond', 'mnuTherd', 'mnuLast', 'mnuElSayisi', 'mnuSesler',
  'mnuHelp', 'mnuCikis', 'line1', 'mnuYok'];
const SUITS = ['K', 'M', 'S', 'D'];
const CARDS = SUITS.flatMap((s) => Array.from({ length: 13 }, (_, i) => `${s}${i + 1}`));

// A small, well-mixed generator (mulberry32): the same seed, the same script.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const int = (n) => Math.floor(next() * n);
  const pick = (list) => list[int(list.length)];
  return { next, int, pick };
}

function hostileText(r) {
  return r.pick([
    '', ' ', '0', '1', '2', '3', '-1', '10', '100', '500', '1000', '65535', '65536', '99999',
    '007', '1.5', '2,5', ' 11 ', '0.5', '98.5', '99.5', '1e3', '+7', '-0', 'Back', 'Back2',
    '32768', '8388608', '0', '16777215', 'GateKeeper', 'Oyuncu', 'Ayşe Öztürk', 'x'.repeat(40),
    'ğüşıöç'.repeat(6), '\t5\t', 'abc', '.', ',', '150', '200', '\u00ff\u00fe', '12345678901234567890',
  ]);
}

function decimal(r) {
  return r.pick([
    () => String(r.next()),
    () => r.next().toFixed(r.int(6)),
    () => `.${r.int(10)}`,
    () => `${r.int(2)}.`,
    () => '0.' + '0'.repeat(r.int(400)) + String(1 + r.int(9)),
    () => '0.' + '9'.repeat(1 + r.int(25)),
    () => r.pick(['1', '1.0', '-0.5', 'abc', '', '0x1', '1e-3', '00.25', '0..1', 'nan']),
  ])();
}

function deckLine(r) {
  const deck = [...CARDS];
  for (let i = deck.length - 1; i > 0; --i) {
    const j = r.int(i + 1);
    [deck[i], deck[j]] = [deck[j], deck[i]];
  }
  const spoil = r.int(6);
  if (spoil === 0) deck.pop();
  if (spoil === 1) deck[3] = deck[7];
  if (spoil === 2) deck[10] = 'X9';
  return `deck ${deck.join(' ')}`;
}

function event(r) {
  const card = () => `Player1_Kart(${r.pick([1, 2, 3, 4, 1, 2, 3, 4, 0, 5])})`;
  return r.pick([
    () => `click ${card()}`, () => `click ${card()}`, () => `click ${card()}`,
    () => 'wait', () => 'wait', () => 'wait',
    () => `hover ${card()}`, () => 'hover main',
    () => `click ${r.pick(['Player1_Name', 'Player2_Name', 'Command1', 'Deste', 'nothing'])}`,
    () => `menu ${r.pick(MENUS)}`, () => `menu ${r.pick(['mnuAmator', 'mnuPro', 'mnuUsta'])}`,
    () => `tick ${r.pick(['Timer1', 'Timer2', 'Timer3'])}`,
    () => `reply ${hostileText(r)}`, () => `answer ${r.pick(['yes', 'no', 'maybe', ''])}`,
    () => `random ${Array.from({ length: 1 + r.int(4) }, () => decimal(r)).join(' ')}`,
    () => `store ${r.pick(KEYS)} ${hostileText(r)}`, () => `unstore ${r.pick(KEYS)}`,
    () => 'dump', () => 'dump', () => `echo ${hostileText(r)}`,
    () => r.pick(['', '# a note', '   ', 'bogus line', 'click', 'menu', 'start', 'dump\r']),
    () => deckLine(r),
  ])();
}

// The script of `seed`: hostile options, then start (usually), then events.
export function randomScript(seed) {
  const r = generator(seed);
  const lines = [];
  for (let n = r.int(5); n > 0; --n) lines.push(`store ${r.pick(KEYS)} ${hostileText(r)}`);
  lines.push(`store Seviye ${r.pick(['1', '2', '3', '1', '2', '3', hostileText(r)])}`);
  if (r.int(3) === 0) lines.push(deckLine(r));
  if (r.int(4) === 0) lines.push(`store ElSayisi ${r.pick(['1', '2'])}`);
  if (r.int(12) !== 0) lines.push('start');
  // A player who mostly plays on reaches hand and game ends; others roam.
  const plays = r.int(2) === 0;
  for (let n = 20 + r.int(180); n > 0; --n) {
    if (plays && r.int(4) !== 0) lines.push(`click Player1_Kart(${1 + r.int(4)})`, 'wait');
    else lines.push(event(r));
  }
  lines.push('dump');
  return lines.join('\n') + '\n';
}
