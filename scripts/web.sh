#!/usr/bin/env bash
# The game in the browser: builds the WebAssembly core and the page into a
# folder of static files, checks it, or serves it on this machine.
#   scripts/web.sh build          builds build-web/site
#   scripts/web.sh test           builds, then compares the WebAssembly driver with the
#                                 native one (build/bin/tesva-headless) and runs the
#                                 browser tests in Debian's Chromium
#   scripts/web.sh serve [PORT]   builds and serves the site on 127.0.0.1
# TESVA_SAME_GAME_SCRIPTS sets how many random scripts the comparison runs (2000).
# The game's icon is drawn by the native build's tesva-data (TESVA_NATIVE_BUILD, build/).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESVA_WEB_BUILD:-"$root/build-web"}
site="$build/site"
web="$root/web"
# emscripten's optimizer finds Debian's acorn only through NODE_PATH when the
# machine's node is not Debian's own.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

npm_tools() {
  local stamp="$web/node_modules/.package-lock.json"
  if [ ! -f "$stamp" ] || [ "$web/package-lock.json" -nt "$stamp" ]; then
    (cd "$web" && npm ci --no-audit --no-fund)
  fi
}

build_core() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  if [ ! -f "$build/CMakeCache.txt" ]; then
    emcmake cmake -S "$web" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTESVA_WERROR="${TESVA_WERROR:-OFF}" "${launcher[@]}" >/dev/null
  fi
  cmake --build "$build"
}

# The decks the desktop window draws from, uncompressed: a static host
# compresses them as it serves them.
copy_decks() {
  local decks=${TESVA_CARDDECKS_DIR:-/usr/share/carddecks}
  mkdir -p "$site/decks"
  gzip -dc "$decks/svg-standard/standard.svgz" >"$site/decks/faces.svg"
  # Of the backs deck the page draws one back (src/browser/deck_element.cpp):
  # that back alone, 5 KiB of the deck's 158 KiB compressed.
  gzip -dc "$decks/svg-nicu-white/white.svgz" >"$build/backs-deck.svg"
  node "$web/tools/card-picture.mjs" "$build/backs-deck.svg" back_c1 >"$site/decks/backs.svg"
  local owner notice=
  owner=$(dpkg-query --search "$decks/svg-standard/standard.svgz" 2>/dev/null | cut -d: -f1 || true)
  for package in $owner kdegames-card-data kdegames-card-data-kf5; do
    [ -f "/usr/share/doc/$package/copyright" ] && notice="/usr/share/doc/$package/copyright" && break
  done
  [ -n "$notice" ] && cp "$notice" "$site/decks/COPYRIGHT.txt"
}

# The desktop's five sounds, which the native build makes (tools/datagen)
# into its "Data" folder; made there first when missing.
copy_sounds() {
  local data=${TESVA_DATA_DIR:-"$root/build/bin/Data"}
  local sounds=(Card Tesva Laugh Lose With)
  if [ ! -f "$data/With.voi" ] && [ -f "$root/build/CMakeCache.txt" ]; then
    cmake --build "$root/build" --target tesva_data >/dev/null
  fi
  for sound in "${sounds[@]}"; do
    if [ ! -f "$data/$sound.voi" ]; then
      echo "web: $data/$sound.voi is missing: build the native tree first (scripts/setup.sh)" >&2
      exit 1
    fi
  done
  mkdir -p "$site/sounds"
  for sound in "${sounds[@]}"; do cp "$data/$sound.voi" "$site/sounds/"; done
}

# The game's icon, drawn from the deck by the native build's tesva-data as
# the desktop's is, at the sizes a browser installs an app with.
draw_icon() {
  local native=${TESVA_NATIVE_BUILD:-"$root/build"}
  if [ ! -f "$native/CMakeCache.txt" ]; then
    echo "web: warning: no native build in $native to draw the icon with; the site has none" >&2
    return
  fi
  cmake --build "$native" --target tesva-data >/dev/null
  local decks=${TESVA_CARDDECKS_DIR:-/usr/share/carddecks} drawn="$build/icons"
  "$native/tools/datagen/tesva-data" --faces "$decks/svg-standard/standard.svgz" \
    --backs "$decks/svg-nicu-white/white.svgz" --icons "$drawn" --icon-name tesva \
    --icon-sizes 192,512
  mkdir -p "$site/icons"
  cp "$drawn/scalable/apps/tesva.svg" "$site/icons/tesva.svg"
  for size in 192 512; do cp "$drawn/${size}x${size}/apps/tesva.png" "$site/icons/tesva-$size.png"; done
}

build_site() {
  build_core
  npm_tools
  (cd "$web" && npx tsc -p page/tsconfig.json)
  mkdir -p "$site"
  (cd "$web" && npx esbuild page/src/main.ts --bundle --format=esm --minify --target=es2022 \
    --log-level=warning --outfile="$site/app.js")
  (cd "$web" && npx esbuild page/src/hint-worker.ts --bundle --format=esm --minify --target=es2022 \
    --log-level=warning --outfile="$site/hint-worker.js")
  cp "$web/page/index.html" "$web/page/style.css" "$build/bin/tesva-table.mjs" \
    "$build/bin/tesva-table.wasm" "$site/"
  cp "$web/page/manifest.webmanifest" "$site/"
  copy_decks
  copy_sounds
  draw_icon
  node "$web/tools/stamp-worker.mjs" "$web/page/sw.js" "$site"
  echo "web: site built in $site"
}

case "${1:-build}" in
  build) build_site ;;
  test)
    build_site
    native="$root/build/bin/tesva-headless"
    node "$web/tests/same-game/compare.mjs" "$native" "$build/bin/tesva-headless.js" \
      --count "${TESVA_SAME_GAME_SCRIPTS:-2000}" "$root/scripts/demo.txt"
    node --test "$web"/tests/browser/*.test.mjs
    ;;
  serve)
    build_site
    exec node "$web/tools/serve.mjs" "$site" "${2:-0}"
    ;;
  *)
    echo "usage: scripts/web.sh build | test | serve [PORT]" >&2
    exit 2
    ;;
esac
