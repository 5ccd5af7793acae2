// The table: every element at its place, drawn from the core's view. Hand
// cards and names are buttons; the status line is a live region.
import type { PictureView, StepView, TableLayout, TableState, TableView } from './core.js';
import { cssColour, elementKey } from './colour.js';
import type { Decks } from './decks.js';
import { setBox } from './motion.js';
import { PileEdges } from './piles.js';

const CAPTIONS = ['Label1', 'Label2', 'Label7', 'Label8', 'Player1_Name', 'Player2_Name'];

export interface TableInput {
  click(target: string): void;
  hover(target: string): void;
}

export class Table {
  readonly root: HTMLElement;
  readonly layer: HTMLElement;
  private readonly pictures = new Map<string, HTMLElement>();
  private readonly drawn = new Map<string, string>();
  private readonly labels = new Map<string, HTMLElement>();
  private readonly hoverFrame: HTMLElement;
  private readonly panel: HTMLElement;
  private readonly lists = new Map<string, HTMLElement>();
  private readonly edges = new PileEdges();

  constructor(
    private readonly layout: TableLayout,
    private readonly decks: Decks,
    private readonly input: TableInput,
  ) {
    this.root = document.createElement('div');
    this.root.className = 'table';
    this.root.style.width = `${layout.client.width / 15}px`;
    this.root.style.height = `${layout.client.height / 15}px`;
    this.root.addEventListener('pointermove', (event) => this.pointerMoved(event));
    for (let i = 1; i <= 4; ++i) {
      this.addPicture('Player2_Kart', i, false);
      this.addPicture('Player1_Kart', i, true);
    }
    for (const name of ['Deste', 'Player1_Deste', 'Player2_Deste', 'EnAltKart', 'OrtadakiKartlar']) {
      this.addPicture(name, 0, false);
    }
    for (const name of CAPTIONS) this.addLabel(name);
    this.hoverFrame = this.placed('div', 'Shape1', 'hover-frame');
    this.hoverFrame.setAttribute('aria-hidden', 'true');
    this.hoverFrame.style.borderColor = cssColour(layout.colours.frame);
    this.layer = document.createElement('div');
    this.layer.className = 'motion-layer';
    this.root.append(this.layer);
    this.panel = this.makePanel();
  }

  /** The game as it is now. */
  showView(view: TableView): void {
    this.root.style.backgroundColor = cssColour(view.background);
    this.root.classList.toggle('busy', view.pointer === 'hourglass');
    for (const picture of view.pictures) this.showPicture(picture);
    this.showZOrder(view.zorder);
    for (const name of CAPTIONS) this.showLabel(name, view.labels[name]?.caption);
    this.showTracker(view);
    this.showLists(view.lists);
    this.hoverFrame.hidden = !view.hover.visible;
    this.hoverFrame.style.left = `${view.hover.left / 15}px`;
    this.hoverFrame.style.top = `${view.hover.top / 15}px`;
    this.panel.hidden = !view.rulesPanel;
  }

  /** The controls as the game stands now, while pictures may still slide:
   * a card the game no longer takes is no longer a target. */
  showControls(view: TableState): void {
    for (const picture of view.pictures) {
      const node = this.pictures.get(elementKey(picture.element, picture.index));
      if (node instanceof HTMLButtonElement) {
        node.disabled = !picture.enabled || !picture.picture;
        node.setAttribute('aria-label', picture.name);
      }
    }
  }

  /** What the table shows while a step of a move slides. */
  showStep(step: StepView): void {
    for (const place of step.shown) {
      const element = this.pictures.get(elementKey(place.element, place.index));
      if (element) this.drawPicture(element, elementKey(place.element, place.index), place.picture);
    }
    for (const name of CAPTIONS) {
      if (name in step.captions) this.showLabel(name, step.captions[name]);
    }
    // While a deal slides, the deck is as thick as its caption still says.
    const deck = step.shown.find((place) => place.element === 'Deste');
    if (step.deckEdges !== null) this.showEdges('Deste', deck?.picture ? step.deckEdges : 0);
  }

  focusCard(index: number): void {
    (this.pictures.get(elementKey('Player1_Kart', index)) as HTMLButtonElement | undefined)?.focus();
  }

  private addPicture(element: string, index: number, button: boolean): void {
    const key = elementKey(element, index);
    const node = this.placed(button ? 'button' : 'div', key, 'card');
    node.dataset['element'] = key;
    if (button) {
      (node as HTMLButtonElement).type = 'button';
      node.addEventListener('click', () => this.input.click(key));
    } else {
      node.setAttribute('role', 'img');
    }
    this.pictures.set(key, node);
  }

  private addLabel(name: string): void {
    const clickable = name === 'Player1_Name' || name === 'Player2_Name';
    const node = this.placed(clickable ? 'button' : 'div', name, 'caption');
    node.dataset['element'] = name;
    if (clickable) {
      (node as HTMLButtonElement).type = 'button';
      node.addEventListener('click', () => this.input.click(name));
    }
    if (name === 'Label1') {
      // The window's status line: navy bold text on light grey in a plain
      // one-line box of the text's colour.
      node.setAttribute('role', 'status');
      node.setAttribute('aria-live', 'polite');
      node.style.backgroundColor = cssColour(this.layout.colours.status);
      node.style.color = cssColour(this.layout.colours.statusText);
      node.style.borderColor = node.style.color;
    }
    // The hand's number stands on the status line in the window's own text colour.
    if (name === 'Label7') node.style.color = cssColour(this.layout.colours.handNumber);
    this.labels.set(name, node);
  }

