// The game's core, compiled to WebAssembly: the page hands it events and
// reads back what to draw. Nothing here decides anything about the game.

export interface DeckPicture {
  deck: 'faces' | 'backs';
  id: string;
}
export interface Place {
  left: number;
  top: number;
  width: number;
  height: number;
}
export interface PictureView {
  element: string;
  index: number;
  picture: DeckPicture | null;
  enabled: boolean;
  visible: boolean;
  name: string;
  /** Piles only: the edges of the cards under the top card. */
  edges?: number;
}
export interface MenuView {
  name: string;
  caption: string;
  checked: boolean;
  enabled: boolean;
  reachable: boolean;
}
export interface SpotView {
  element: string;
  index: number;
}
export interface FlightView {
  picture: DeckPicture | null;
  shown: DeckPicture | null;
  from: SpotView;
  to: SpotView;
}
export interface StepView {
  flights: FlightView[];
  shown: (SpotView & { picture: DeckPicture | null })[];
  captions: Record<string, string>;
  /** The deck's edges while this step shows it, as its caption counts. */
  deckEdges: number | null;
}
export interface DialogView {
  question: boolean;
  prompt: string;
  title: string;
  maxLength: number;
}
export interface TimerView {
  enabled: boolean;
  interval: number;
}
export interface Announcement {
  text: string;
  tesva: boolean;
  pile: string;
}
export interface HandBoardView {
  hand: number;
  title: string;
  rows: { heading: string; human: string; computer: string; bold: boolean }[];
  leftOver: string;
  names: string;
}
export interface StoryView {
  announcements: Announcement[];
  handBoard: HandBoardView | null;
  boardGoes: boolean;
}
export interface GameEndView {
  result: string;
  totals: string;
  recordLine: string;
  button: string;
}
/** Where the hint's worker looks: the player's view, never a hidden card. */
export interface HintPosition {
  generation: number;
  search: number;
  view: unknown;
}

export interface TableView {
  caption: string;
  background: number;
  pointer: 'default' | 'hourglass';
  pictures: PictureView[];
  labels: Record<string, { caption: string; enabled: boolean }>;
  lists: Record<string, string[]>;
  menus: MenuView[];
  hover: { visible: boolean; left: number; top: number };
  zorder: number[];
  rulesPanel: boolean;
  timers: Record<'Timer1' | 'Timer2', TimerView>;
  motion: { snap: boolean; steps: StepView[] };
  sounds: string[];
  dialog: DialogView | null;
  exited: boolean;
  gameEnd: GameEndView | null;
  /** The hand slot the hint marks, 0 for none. */
  hint: number;
  story: StoryView;
  /** The record's line for the game-end panel: the level of the last game
   * counted, "" until one has been. */
  recordLine: string;
}
export type TableState = Omit<TableView, 'motion' | 'sounds' | 'story'>;

export interface PanelText {
  name: string;
  place: Place;
  caption: string;
  colour: number;
  bold: boolean;
  font: string;
  pointSize: number;
  wordWrap: boolean;
}
export interface MenuEntry {
  name: string;
  parent: string;
  separator: boolean;
  command: boolean;
}
export interface TableLayout {
  title: string;
  client: { width: number; height: number };
  places: Record<string, Place>;
  menus: MenuEntry[];
  rulesPanel: PanelText[];
  command1: { caption: string; place: Place };
  colours: { frame: number; panel: number; button: number; text: number; status: number;
    statusText: number; handNumber: number };
  motion: { stepMs: number; hurriedStepMs: number };
  story: { handBoard: Place; gameEnd: Place };
  hintCommand: string;
  sounds: string[];
}

interface TableModule {
  cwrap(name: string, returns: string | null, args: string[]): (...args: (string | number)[]) => string;
}
export type Binding = (...args: (string | number)[]) => string;
type ModuleFactory = (options?: object) => Promise<TableModule>;

export class Core {
  private module: TableModule | null = null;

  private constructor(
    private readonly newGame: (seed: string) => string,
    private readonly deliverEvent: (kind: string, target: string) => string,
    private readonly answerBox: (reply: string) => string,
    private readonly readView: () => string,
    private readonly readState: () => string,
    private readonly readLayout: () => string,
    private readonly hintAsk: () => string,
    private readonly hintFound_: (generation: number, slot: number) => number,
  ) {}

  static async load(url: string): Promise<Core> {
    const factory = ((await import(/* @vite-ignore */ url)) as { default: ModuleFactory }).default;
    const module = await factory();
    const core = new Core(
      module.cwrap('tesva_new_game', null, ['string']),
      module.cwrap('tesva_deliver', 'string', ['string', 'string']),
      module.cwrap('tesva_answer', 'string', ['string']),
      module.cwrap('tesva_view', 'string', []),
      module.cwrap('tesva_state', 'string', []),
      module.cwrap('tesva_layout', 'string', []),
      module.cwrap('tesva_hint_ask', 'string', []),
      module.cwrap('tesva_hint_found', 'number', ['number', 'number']) as unknown as
        (generation: number, slot: number) => number,
    );
    core.module = module;
    return core;
  }

  /** One more of the core's functions, for the page's other rooms. */
  bind(name: string, returns: 'string' | null, args: ('string' | 'number')[]): Binding {
    return (this.module as TableModule).cwrap(name, returns, args) as Binding;
  }

  start(seed: string): void {
    this.newGame(seed);
  }
  /** "" when the event was delivered, else why the window would refuse it. */
  deliver(kind: 'click' | 'hover' | 'menu' | 'tick', target: string): string {
    return this.deliverEvent(kind, target);
  }
  answer(reply: string): string {
    return this.answerBox(reply);
  }
  view(): TableView {
    return JSON.parse(this.readView()) as TableView;
  }
  /** The game as it stands, for the controls; motion and sounds are left
   * for the next view(). */
  state(): TableState {
    return JSON.parse(this.readState()) as TableState;
  }
  /** The position to look for a hint in; null when none is due now. */
  askHint(): HintPosition | null {
    return JSON.parse(this.hintAsk()) as HintPosition | null;
  }
  /** The worker's card for a position; true when the table marks it. */
  hintFound(generation: number, slot: number): boolean {
    return this.hintFound_(generation, slot) === 1;
  }
  layout(): TableLayout {
    return JSON.parse(this.readLayout()) as TableLayout;
  }
}
