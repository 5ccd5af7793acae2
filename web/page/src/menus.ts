// The menu bar: the window's items in the window's tree, their captions,
// check marks and enabled states from the core. Keyboard: Enter, Space and
// the arrow keys open and move; Escape closes.
import type { MenuEntry, MenuView } from './core.js';

export class MenuBar {
  readonly root: HTMLElement;
  private readonly items = new Map<string, HTMLElement>();
  private readonly submenus = new Map<string, HTMLElement>();
  private readonly children = new Map<string, MenuEntry[]>();
  private readonly extra = new Map<string, () => void>();

  constructor(entries: MenuEntry[], private readonly choose: (name: string) => void) {
    for (const entry of entries) {
      const list = this.children.get(entry.parent) ?? [];
      list.push(entry);
      this.children.set(entry.parent, list);
    }
    this.root = document.createElement('nav');
    this.root.className = 'menu-bar';
    this.root.setAttribute('aria-label', 'Menü');
    const folder = document.createElement('button');
    folder.type = 'button';
    folder.className = 'menu-fold';
    folder.textContent = '☰';
    folder.setAttribute('aria-label', 'Menü');
    folder.setAttribute('aria-expanded', 'false');
    folder.addEventListener('click', () => {
      const open = this.root.classList.toggle('unfolded');
      folder.setAttribute('aria-expanded', String(open));
    });
    this.root.append(folder);
    const bar = this.makeList('', 'menubar');
    this.root.append(bar);
    document.addEventListener('pointerdown', (event) => {
      if (!this.root.contains(event.target as Node)) this.closeAll();
    });
  }

  // A command of the page's own after the game's menus ("İstatistikler").
  addCommand(name: string, caption: string, run: () => void): void {
    const bar = this.root.querySelector('[role="menubar"]') as HTMLElement;
    const entry = { name, parent: '', separator: false, command: true };
    this.children.get('')?.push(entry);  // the arrow keys reach it
    const li = document.createElement('li');
    li.setAttribute('role', 'none');
    li.append(this.makeItem(entry, true));
    (this.items.get(name)?.querySelector('.menu-caption') as HTMLElement).textContent = caption;
    this.extra.set(name, run);
    bar.append(li);
  }

  show(menus: MenuView[]): void {
    for (const menu of menus) {
      const item = this.items.get(menu.name);
      if (!item) continue;
      const label = item.querySelector('.menu-caption') as HTMLElement;
      if (label.textContent !== menu.caption) label.textContent = menu.caption;
      item.setAttribute('aria-disabled', String(!menu.enabled));
      item.classList.toggle('checked', menu.checked);
      if (item.getAttribute('role') === 'menuitemcheckbox') {
        item.setAttribute('aria-checked', String(menu.checked));
      }
    }
  }

  closeAll(): void {
    for (const [name, submenu] of this.submenus) {
      submenu.hidden = true;
      this.items.get(name)?.setAttribute('aria-expanded', 'false');
    }
  }

  private makeList(parent: string, role: 'menubar' | 'menu'): HTMLElement {
    const list = document.createElement('ul');
    list.setAttribute('role', role);
    if (role === 'menubar') list.setAttribute('aria-label', 'Menü');
    for (const entry of this.children.get(parent) ?? []) {
      const li = document.createElement('li');
      li.setAttribute('role', 'none');
      if (entry.separator) {
        li.setAttribute('role', 'separator');
        li.className = 'menu-separator';
      } else {
        li.append(this.makeItem(entry, role === 'menubar'));
      }
      list.append(li);
    }
    return list;
  }

  private makeItem(entry: MenuEntry, onBar: boolean): DocumentFragment {
    const item = document.createElement('button');
    item.type = 'button';
    item.className = 'menu-item';
    item.dataset['menu'] = entry.name;
    item.tabIndex = onBar ? 0 : -1;
    const mark = document.createElement('span');
    mark.className = 'menu-mark';
    mark.setAttribute('aria-hidden', 'true');
    const caption = document.createElement('span');
    caption.className = 'menu-caption';
    item.append(mark, caption);
    // A group's items (levels, speeds, colours, backs, sounds) carry a check.
    const group = ['mnuSeviye', 'mnuBack', 'mnuDeste', 'mnuDusunmeHizi'].includes(entry.parent) ||
      entry.name === 'mnuSesler';
    item.setAttribute('role', group ? 'menuitemcheckbox' : 'menuitem');
    this.items.set(entry.name, item);
    const li = document.createDocumentFragment();
    li.append(item);
    if (!entry.command) {
      item.setAttribute('aria-haspopup', 'menu');
      item.setAttribute('aria-expanded', 'false');
      const submenu = this.makeList(entry.name, 'menu');
      submenu.hidden = true;
      submenu.className = onBar ? 'submenu top' : 'submenu side';
      this.submenus.set(entry.name, submenu);
      li.append(submenu);
      item.addEventListener('click', () => this.toggle(entry.name));
    } else {
      item.addEventListener('click', () => {
        if (item.getAttribute('aria-disabled') === 'true') return;
        this.closeAll();
        this.root.classList.remove('unfolded');
        const own = this.extra.get(entry.name);
        if (own) own();
        else this.choose(entry.name);
      });
    }
    item.addEventListener('keydown', (event) => this.key(event, entry, item));
    return li;
  }

  private toggle(name: string): void {
    const submenu = this.submenus.get(name);
    const item = this.items.get(name);
    if (!submenu || !item || item.getAttribute('aria-disabled') === 'true') return;
    const open = submenu.hidden;
    // Opening a menu closes the others, except the menus above it.
    for (const [other, list] of this.submenus) {
      if (other !== name && !list.contains(item)) {
        list.hidden = true;
        this.items.get(other)?.setAttribute('aria-expanded', 'false');
      }
    }
    submenu.hidden = !open;
    item.setAttribute('aria-expanded', String(open));
    if (open) (submenu.querySelector('.menu-item') as HTMLElement | null)?.focus();
  }

  private key(event: KeyboardEvent, entry: MenuEntry, item: HTMLElement): void {
    const siblings = (this.children.get(entry.parent) ?? []).filter((e) => !e.separator);
    const at = siblings.findIndex((e) => e.name === entry.name);
    const move = (step: number) => {
      const next = siblings[(at + step + siblings.length) % siblings.length];
      if (next) this.items.get(next.name)?.focus();
    };
    const onBar = entry.parent === '';
    if (event.key === 'Escape') {
      this.closeAll();
      (this.items.get(entry.parent) ?? item).focus();
    } else if (event.key === (onBar ? 'ArrowRight' : 'ArrowDown')) {
      move(1);
    } else if (event.key === (onBar ? 'ArrowLeft' : 'ArrowUp')) {
      move(-1);
    } else if ((onBar && event.key === 'ArrowDown') || (!onBar && event.key === 'ArrowRight')) {
      if (!entry.command) this.toggle(entry.name);
    } else {
      return;
    }
    event.preventDefault();
    event.stopPropagation();
  }
}
