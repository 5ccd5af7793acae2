// The hint's worker: its own instance of the game's core, which holds no
// game, looks for the master's card in the positions the page hands it,
// away from the page's main thread so that the table keeps drawing.
type HintFunction = (position: string) => number;
interface TableModule {
  cwrap(name: string, returns: string, args: string[]): HintFunction;
}

const coreUrl = new URL('./tesva-table.mjs', import.meta.url).href;

const hint: Promise<HintFunction> = (async () => {
  const factory = ((await import(/* @vite-ignore */ coreUrl)) as {
    default: () => Promise<TableModule>;
  }).default;
  const module = await factory();
  return module.cwrap('tesva_hint', 'number', ['string']);
})();

self.addEventListener('message', (event: MessageEvent<{ generation: number }>) => {
  void hint.then((find) => {
    const slot = find(JSON.stringify(event.data));
    self.postMessage({ generation: event.data.generation, slot });
  });
});
