#!/usr/bin/env bash
# The Debian package builds and lintian finds no error and no warning in it; its desktop entry and
# metainfo pass their validators; it holds the program with its two files, the link among the
# games and every icon; and the packaged program starts from the directory its menu entry names.
set -euo pipefail
cd "$(dirname "$0")/.."
# The suite's own build, packaged as it is (stripped by cpack), rather than a second build.
build=${LOZETTA_BUILD:-build}
cmake -S . -B "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build"
rm -f "$build"/lozetta_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
fail() { echo "package: $*" >&2 && exit 1; }
deb=$(echo "$build"/lozetta_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
[ "$(dpkg-deb -f "$deb" Package)/$(dpkg-deb -f "$deb" Section)" = lozetta/games ] ||
    fail "wrong name or section"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "library dependencies not found"
lintian --fail-on error,warning "$deb" || fail "lintian finds fault with it"
desktop=$root/usr/share/applications/org.example.lozetta.desktop
metainfo=$root/usr/share/metainfo/org.example.lozetta.metainfo.xml
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo" >/dev/null || appstreamcli validate --no-net "$metainfo"
grep -q '^Categories=.*Game;BoardGame;' "$desktop" || fail "not listed as a board game"
dir=$(sed -n 's/^Path=//p' "$desktop")
[ "$(sed -n 's/^Exec=//p' "$desktop")" = "$dir/lozetta" ] || fail "Exec is not the program in Path"
for file in lozetta Instrucciones.htm ficha.wav; do
    [ -f "$root$dir/$file" ] || fail "$dir/$file missing"
done
[ "$(readlink -f "$root/usr/games/lozetta")" = "$(readlink -f "$root$dir/lozetta")" ] ||
    fail "usr/games/lozetta does not lead to the program"
icons=$root/usr/share/icons/hicolor
for size in 16 32 48 64 128 256; do
    file "$icons/${size}x$size/apps/org.example.lozetta.png" |
        grep -q "PNG image data, $size x $size" || fail "no $size px icon"
done
[ -f "$icons/scalable/apps/org.example.lozetta.svg" ] || fail "no scalable icon"
# Started as the menu entry starts it, the game must still be at its splash a moment later.
status=0
(cd "$root$dir" && QT_QPA_PLATFORM=offscreen timeout 2 ./lozetta 2>/dev/null) || status=$?
[ "$status" -eq 124 ] || fail "the packaged program stopped with status $status"
echo "package: $(basename "$deb") built, validated and complete"
