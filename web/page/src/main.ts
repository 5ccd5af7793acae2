// The page: loads the core and the decks, lays out the table and the menu
// bar, and from then on hands every click, key, menu command, answer and
// timer tick to the core and draws what it returns.
import { Core, type TableState, type TimerView } from './core.js';
import { Decks } from './decks.js';
import { Dialogs } from './dialogs.js';
import { Hint } from './hint.js';
import { MenuBar } from './menus.js';
import { Motion } from './motion.js';
import { Sounds } from './sounds.js';
import { Story } from './story.js';
import { type RecordTexts, StatisticsDialog, recordTexts } from './statistics.js';
import { ElsewhereNotice, TabLock } from './tabs.js';
import { Table } from './table.js';

type Kind = 'click' | 'hover' | 'menu' | 'tick';

class Page {
  private readonly timers = new Map<string, { handle: number; interval: number }>();
  private view: TableState | null = null;
  private drawing = false;
  private moved = false;
  private readonly table: Table;
  private readonly menus: MenuBar;
  private readonly motion: Motion;
  private readonly dialogs: Dialogs;
  private readonly ended: HTMLElement;
  private readonly story: Story;
  private readonly hint: Hint;
  private readonly sounds: Sounds;
  private readonly statistics: StatisticsDialog;
  private readonly keep: (on: number) => string;
  private yielded = false;

  constructor(private readonly core: Core, decks: Decks, private readonly seed: string,
    texts: RecordTexts) {
    const layout = core.layout();
    this.menus = new MenuBar(layout.menus, (name) => this.deliver('menu', name));
    this.table = new Table(layout, decks, {
      click: (target) => this.deliver('click', target),
      hover: (target) => this.deliver('hover', target),
    });
    this.motion = new Motion(this.table.layer, layout, decks, this.table);
    this.dialogs = new Dialogs((reply) => this.refresh(this.core.answer(reply)));
    this.statistics = new StatisticsDialog(core, texts);
    this.keep = core.bind('tesva_keep', null, ['number']);
    this.ended = this.makeEndScreen();
    this.story = new Story(this.table.root, layout, () => this.deliver('menu', 'mnuYeni'));
    this.hint = new Hint(core, layout, this.table.root, () => this.refresh(''));
    this.menus.addCommand('mnuIpucu', layout.hintCommand, () => this.hint.ask());
    this.menus.addCommand('mnuIstatistik', texts.command, () => this.statistics.show());
    this.sounds = new Sounds('./sounds', layout.sounds);
    const main = document.createElement('main');
    main.className = 'stage';
    const heading = document.createElement('h1');
    heading.className = 'page-title';
    heading.textContent = layout.title;
    const frame = document.createElement('div');
    frame.className = 'frame';
    frame.append(this.table.root);
    main.append(heading, frame, this.ended);
    document.body.prepend(this.menus.root, main);
    window.addEventListener('resize', () => this.fit());
    document.addEventListener('keydown', (event) => this.key(event));
    this.fit();
    this.core.start(seed);
    this.refresh('');
  }

  // Another tab took the game over: this one stops writing it and stands
  // still behind the notice until it takes the game back, as it is kept.
  yieldTo(notice: ElsewhereNotice, tabs: TabLock): void {
    this.yielded = true;
    this.keep(0);
    this.runTimers(null);
    delete document.body.dataset['ready'];
    notice.show(() => void tabs.takeOver().then(() => {
      this.yielded = false;
      this.core.start(this.seed);
      this.refresh('');
      document.body.dataset['ready'] = 'true';
    }));
  }

  private deliver(kind: Kind, target: string): void {
    if (this.yielded) return;
    this.refresh(this.core.deliver(kind, target));
  }

  // After every event: the controls follow the game at once, a box the
  // core opened shows, the timers run as the core says; the pictures slide
  // after them.
  private refresh(refusal: string): void {
    if (refusal) console.debug(`tesva: ${refusal}`);
    const state = this.core.state();
    this.view = state;
    // The page's title is the window's caption, as the desktop's title bar.
    if (document.title !== state.caption) document.title = state.caption;
    this.table.showControls(state);
    this.menus.show(state.menus);
    this.dialogs.show(state.dialog);
    this.runTimers(state.exited ? null : state.timers);
    this.ended.hidden = !state.exited;
    this.story.showGameEnd(state.gameEnd);
    this.hint.show(state.hint);
    if (state.exited) (this.ended.querySelector('button') as HTMLElement).focus();
    void this.draw();
  }

  // One motion at a time, each from the table last drawn to the game as it
  // is when the motion starts: never more than one move behind the game.
  private async draw(): Promise<void> {
    this.moved = true;
    if (this.drawing) return;
    this.drawing = true;
    document.body.dataset['drawing'] = 'true';
    while (this.moved) {
      this.moved = false;
      const view = this.core.view();
      this.sounds.play(view.sounds);
      const steps = view.motion.snap ? 0 : view.motion.steps.length;
      await this.motion.play(view, () => this.moved, this.story.follow(view.story, steps));
    }
    this.drawing = false;
    delete document.body.dataset['drawing'];
    document.body.dataset['drawn'] = String(Number(document.body.dataset['drawn'] ?? 0) + 1);
  }

