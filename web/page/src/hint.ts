// The hint, as the window gives it: "İpucu" or the key H asks the core for
// the position from the player's seat, a worker running the same core looks
// for the master's card in it off the page's main thread, and the core
// marks the card if the game has not moved on meanwhile. The mark is the
// hover frame's shape in a colour of its own.
import type { Core, HintPosition, TableLayout } from './core.js';
import { setBox } from './motion.js';

interface Answer {
  generation: number;
  slot: number;
}

export class Hint {
  private worker: Worker | null = null;
  private readonly frame: HTMLElement;
  private readonly words: HTMLElement;
  private described: Element | null = null;

  constructor(
    private readonly core: Core,
    private readonly layout: TableLayout,
    table: HTMLElement,
    private readonly marked: () => void,
  ) {
    this.frame = document.createElement('div');
    this.frame.className = 'hint-frame';
    this.frame.setAttribute('aria-hidden', 'true');
    this.frame.hidden = true;
    // A screen reader hears the marked card described by the command's
    // caption.
    this.words = document.createElement('span');
    this.words.id = 'hint-mark';
    this.words.hidden = true;
    this.words.textContent = layout.hintCommand;
    table.append(this.frame, this.words);
  }

  /** Loads the worker's core ahead of the first request, so that the first
   * hint does not wait for it. */
  warm(): void {
    this.workerOf();
  }

  ask(): void {
    const position: HintPosition | null = this.core.askHint();
    if (!position) return;
    performance.mark('tesva-hint-asked');
    this.workerOf().postMessage(position);
  }

  /** The mark on hand slot `slot`, none for 0. */
  show(slot: number): void {
    this.frame.hidden = slot === 0;
    const key = `Player1_Kart(${slot})`;
    const place = this.layout.places[key];
    if (slot !== 0 && place) setBox(this.frame, place);
    const card = slot === 0 ? null : document.querySelector(`[data-element="${key}"]`);
    if (card === this.described) return;
    this.described?.removeAttribute('aria-describedby');
    card?.setAttribute('aria-describedby', this.words.id);
    this.described = card;
  }

  private workerOf(): Worker {
    if (!this.worker) {
      this.worker = new Worker(new URL('./hint-worker.js', document.baseURI), { type: 'module' });
      this.worker.addEventListener('message', (event: MessageEvent<Answer>) => this.found(event.data));
    }
    return this.worker;
  }

  private found(answer: Answer): void {
    if (this.core.hintFound(answer.generation, answer.slot)) {
      performance.measure('tesva-hint', 'tesva-hint-asked');
      this.marked();
    }
  }
}
