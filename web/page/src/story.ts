// What the table tells besides the game's captions, as the desktop window
// tells it: a take's points rising from the taker's pile, the hand's board
// until the next click, key or move, and the game's result with the way to
// the next game. The words and figures are the core's; this draws them once
// the cards they tell of have landed. A screen reader hears the points from
// a live region; nothing here takes a click but the result's button.
import type { Announcement, GameEndView, HandBoardView, Place, StoryView, TableLayout } from './core.js';
import { setBox } from './motion.js';

/** How long a text rises, as on the desktop. */
const RISE_MS = 1000;
/** The live region keeps the last few texts for a screen reader. */
const HEARD = 3;

export class Story {
  private readonly layer: HTMLElement;
  private readonly heard: HTMLElement;
  private board: HTMLElement | null = null;
  private end: HTMLElement | null = null;
  private endShown = '';

  constructor(
    private readonly table: HTMLElement,
    private readonly layout: TableLayout,
    private readonly newGame: () => void,
  ) {
    this.layer = document.createElement('div');
    this.layer.className = 'story-layer';
    this.layer.setAttribute('aria-hidden', 'true');
    this.heard = document.createElement('div');
    this.heard.className = 'story-heard';
    this.heard.setAttribute('role', 'log');
    this.heard.setAttribute('aria-live', 'polite');
    this.heard.setAttribute('aria-label', 'Puanlar');
    table.append(this.layer, this.heard);
    // The next click or key anywhere takes the hand's board away, and goes
    // on to do what it does.
    for (const kind of ['pointerdown', 'keydown']) {
      document.addEventListener(kind, () => this.hideBoard(), { capture: true });
    }
  }

  /** A view's story, told as its motion lands: `landed(done, steps)` is
   * called after each step and once at the end. */
  follow(story: StoryView, steps: number): (done: number) => void {
    if (story.boardGoes) this.hideBoard();
    const takeAt = Math.min(steps, 2);
    let texts = story.announcements;
    let board = story.handBoard;
    return (done) => {
      if (texts.length > 0 && done >= takeAt) {
        for (const text of texts) this.announce(text);
        texts = [];
      }
      if (board && done >= steps) {
        this.showBoard(board);
        board = null;
      }
    };
  }

  /** The game's result while the game has ended; null hides it. */
  showGameEnd(end: GameEndView | null): void {
    const key = end ? JSON.stringify(end) : '';
    if (key === this.endShown) return;
    const first = this.endShown === '';
    this.endShown = key;
    if (!end) {
      if (this.end) this.end.hidden = true;
      return;
    }
    const panel = this.end ?? this.makeGameEnd();
    (panel.querySelector('.game-end-result') as HTMLElement).textContent = end.result;
    (panel.querySelector('.game-end-totals') as HTMLElement).textContent = end.totals;
    const record = panel.querySelector('.game-end-record') as HTMLElement;
    record.textContent = end.recordLine;
    record.hidden = end.recordLine === '';
    const button = panel.querySelector('button') as HTMLButtonElement;
    button.textContent = end.button;
    panel.hidden = false;
    if (first) button.focus();
  }

  private announce(text: Announcement): void {
    const pile = this.layout.places[text.pile];
    if (!pile) return;
    const rising = document.createElement('div');
    rising.className = text.tesva ? 'rising tesva' : 'rising';
    rising.textContent = text.text;
    // Centred above the middle of the pile's top edge; the piles lie at
    // the table's left edge, so a wide text is kept inside the table.
    rising.style.left = `${(pile.left + pile.width / 2) / 15}px`;
    rising.style.top = `${pile.top / 15}px`;
    this.layer.append(rising);
    const keepInside = rising.offsetLeft - rising.offsetWidth / 2;
    if (keepInside < 0) rising.style.left = `${rising.offsetWidth / 2}px`;
    window.setTimeout(() => rising.remove(), RISE_MS);
    const line = document.createElement('p');
    line.textContent = text.text;
    this.heard.append(line);
    while (this.heard.childElementCount > HEARD) this.heard.firstElementChild?.remove();
  }

  private showBoard(view: HandBoardView): void {
    this.hideBoard();
    const board = document.createElement('section');
    board.className = 'hand-board';
    board.setAttribute('aria-label', view.title);
    board.title = view.names;
    placeBoard(board, this.layout.story.handBoard);
    const title = document.createElement('h2');
    title.textContent = view.title;
    const table = document.createElement('table');
    // The first row holds the names: the columns' headers over an empty
    // corner; every other row's heading heads its row.
    for (const row of view.rows) {
      const names = row === view.rows[0];
      const line = table.insertRow();
      if (row.bold) line.className = 'bold';
      for (const [column, text] of [row.heading, row.human, row.computer].entries()) {
        const header = names ? column > 0 : column === 0;
        const cell = document.createElement(header ? 'th' : 'td');
        cell.textContent = text;
        if (header) cell.setAttribute('scope', names ? 'col' : 'row');
        line.append(cell);
      }
    }
    const leftOver = document.createElement('p');
    leftOver.textContent = view.leftOver;
    board.append(title, table, leftOver);
    this.table.append(board);
    this.board = board;
  }

  private hideBoard(): void {
    this.board?.remove();
    this.board = null;
  }

  private makeGameEnd(): HTMLElement {
    const panel = document.createElement('section');
    panel.className = 'game-end';
    panel.setAttribute('aria-label', 'Oyun bitti');
    const place = this.layout.story.gameEnd;
    // A long record line makes the panel taller: it grows upwards, over the
    // empty floor, never over the name below it.
    panel.style.left = `${place.left / 15}px`;
    panel.style.width = `${place.width / 15}px`;
    panel.style.minHeight = `${place.height / 15}px`;
    panel.style.bottom = `${(this.layout.client.height - place.top - place.height) / 15}px`;
    const result = document.createElement('p');
    result.className = 'game-end-result';
    const totals = document.createElement('p');
    totals.className = 'game-end-totals';
    const record = document.createElement('p');
    record.className = 'game-end-record';
    const button = document.createElement('button');
    button.type = 'button';
    button.addEventListener('click', () => this.newGame());
    panel.append(result, totals, record, button);
    this.table.append(panel);
    this.end = panel;
    return panel;
  }
}

// The board is as tall as its figures, at most its place, and centred on
// the place: a short hand's board leaves the floor's middle free around it.
function placeBoard(board: HTMLElement, place: Place): void {
  setBox(board, place);
  board.style.height = 'auto';
  board.style.maxHeight = `${place.height / 15}px`;
  board.style.top = `${(place.top + place.height / 2) / 15}px`;
}
