// The card pictures: the same KDE deck files the desktop window draws from,
// inlined once into the page, each card then drawn by reference as a vector
// picture, sharp at any size and pixel density.
import type { DeckPicture } from './core.js';

const SVG = 'http://www.w3.org/2000/svg';

interface Frame {
  viewBox: string;
  transform: string;
}

export class Decks {
  private readonly frames = new Map<string, Frame>();
  private constructor(private readonly holder: HTMLElement) {}

  static async load(folder: string): Promise<Decks> {
    const holder = document.createElement('div');
    holder.className = 'deck-store';
    holder.setAttribute('aria-hidden', 'true');
    document.body.append(holder);
    const decks = new Decks(holder);
    await Promise.all(['faces', 'backs'].map((deck) => decks.add(deck, `${folder}/${deck}.svg`)));
    return decks;
  }

  private async add(deck: string, url: string): Promise<void> {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    const parsed = new DOMParser().parseFromString(await response.text(), 'image/svg+xml');
    const root = parsed.documentElement;
    // Every id is prefixed with its deck, so the two files cannot clash.
    for (const element of root.querySelectorAll('[id]')) element.id = `${deck}-${element.id}`;
    for (const element of root.querySelectorAll('*')) renameReferences(element, deck);
    // Moved into the page, not copied: a deep copy of the faces deck cost
    // some 30 ms of a cold start.
    const svg = document.adoptNode(root) as unknown as SVGSVGElement;
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    svg.dataset['deck'] = deck;
    this.holder.append(svg);
  }

  /** An <svg> showing the card, or nothing for an empty place. */
  draw(picture: DeckPicture | null): SVGSVGElement | null {
    if (!picture) return null;
    const id = `${picture.deck}-${picture.id}`;
    const frame = this.frameOf(id);
    if (!frame) return null;
    const svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('viewBox', frame.viewBox);
    svg.setAttribute('preserveAspectRatio', 'none');
    svg.setAttribute('aria-hidden', 'true');
    svg.setAttribute('focusable', 'false');
    const group = document.createElementNS(SVG, 'g');
    group.setAttribute('transform', frame.transform);
    const use = document.createElementNS(SVG, 'use');
    use.setAttribute('href', `#${id}`);
    group.append(use);
    svg.append(group);
    return svg;
  }

  // The card's bounds in its deck's coordinates, and the transforms of the
  // groups around it, which a reference does not carry along.
  private frameOf(id: string): Frame | null {
    const known = this.frames.get(id);
    if (known) return known;
    const element = document.getElementById(id) as SVGGraphicsElement | null;
    const root = element?.ownerSVGElement;
    if (!element || !root) return null;
    const box = element.getBBox();
    const own = element.transform.baseVal.consolidate()?.matrix ?? root.createSVGMatrix();
    const parent = (element.parentNode as SVGGraphicsElement).getCTM() ?? root.createSVGMatrix();
    const rootInverse = (root.getCTM() ?? root.createSVGMatrix()).inverse();
    const outer = rootInverse.multiply(parent);
    const whole = outer.multiply(own);
    const corners = [
      [box.x, box.y], [box.x + box.width, box.y], [box.x, box.y + box.height],
      [box.x + box.width, box.y + box.height],
    ].map(([x, y]) => new DOMPoint(x, y).matrixTransform(whole));
    const xs = corners.map((p) => p.x);
    const ys = corners.map((p) => p.y);
    const left = Math.min(...xs);
    const top = Math.min(...ys);
    const frame = {
      viewBox: `${left} ${top} ${Math.max(...xs) - left} ${Math.max(...ys) - top}`,
      transform: `matrix(${outer.a} ${outer.b} ${outer.c} ${outer.d} ${outer.e} ${outer.f})`,
    };
    this.frames.set(id, frame);
    return frame;
  }
}

function renameReferences(element: Element, deck: string): void {
  for (const attribute of Array.from(element.attributes)) {
    const value = attribute.value;
    let renamed = value.replace(/url\(\s*#([^)\s]+)\s*\)/g, `url(#${deck}-$1)`);
    if ((attribute.localName === 'href') && renamed.startsWith('#')) {
      renamed = `#${deck}-${renamed.slice(1)}`;
    }
    if (renamed !== value) element.setAttributeNS(attribute.namespaceURI, attribute.name, renamed);
  }
}
