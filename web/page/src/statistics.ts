// "İstatistikler": the record's table as the core lays it out, with
// "Sıfırla" (after the core's question) and "Kapat", as the desktop's
// dialog shows it.
import type { Binding, Core } from './core.js';
import { button, makeBox } from './dialogs.js';

export interface RecordTexts {
  command: string;
  title: string;
  reset: string;
  close: string;
  resetTitle: string;
  resetQuestion: string;
  openElsewhere: string;
  takeOver: string;
}

export function recordTexts(core: Core): RecordTexts {
  return JSON.parse(core.bind('tesva_record_texts', 'string', [])()) as RecordTexts;
}

export class StatisticsDialog {
  private readonly dialog: HTMLDialogElement;
  private readonly table: HTMLTableElement;
  private readonly question: HTMLDialogElement;
  private readonly rows: Binding;
  private readonly reset: Binding;

  constructor(core: Core, private readonly texts: RecordTexts) {
    this.rows = core.bind('tesva_statistics', 'string', []);
    this.reset = core.bind('tesva_reset_record', null, []);
    this.dialog = makeBox('statistics', 'statistics-title');
    const title = document.createElement('h2');
    title.id = 'statistics-title';
    title.textContent = texts.title;
    this.table = document.createElement('table');
    this.table.setAttribute('aria-labelledby', 'statistics-title');
    this.table.tabIndex = 0;  // scrolled by keys too on a narrow screen
    const buttons = document.createElement('div');
    buttons.className = 'box-buttons';
    const close = button(texts.close, () => this.dialog.close());
    buttons.append(button(texts.reset, () => this.askReset()), close);
    this.dialog.append(title, this.table, buttons);
    this.question = this.makeQuestion();
    document.body.append(this.dialog, this.question);
  }

  get open(): boolean {
    return this.dialog.open;
  }

  show(): void {
    this.fill();
    if (!this.dialog.open) this.dialog.showModal();
    (this.dialog.querySelector('.box-buttons button:last-child') as HTMLElement).focus();
  }

  private fill(): void {
    const rows = JSON.parse(this.rows()) as string[][] | null;
    if (!rows) return;
    const [heading, ...items] = rows;
    const head = this.table.createTHead();
    head.replaceChildren(this.row(heading ?? [], true));
    const body = this.table.tBodies[0] ?? this.table.createTBody();
    body.replaceChildren(...items.map((item) => this.row(item, false)));
  }

  // A row: its name as the row's heading, then the figures.
  private row(cells: string[], heading: boolean): HTMLTableRowElement {
    const row = document.createElement('tr');
    cells.forEach((text, at) => {
      // The corner above the rows' names is empty: a plain cell.
      const corner = heading && at === 0;
      const cell = document.createElement((heading || at === 0) && !corner ? 'th' : 'td');
      if (corner) cell.setAttribute('aria-hidden', 'true');
      else if (heading) cell.setAttribute('scope', 'col');
      else if (at === 0) cell.setAttribute('scope', 'row');
      cell.textContent = text;
      row.append(cell);
    });
    return row;
  }

  // The question before the record is cleared, "Hayır" the default.
  private makeQuestion(): HTMLDialogElement {
    const box = makeBox('reset-question', 'reset-title');
    box.setAttribute('aria-describedby', 'reset-prompt');
    const title = document.createElement('h2');
    title.id = 'reset-title';
    title.textContent = this.texts.resetTitle;
    const prompt = document.createElement('p');
    prompt.id = 'reset-prompt';
    prompt.textContent = this.texts.resetQuestion;
    const buttons = document.createElement('div');
    buttons.className = 'box-buttons';
    buttons.append(button('Evet', () => {
      box.close();
      this.reset();
      this.fill();
    }), button('Hayır', () => box.close()));
    box.append(title, prompt, buttons);
    return box;
  }

  private askReset(): void {
    this.question.showModal();
    (this.question.querySelector('.box-buttons button:last-child') as HTMLElement).focus();
  }
}
