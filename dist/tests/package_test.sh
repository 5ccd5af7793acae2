#!/usr/bin/env bash
# Builds the Debian package as the README says, then checks its control
# fields, that it holds the game where Debian keeps games, and that lintian
# finds no error in it.
#   package_test.sh BUILD VERSION
set -uo pipefail
build=$1 version=$2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --build "$build" --target package >/dev/null || exit 1
deb=$build/tesva_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tesva ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[[ $(field Maintainer) == *"<"*"@"*">" ]] || fail "Maintainer: $(field Maintainer)"
[[ $(field Description) == *"Tesva"* ]] || fail "Description: $(field Description)"
# Depends as dpkg-shlibdeps computed it, from the programs and the sound and
# deck libraries.
for library in libqt6widgets6 libqt6multimedia6 libqt6svg6 libc6; do
  [[ $(field Depends) == *"$library ("* ]] || fail "Depends lacks $library: $(field Depends)"
done
[[ $(field Recommends) == *qt6-translations-l10n* ]] || fail "Recommends: $(field Recommends)"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/games/tesva ./usr/games/tesva-headless ./usr/share/tesva/Data/D10.grf \
  ./usr/share/doc/tesva/copyright ./usr/share/man/man6/tesva.6.gz; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
for deck in faces backs; do
  grep -qE "^\./usr/share/tesva/Decks/$deck\.svgz?\$" <<<"$contents" || fail "the package lacks the $deck deck"
done
grep -q '^\./usr/bin/' <<<"$contents" && fail "the package puts programs in /usr/bin"

# Errors fail; warnings are listed for the reader.
lintian --fail-on error "$deb" || fail "lintian found errors"

echo "package: $((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
[ "$failures" = 0 ]
