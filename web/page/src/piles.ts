// The piles as thick as they are: the edges of the cards under a pile's top
// card, drawn beside it as the window draws them, as many as the core says.
import type { Place } from './core.js';

const MAX_EDGES = 7;

export class PileEdges {
  private readonly drawn = new Map<string, { node: HTMLElement; edges: number }>();

  /** Shows `edges` edges under the pile `card` at `place`. */
  show(key: string, card: HTMLElement, place: Place, edges: number): void {
    let pile = this.drawn.get(key);
    if (!pile) {
      const node = document.createElement('div');
      node.className = 'pile-edges';
      node.setAttribute('aria-hidden', 'true');
      card.before(node);  // under the top card
      pile = { node, edges: -1 };
      this.drawn.set(key, pile);
    }
    if (pile.edges === edges) return;
    pile.edges = edges;
    // Two pixels an edge on a card 64 pixels wide, more on larger cards.
    const width = place.width / 15;
    const step = Math.max(1, Math.floor(width / 32));
    pile.node.style.left = `${place.left / 15}px`;
    pile.node.style.top = `${place.top / 15}px`;
    pile.node.style.width = `${width + MAX_EDGES * step}px`;
    pile.node.style.height = `${place.height / 15}px`;
    pile.node.hidden = edges === 0;
    // Back to front: the lowest card's edge lies farthest to the right.
    const cards: HTMLElement[] = [];
    for (let edge = edges; edge >= 1; --edge) {
      const edgeCard = document.createElement('div');
      edgeCard.className = 'pile-edge';
      edgeCard.style.left = `${edge * step}px`;
      edgeCard.style.width = `${width}px`;
      cards.push(edgeCard);
    }
    pile.node.replaceChildren(...cards);
  }
}