  private runTimers(timers: Record<string, TimerView> | null): void {
    for (const name of ['Timer1', 'Timer2']) {
      const timer = timers?.[name];
      const running = this.timers.get(name);
      if (running && (!timer?.enabled || running.interval !== timer.interval)) {
        window.clearInterval(running.handle);
        this.timers.delete(name);
      }
      if (timer?.enabled && !this.timers.has(name)) {
        const handle = window.setInterval(() => this.deliver('tick', name), timer.interval);
        this.timers.set(name, { handle, interval: timer.interval });
      }
    }
  }

  // Keys as the window takes them: 1 to 4 play a card, F1 opens the rules,
  // F2 starts a new game; Tab and the arrows move among the playable cards.
  private key(event: KeyboardEvent): void {
    if (this.yielded || this.statistics.open) return;
    if (this.view?.dialog || this.view?.exited || event.altKey || event.ctrlKey || event.metaKey) return;
    if ((event.target as Element).closest('.menu-bar')) return;
    const card = /^[1-4]$/.test(event.key) ? Number(event.key) : 0;
    if (card) {
      this.deliver('click', `Player1_Kart(${card})`);
    } else if (event.key === 'F1') {
      this.deliver('menu', 'mnuHelp');
    } else if (event.key === 'F2') {
      this.deliver('menu', 'mnuYeni');
    } else if ((event.key === 'h' || event.key === 'H') && !event.shiftKey) {
      this.hint.ask();
    } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
      this.moveFocus(event.key === 'ArrowRight' ? 1 : -1);
    } else {
      return;
    }
    event.preventDefault();
  }

  private moveFocus(step: number): void {
    const cards = Array.from(document.querySelectorAll<HTMLButtonElement>(
      '.table button.card:not([disabled])'));
    if (cards.length === 0) return;
    const at = cards.indexOf(document.activeElement as HTMLButtonElement);
    const next = at < 0 ? (step > 0 ? 0 : cards.length - 1) : (at + step + cards.length) % cards.length;
    cards[next]?.focus();
  }

  // "Çıkış" ends the program; the page says so and offers a new start.
  private makeEndScreen(): HTMLElement {
    const ended = document.createElement('section');
    ended.className = 'ended';
    ended.hidden = true;
    ended.setAttribute('aria-label', 'Oyun kapandı');
    const text = document.createElement('p');
    text.textContent = 'Tesva kapandı.';
    const again = document.createElement('button');
    again.type = 'button';
    again.textContent = 'Yeniden başlat';
    again.addEventListener('click', () => {
      this.core.start(this.seed);
      this.refresh('');
    });
    ended.append(text, again);
    return ended;
  }

  /** Readies what the first hint needs once the table is up. */
  warm(): void {
    window.setTimeout(() => this.hint.warm(), 0);
  }

  // The table keeps its proportions and fills the space under the menu bar.
  private fit(): void {
    const root = this.table.root;
    const stage = root.parentElement?.parentElement as HTMLElement;
    const width = root.offsetWidth;
    const height = root.offsetHeight;
    const scale = Math.min(stage.clientWidth / width, stage.clientHeight / height);
    root.style.transform = `scale(${scale})`;
    (root.parentElement as HTMLElement).style.width = `${width * scale}px`;
    (root.parentElement as HTMLElement).style.height = `${height * scale}px`;
  }
}

async function boot(): Promise<void> {
  const seed = new URLSearchParams(window.location.search).get('seed') ?? '';
  const [core, decks] = await Promise.all([Core.load('./tesva-table.mjs'), Decks.load('./decks')]);
  const texts = recordTexts(core);
  const notice = new ElsewhereNotice(texts);
  const tabs = TabLock.supported() ? new TabLock() : null;
  const start = () => {
    const page = new Page(core, decks, /^\d{1,20}$/.test(seed) ? seed : '', texts);
    tabs?.onLost(() => page.yieldTo(notice, tabs));
    // The core's snapshot of the table, for the page's tests to compare.
    Object.defineProperty(window, 'tesvaState', { value: () => core.state(), configurable: true });
    // Keeping switched off and on, for measuring what keeping costs a move.
    const keep = core.bind('tesva_keep', null, ['number']);
    Object.defineProperty(window, 'tesvaKeeping', { value: (on: boolean) => keep(on ? 1 : 0),
      configurable: true });
    document.body.dataset['ready'] = 'true';
    page.warm();
    performance.mark('tesva-ready');
  };
  if (!tabs || (await tabs.take())) start();
  else notice.show(() => void tabs.takeOver().then(start));
  keepSiteOffline();
}

// The service worker keeps the site for the next start with no network.
// Once the page has all it needs, it asks whether the site has a new
// version: the new worker then fetches it and takes over, and the next
// start plays it. With no network the question simply goes unanswered.
function keepSiteOffline(): void {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('./sw.js').then(
    (registration) => registration.update().catch(() => {}),
    (error: unknown) => console.warn('tesva: the site cannot be kept for playing offline', error));
}

boot().catch((error: unknown) => {
  console.error(error);
  document.body.textContent = `Tesva açılamadı: ${String(error)}`;
});
