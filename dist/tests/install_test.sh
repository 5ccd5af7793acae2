#!/usr/bin/env bash
# Installs the game as a user would, into a temporary DESTDIR under a prefix
# found nowhere else, moves the installed tree to another folder, and checks
# it as its user meets it: exactly the files that ship; no RPATH and no path
# into the build; the programs' command lines, good and bad; a short game
# with the installed tesva-headless; the installed window finding its
# pictures, sounds and icon; the desktop entry, metadata and manual pages
# through their validators; and the window's class, under Xvfb, against the
# desktop entry's StartupWMClass.
#   install_test.sh BUILD PROBE VERSION LIBDIR APP_ID ICON_SIZE...
set -uo pipefail
build=$1 probe=$2 version=$3 libdir=$4 app=$5
shift 5
sizes=("$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

prefix=/opt/tesva-install-test
DESTDIR="$work/stage" cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
tree=$work/moved
mv "$work/stage$prefix" "$tree"

# Exactly what ships, and nothing else.
expected() {
  echo bin/tesva
  echo bin/tesva-headless
  echo "$libdir/tesva/libtesva-sound.so"
  echo "$libdir/tesva/libtesva-decks.so"
  echo "$libdir/tesva/libtesva-friend.so"
  # The two card decks as the build found them (.svgz, or .svg).
  for deck in "$build"/bin/Decks/*; do echo "share/tesva/Decks/${deck##*/}"; done
  for suit in K D S M; do
    for rank in $(seq 1 13); do echo "share/tesva/Data/$suit$rank.grf"; done
  done
  echo share/tesva/Data/Back.grf
  echo share/tesva/Data/Back2.grf
  for sound in Card Tesva Laugh Lose With; do echo "share/tesva/Data/$sound.voi"; done
  echo "share/applications/$app.desktop"
  echo "share/metainfo/$app.metainfo.xml"
  echo "share/icons/hicolor/scalable/apps/$app.svg"
  for size in "${sizes[@]}"; do echo "share/icons/hicolor/${size}x$size/apps/$app.png"; done
  echo share/man/man6/tesva.6.gz
  echo share/man/man6/tesva-headless.6.gz
  for doc in README.md LICENSE copyright carddecks-copyright changelog.gz; do
    echo "share/doc/tesva/$doc"
  done
}
diff <(expected | sort) <(cd "$tree" && find . ! -type d | sed 's|^\./||' | sort) ||
  fail "the installed tree differs (< what ships, > what was installed)"

# Movable: no RPATH, and no file but the programs' debugging notes names the build.
for elf in "$tree/bin/tesva" "$tree/bin/tesva-headless" "$tree/$libdir/tesva/libtesva-sound.so" \
  "$tree/$libdir/tesva/libtesva-decks.so" "$tree/$libdir/tesva/libtesva-friend.so"; do
  readelf -d "$elf" | grep -E 'RPATH|RUNPATH' && fail "$elf has an RPATH"
done
grep -rlF "$(cd "$build" && pwd)" "$tree" --exclude=tesva --exclude=tesva-headless \
  --exclude='*.so' && fail "installed files name the build folder"

# The command lines. A bad one is refused before Qt looks for a display: with
# none, a window program that went on would fail some other way.
expect_output() {  # expect_output STATUS TEXT COMMAND...: stdout and stderr together
  local status=$1 text=$2 out
  shift 2
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" 2>&1 </dev/null)
  local got=$?
  [ "$got" = "$status" ] || fail "$* exited $got, not $status: $out"
  [[ $out == *"$text"* ]] || fail "$* printed '$out', not '$text'"
}
for program in tesva tesva-headless; do
  expect_output 0 "$program $version" "$tree/bin/$program" --version
  expect_output 0 "$program" "$tree/bin/$program" --help
  expect_output 2 "--help" "$tree/bin/$program" --version extra words
  expect_output 2 "--help" "$tree/bin/$program" --frobnicate
done
expect_output 2 "Unknown option 'frobnicate'" "$tree/bin/tesva" --frobnicate
expect_output 2 "unexpected argument 'extra'" "$tree/bin/tesva" --version extra words
expect_output 2 "unknown option --frobnicate" "$tree/bin/tesva-headless" --frobnicate

# A short game with the installed headless program: the first card played
# sounds, the computer answers, and the human holds three cards.
printf 'start\nclick Player1_Kart(1)\nwait\ndump\n' >"$work/script"
dump=$(TESVA_SEED=7 "$tree/bin/tesva-headless" "$work/script") || fail "tesva-headless failed"
for part in '"Player1_CardsLeft":3' '"Player2_CardsLeft":3' '"HandNo":1' '"sounds":["'; do
  [[ $dump == *"$part"* ]] || fail "the headless game's dump lacks $part"
done

# The installed window, built over the real lookup, run from the installed bin.
cp "$probe" "$tree/bin/"
QT_QPA_PLATFORM=offscreen "$tree/bin/$(basename "$probe")" "$tree/share/tesva" --gtest_brief=1 ||
  fail "the installed window did not find its files"
rm "$tree/bin/$(basename "$probe")"

# The desktop's own validators, and manual pages that render without warnings.
desktop-file-validate "$tree/share/applications/$app.desktop" || fail "desktop-file-validate"
# The game has no homepage, and its metadata names none rather than a made-up
# one: appstreamcli from 1.0 (Debian 13) warns of that (url-homepage-missing),
# Debian 12's does not know the check, and neither Debian's archive nor
# lintian asks for one. Every other error or warning fails.
report=$(appstreamcli validate --no-net "$tree/share/metainfo/$app.metainfo.xml" 2>&1)
problems=$(grep -E '^[EW]: ' <<<"$report" | grep -v ': url-homepage-missing$')
if [ -n "$problems" ] || ! grep -qE '^(E|W|I|P): |Validation was successful' <<<"$report"; then
  fail "appstreamcli validate: $report"
fi
for page in tesva tesva-headless; do
  warnings=$(MANWIDTH=80 man --warnings -l "$tree/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
done

# The window's class is the desktop entry's StartupWMClass, so a dock puts
# the running game under its menu entry.
startup_class=$(sed -n 's/^StartupWMClass=//p' "$tree/share/applications/$app.desktop")
# Xvfb picks a free display itself and says which: other X servers may be
# running on this machine.
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
export DISPLAY=:$(cat "$work/display")
# Qt's X11 platform, on that server, whatever QT_QPA_PLATFORM the caller set.
HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$tree/bin/tesva" 2>/dev/null &
game=$!
wm_class=
for _ in $(seq 200); do
  wm_class=$(xprop -name "Tesva $version" WM_CLASS 2>/dev/null) && break
  sleep 0.1
done
kill "$game" "$xvfb"
[[ $wm_class == *"\"$startup_class\""* ]] ||
  fail "the window's class ($wm_class) is not StartupWMClass $startup_class"

echo "install: $((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
[ "$failures" = 0 ]
