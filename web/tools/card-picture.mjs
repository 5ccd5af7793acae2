// One card's picture out of a deck's SVG file: the card's group, the groups
// around it (whose transforms and styles it inherits) and everything it
// refers to (gradients, patterns, clip paths, reused shapes), each copied
// as it stands, so that the card draws exactly as in the whole deck.
// The page uses one back of a deck of many, most of that deck's weight.
//   node card-picture.mjs DECK.svg ID > CARD.svg
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

// The deck's elements as a tree, each with its place in the text: a start
// tag's [start, startEnd) and the whole element's [start, end).
function parse(text) {
  const root = { name: '#document', attributes: {}, children: [], start: 0, startEnd: 0, end: text.length };
  const open = [root];
  const token = /<!--[\s\S]*?-->|<\?[\s\S]*?\?>|<!\[CDATA\[[\s\S]*?\]\]>|<!DOCTYPE[^>[]*>|<\/([^\s>]+)\s*>|<([^\s/>!?]+)((?:\s+[^\s=/>]+\s*=\s*(?:"[^"]*"|'[^']*'))*)\s*(\/?)>/g;
  let match;
  while ((match = token.exec(text))) {
    const [whole, closing, name, attributeText, selfClosing] = match;
    if (closing !== undefined) {
      const element = open.pop();
      if (element.name !== closing) throw new Error(`</${closing}> closes <${element.name}> at ${match.index}`);
      element.end = match.index + whole.length;
    } else if (name !== undefined) {
      const attributes = {};
      for (const [, key, double, single] of attributeText.matchAll(/([^\s=/>]+)\s*=\s*(?:"([^"]*)"|'([^']*)')/g)) {
        attributes[key] = double ?? single;
      }
      const element = { name, attributes, children: [], start: match.index, startEnd: match.index + whole.length,
        end: match.index + whole.length, parent: open[open.length - 1] };
      open[open.length - 1].children.push(element);
      if (!selfClosing) open.push(element);
    } else if (whole.startsWith('<!DOCTYPE') && whole.includes('[')) {
      throw new Error('a document type with its own declarations is not read');
    }
  }
  if (open.length !== 1) throw new Error(`<${open[open.length - 1].name}> is never closed`);
  return root;
}

function* elements(element) {
  yield element;
  for (const child of element.children) yield* elements(child);
}

// The ids an element's attributes refer to: url(#id) and href="#id".
function references(element) {
  const ids = [];
  for (const [key, value] of Object.entries(element.attributes)) {
    for (const [, id] of value.matchAll(/url\(\s*#([^)\s]+)\s*\)/g)) ids.push(id);
    if ((key === 'href' || key.endsWith(':href')) && value.startsWith('#')) ids.push(value.slice(1));
  }
  return ids;
}

const contains = (outer, inner) => outer.start <= inner.start && inner.end <= outer.end;

export function cardPicture(text, id) {
  const document = parse(text);
  const byId = new Map();
  for (const element of elements(document)) {
    if (element.attributes.id !== undefined) byId.set(element.attributes.id, element);
  }
  const card = byId.get(id);
  if (!card) throw new Error(`no element with id ${id}`);
  const path = [];
  for (let at = card.parent; at !== document; at = at.parent) path.unshift(at);
  const svg = path[0];
  if (!svg || svg.name !== 'svg') throw new Error('the deck is not an SVG document');

  // Everything the card and the groups around it refer to, and what that
  // refers to in turn.
  const needed = new Set();
  const pending = [...elements(card), ...path];
  while (pending.length) {
    for (const ref of references(pending.pop())) {
      const target = byId.get(ref);
      if (!target) throw new Error(`#${ref} is referred to but not in the deck`);
      if (needed.has(target) || contains(card, target)) continue;
      needed.add(target);
      pending.push(...elements(target));
    }
  }
  // A needed element inside another needed one comes along with it.
  const copied = [...needed].filter((e) => ![...needed].some((o) => o !== e && contains(o, e)))
    .sort((a, b) => a.start - b.start);

  const slice = (e) => text.slice(e.start, e.end);
  const startTag = (e) => text.slice(e.start, e.startEnd);
  const closeTag = (e) => `</${e.name}>`;
  let body = slice(card);
  for (const group of path.slice(1).reverse()) body = `${startTag(group)}\n${body}\n${closeTag(group)}`;
  const defs = copied.length ? `<defs>\n${copied.map(slice).join('\n')}\n</defs>\n` : '';
  return `<?xml version="1.0" encoding="UTF-8"?>\n${startTag(svg)}\n${defs}${body}\n${closeTag(svg)}\n`;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [deck, id] = process.argv.slice(2);
  if (!deck || !id) {
    console.error('usage: node card-picture.mjs DECK.svg ID');
    process.exit(2);
  }
  process.stdout.write(cardPicture(readFileSync(deck, 'utf8'), id));
}
