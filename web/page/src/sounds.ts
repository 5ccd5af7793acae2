// The game's five sounds, the desktop's own files, played through Web
// Audio. Browsers let a page sound only after the player's first tap or
// key, so the audio starts then; a sound due before is not played. As on
// the desktop, a new sound cuts off the last, a file that cannot be decoded
// is passed over, and a page without audio plays silently. Whether sounds
// play at all ("Sesler") is the core's: it names only the sounds it plays.
type AudioContextClass = typeof AudioContext;

export class Sounds {
  private context: AudioContext | null = null;
  private readonly buffers = new Map<string, AudioBuffer>();
  private playing: AudioBufferSourceNode | null = null;

  constructor(private readonly folder: string, private readonly files: string[]) {
    const start = (): void => {
      document.removeEventListener('pointerdown', start, true);
      document.removeEventListener('keydown', start, true);
      this.start();
    };
    document.addEventListener('pointerdown', start, true);
    document.addEventListener('keydown', start, true);
  }

  /** The sounds the game played since the last view, in order. */
  play(files: string[]): void {
    for (const file of files) this.playOne(file);
  }

  private start(): void {
    const Context = (window.AudioContext ??
      (window as unknown as { webkitAudioContext?: AudioContextClass }).webkitAudioContext) as
      AudioContextClass | undefined;
    if (!Context) return;
    try {
      this.context = new Context();
    } catch {
      return;  // no audio output: silence
    }
    this.context.resume().catch(() => undefined);
    for (const file of this.files) void this.load(this.context, file);
  }

  private async load(context: AudioContext, file: string): Promise<void> {
    try {
      const response = await fetch(`${this.folder}/${file}`);
      if (!response.ok) return;
      this.buffers.set(file, await context.decodeAudioData(await response.arrayBuffer()));
    } catch {
      // Not a sound this browser can play: passed over, as on the desktop.
    }
  }

  private playOne(file: string): void {
    const buffer = this.buffers.get(file);
    if (!this.context || !buffer) return;
    try {
      this.playing?.stop();
    } catch {
      // already ended
    }
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.connect(this.context.destination);
    source.start();
    this.playing = source;
  }
}
