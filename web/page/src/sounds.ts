// The game's five sounds, the desktop's own files, played through Web
// Audio. Browsers let a page sound only after the player's first tap or
// key, so the audio starts then; a sound due before is not played. As on
// the desktop, a new sound cuts off the last, a file that cannot be decoded
// is passed over, and a page without audio plays silently. Whether sounds
// play at all ("Sesler") is the core's: it names only the sounds it plays.
type AudioContextClass = typeof AudioContext;

export class Sounds {
  private context: AudioContext | null = null;
  private readonly buffers = new Map<string, Promise<AudioBuffer | null>>();
  private playing: AudioBufferSourceNode | null = null;
  private latest = 0;

  constructor(private readonly folder: string, private readonly files: string[]) {
    const start = (): void => {
      document.removeEventListener('pointerdown', start, true);
      document.removeEventListener('keydown', start, true);
      // After the tap's or key's own work: making the audio output takes
      // some 50 ms, which the move it started should not wait for.
      window.setTimeout(() => this.open(), 0);
    };
    document.addEventListener('pointerdown', start, true);
    document.addEventListener('keydown', start, true);
  }

  /** The sounds the game played since the last view, in order. */
  play(files: string[]): void {
    for (const file of files) this.playOne(file);
  }

  private open(): void {
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
    for (const file of this.files) this.buffers.set(file, this.load(this.context, file));
  }

  private async load(context: AudioContext, file: string): Promise<AudioBuffer | null> {
    try {
      const response = await fetch(`${this.folder}/${file}`);
      if (!response.ok) return null;
      return await context.decodeAudioData(await response.arrayBuffer());
    } catch {
      return null;  // not a sound this browser can play: passed over, as on the desktop
    }
  }

  // A sound still loading plays when it is ready, unless a later one has
  // been asked for meanwhile.
  private playOne(file: string): void {
    const loading = this.buffers.get(file);
    if (!loading) return;
    const turn = ++this.latest;
    void loading.then((buffer) => {
      if (buffer && turn === this.latest) this.sound(buffer);
    });
  }

  private sound(buffer: AudioBuffer): void {
    if (!this.context) return;
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
