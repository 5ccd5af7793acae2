// One tab plays the kept game at a time. The tab that holds the game holds
// a Web Lock for as long as it lives (the browser lets it go when the tab
// closes or crashes); a second tab says that the game is open in another
// tab and offers to take it over, which steals the lock: the first tab then
// stops writing and says the same. A browser without Web Locks plays in
// every tab, as before.
import { button, makeBox } from './dialogs.js';
import type { RecordTexts } from './statistics.js';

const LOCK = 'tesva-oyun';

export class TabLock {
  private lost: () => void = () => {};

  static supported(): boolean {
    return 'locks' in navigator;
  }

  /** Called when another tab takes the game over. */
  onLost(run: () => void): void {
    this.lost = run;
  }

  /** Takes the game if no other tab holds it; true when taken. */
  take(): Promise<boolean> {
    return this.request({ ifAvailable: true });
  }

  /** Takes the game from the tab that holds it. */
  async takeOver(): Promise<void> {
    await this.request({ steal: true });
  }

  // Resolves once the lock is held (true) or refused (false); the lock is
  // then held until this tab ends or another steals it.
  private request(options: LockOptions): Promise<boolean> {
    return new Promise((answer) => {
      navigator.locks.request(LOCK, options, (lock) => {
        answer(lock !== null);
        return lock ? new Promise<void>(() => {}) : undefined;
      }).catch((error: unknown) => {
        if (error instanceof DOMException && error.name === 'AbortError') this.lost();
        else console.warn('tesva: the tabs cannot share the game', error);
      });
    });
  }
}

// The notice over the page while another tab holds the game.
export class ElsewhereNotice {
  private readonly dialog: HTMLDialogElement;
  private take: () => void = () => {};

  constructor(texts: RecordTexts) {
    this.dialog = makeBox('elsewhere', 'elsewhere-text');
    const text = document.createElement('p');
    text.id = 'elsewhere-text';
    text.textContent = texts.openElsewhere;
    const takeOver = button(texts.takeOver, () => {
      this.dialog.close();
      delete document.body.dataset['elsewhere'];
      this.take();
    });
    // Escape leaves the notice up: this tab has no game to go back to.
    this.dialog.addEventListener('cancel', (event) => event.preventDefault());
    this.dialog.append(text, takeOver);
    document.body.append(this.dialog);
  }

  show(take: () => void): void {
    this.take = take;
    document.body.dataset['elsewhere'] = 'true';
    if (!this.dialog.open) this.dialog.showModal();
    (this.dialog.querySelector('button') as HTMLElement).focus();
  }
}
