// The game's two boxes, shown when the core asks: a one-line text box and
// a Yes/No question, both titled as the core says.
import type { DialogView } from './core.js';

/** An empty box of `kind`, named by its element with id `labelId`. */
export function makeBox(kind: string, labelId: string): HTMLDialogElement {
  const box = document.createElement('dialog');
  box.className = kind ? `box ${kind}` : 'box';
  box.setAttribute('aria-labelledby', labelId);
  return box;
}

export function button(caption: string, run: () => void): HTMLButtonElement {
  const made = document.createElement('button');
  made.type = 'button';
  made.textContent = caption;
  made.addEventListener('click', run);
  return made;
}

export class Dialogs {
  private readonly dialog: HTMLDialogElement;
  private readonly title: HTMLElement;
  private readonly prompt: HTMLElement;
  private readonly field: HTMLInputElement;
  private readonly buttons: HTMLElement;
  private shown: DialogView | null = null;

  constructor(private readonly answer: (reply: string) => void) {
    this.dialog = makeBox('', 'box-title');
    this.dialog.setAttribute('aria-describedby', 'box-prompt');
    this.title = document.createElement('h2');
    this.title.id = 'box-title';
    this.prompt = document.createElement('p');
    this.prompt.id = 'box-prompt';
    this.field = document.createElement('input');
    this.field.type = 'text';
    this.field.setAttribute('aria-labelledby', 'box-prompt');
    this.buttons = document.createElement('div');
    this.buttons.className = 'box-buttons';
    const form = document.createElement('form');
    form.method = 'dialog';
    form.append(this.title, this.prompt, this.field, this.buttons);
    this.dialog.append(form);
    // Escape cancels, as the window's boxes do.
    this.dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      this.close(this.shown?.question ? 'no' : '');
    });
    document.body.append(this.dialog);
  }

  show(view: DialogView | null): void {
    if (!view) {
      if (this.dialog.open) this.dialog.close();
      this.shown = null;
      return;
    }
    if (this.shown && this.dialog.open) return;
    this.shown = view;
    this.title.textContent = view.title;
    this.prompt.textContent = view.prompt;
    this.field.hidden = view.question;
    this.field.value = '';
    if (view.maxLength > 0) this.field.maxLength = view.maxLength;
    else this.field.removeAttribute('maxlength');
    const make = (caption: string, reply: () => string, main = false) => {
      const button = document.createElement('button');
      button.type = main ? 'submit' : 'button';
      button.textContent = caption;
      button.addEventListener('click', (event) => {
        event.preventDefault();
        this.close(reply());
      });
      return button;
    };
    this.buttons.replaceChildren(...(view.question
      ? [make('Evet', () => 'yes', true), make('Hayır', () => 'no')]
      : [make('Tamam', () => this.field.value, true), make('İptal', () => '')]));
    this.dialog.showModal();
    (view.question ? this.buttons.firstElementChild as HTMLElement : this.field).focus();
  }

  private close(reply: string): void {
    this.dialog.close();
    this.shown = null;
    this.answer(reply);
  }
}