  private placed(tag: string, key: string, className: string): HTMLElement {
    const node = document.createElement(tag);
    node.className = className;
    const place = this.layout.places[key];
    if (place) setBox(node, place);
    this.root.append(node);
    return node;
  }

  private showPicture(view: PictureView): void {
    const key = elementKey(view.element, view.index);
    const node = this.pictures.get(key);
    if (!node) return;
    node.hidden = !view.visible;
    this.drawPicture(node, key, view.picture);
    if (view.edges !== undefined) this.showEdges(key, view.edges);
    // Hand cards take their state from showControls, never from a view
    // that is still sliding in.
    if (node instanceof HTMLButtonElement) return;
    if (view.picture) {
      node.setAttribute('aria-label', view.name);
      node.setAttribute('role', 'img');
    } else {
      node.removeAttribute('aria-label');
      node.removeAttribute('role');
    }
  }

  private drawPicture(node: HTMLElement, key: string, picture: { deck: string; id: string } | null): void {
    const id = picture ? `${picture.deck}/${picture.id}` : '';
    if (this.drawn.get(key) === id) return;
    this.drawn.set(key, id);
    node.replaceChildren();
    const svg = this.decks.draw(picture as never);
    if (svg) node.append(svg);
  }

  private showEdges(key: string, edges: number): void {
    const node = this.pictures.get(key);
    const place = this.layout.places[key];
    if (node && place) this.edges.show(key, node, place, edges);
  }

  private showZOrder(order: number[]): void {
    order.forEach((index, depth) => {
      const card = this.pictures.get(elementKey('Player1_Kart', index));
      if (card) card.style.zIndex = String(1 + depth);
    });
  }

  private showLabel(name: string, caption: string | undefined): void {
    const node = this.labels.get(name);
    if (!node) return;
    node.hidden = caption === undefined;
    if (caption !== undefined && node.textContent !== caption) node.textContent = caption;
  }

  // The played-cards tracker exists on the page only while the core shows it.
  private showTracker(view: TableView): void {
    for (let rank = 1; rank <= 13; ++rank) {
      const key = `Cikanlar(${rank})`;
      const caption = view.labels[key]?.caption;
      let node = this.labels.get(key);
      if (caption === undefined) {
        node?.remove();
        this.labels.delete(key);
        continue;
      }
      if (!node) {
        node = this.placed('div', key, 'caption tracker');
        this.labels.set(key, node);
      }
      node.textContent = caption;
    }
  }

  private showLists(lists: Record<string, string[]>): void {
    for (const name of ['List1', 'List2']) {
      const items = lists[name];
      let node = this.lists.get(name);
      if (!items) {
        node?.remove();
        this.lists.delete(name);
        continue;
      }
      if (!node) {
        node = this.placed('ul', name, 'list');
        node.setAttribute('aria-label', name === 'List1' ? 'Deste' : 'Bilgisayarın eli');
        this.lists.set(name, node);
      }
      node.replaceChildren(...items.map((item) => {
        const li = document.createElement('li');
        li.textContent = item;
        return li;
      }));
    }
  }

  private makePanel(): HTMLElement {
    const panel = this.placed('section', 'Picture1', 'rules-panel');
    panel.hidden = true;
    panel.setAttribute('aria-label', 'Kurallar');
    panel.style.backgroundColor = cssColour(this.layout.colours.panel);
    for (const text of this.layout.rulesPanel) {
      const node = document.createElement('div');
      node.className = 'panel-text';
      setBox(node, text.place);
      node.textContent = text.caption;
      node.style.color = cssColour(text.colour);
      if (text.bold) node.style.fontWeight = 'bold';
      if (text.font) node.style.fontFamily = `${text.font}, "Liberation Sans", sans-serif`;
      if (text.pointSize > 0) node.style.fontSize = `${(text.pointSize * 4) / 3}px`;
      node.style.whiteSpace = text.wordWrap ? 'normal' : 'nowrap';
      panel.append(node);
    }
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.className = 'panel-button';
    ok.textContent = this.layout.command1.caption;
    setBox(ok, this.layout.command1.place);
    ok.style.backgroundColor = cssColour(this.layout.colours.button);
    ok.addEventListener('click', () => this.input.click('Command1'));
    panel.append(ok);
    return panel;
  }

  // Hovering reports the hand card under the pointer, or the table itself.
  private lastHover = '';
  private pointerMoved(event: PointerEvent): void {
    if (event.pointerType !== 'mouse') return;
    const card = (event.target as Element).closest('[data-element^="Player1_Kart"]');
    const target = card ? (card as HTMLElement).dataset['element'] ?? 'main' : 'main';
    if (target === this.lastHover) return;
    this.lastHover = target;
    this.input.hover(target);
  }
}
