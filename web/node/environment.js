// Run before the headless driver's module starts under Node.js: emscripten's
// getenv sees only its own ENV object, so the process's environment
// (TESVA_SEED, TESVA_USTA_SEARCH) is copied into it.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  Object.assign(ENV, process.env);
});
