// Plays the core's motion plan: cards sliding from place to place one step
// after another, the captions in step with them. The plan is the desktop
// window's own; this only animates it.
import type { Place, StepView, TableLayout, TableView } from './core.js';
import { elementKey } from './colour.js';
import type { Decks } from './decks.js';

export interface MotionTarget {
  /** Shows a step's pictures and captions while its cards fly. */
  showStep(step: StepView): void;
  /** Shows the game as it is now. */
  showView(view: TableView): void;
}

export class Motion {
  private flyers: HTMLElement[] = [];

  constructor(
    private readonly layer: HTMLElement,
    private readonly layout: TableLayout,
    private readonly decks: Decks,
    private readonly target: MotionTarget,
  ) {}

  /** Slides a view's moves, step after step, then shows the view. Steps
   * hurry while `hurry()` says the game has moved on meanwhile; `landed`
   * hears how many steps have landed, after each and once at the end. */
  async play(view: TableView, hurry: () => boolean, landed?: (done: number) => void): Promise<void> {
    let done = 0;
    if (!view.motion.snap) {
      for (const step of view.motion.steps) {
        await this.slide(step, hurry() ? this.layout.motion.hurriedStepMs : this.layout.motion.stepMs);
        landed?.(++done);
      }
    }
    this.clearFlyers();
    this.target.showView(view);
    landed?.(Number.MAX_SAFE_INTEGER);
  }

  private slide(step: StepView, ms: number): Promise<void> {
    this.target.showStep(step);
    this.clearFlyers();
    const animations: Promise<unknown>[] = [];
    for (const flight of step.flights) {
      const from = this.placeOf(flight.from.element, flight.from.index);
      const to = this.placeOf(flight.to.element, flight.to.index);
      const card = document.createElement('div');
      card.className = 'flyer';
      card.setAttribute('aria-hidden', 'true');
      setBox(card, from);
      const picture = this.decks.draw(flight.shown);
      if (picture) card.append(picture);
      this.layer.append(card);
      this.flyers.push(card);
      const dx = (to.left - from.left) / 15;
      const dy = (to.top - from.top) / 15;
      animations.push(card.animate(
        [{ transform: 'translate(0, 0)' }, { transform: `translate(${dx}px, ${dy}px)` }],
        { duration: ms, easing: 'linear', fill: 'forwards' }).finished);
    }
    return Promise.all(animations).then(() => undefined, () => undefined);
  }

  private clearFlyers(): void {
    for (const flyer of this.flyers) flyer.remove();
    this.flyers = [];
  }

  private placeOf(element: string, index: number): Place {
    const place = this.layout.places[elementKey(element, index)];
    return place ?? { left: 0, top: 0, width: 0, height: 0 };
  }
}

/** Places an absolutely positioned element at a place given in twips. */
export function setBox(element: HTMLElement, place: Place): void {
  element.style.left = `${place.left / 15}px`;
  element.style.top = `${place.top / 15}px`;
  element.style.width = `${place.width / 15}px`;
  element.style.height = `${place.height / 15}px`;
}
