#!/usr/bin/env bash
# The installed game: installs the build into a staging tree (DESTDIR, prefix /usr, so the
# programs run from a prefix they were not installed for), runs the installed vallorn-sim
# from another folder on a shipped level and on the starter park, and checks that nothing was
# written under the prefix, that the player's files went to $XDG_DATA_HOME/vallorn/ and the
# levels' terrain mesh caches, which are not installed, to $XDG_CACHE_HOME/vallorn/.
# Then validates the desktop entry, the AppStream metadata and the manual pages with the tools
# that are there. The staging tree is kept in the build folder and reused: a second install
# copies only what changed.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
BUILD="$(cd "$1" && pwd)"
STAGE="$BUILD/install-check"
PREFIX="$STAGE/usr"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# What an earlier failed run may have left where the player's folders must never be.
rm -rf "$PREFIX/share/vallorn/save" "$PREFIX/share/vallorn/addons"
DESTDIR="$STAGE" cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" ||
  { cat "$WORK/install.log"; fail "cmake --install"; }
SHARE="$PREFIX/share/vallorn"
for f in bin/vallorn-sim share/vallorn/.installed share/vallorn/data/Params.ini \
  share/vallorn/worlds/Starter.ski share/vallorn/help/Contents.html \
  share/applications/vallorn.desktop share/metainfo/org.vallorn.vallorn.metainfo.xml \
  share/icons/hicolor/16x16/apps/vallorn.png share/icons/hicolor/256x256/apps/vallorn.png \
  share/man/man6/vallorn.6.gz share/man/man1/vallorn-sim.1.gz; do
  [ -e "$PREFIX/$f" ] || fail "$f was not installed"
done
for f in bin/vallorn-datagen share/vallorn/save share/vallorn/addons share/vallorn/data/.generated; do
  [ ! -e "$PREFIX/$f" ] || fail "$f was installed"
done
ls "$SHARE"/data/*.mp3 >/dev/null 2>&1 || fail "no music was installed"
! find "$PREFIX" -name '*.vmesh' | grep -q . || fail "terrain mesh caches were installed"
# Each icon has the size of its theme folder and a transparent background.
if command -v file >/dev/null; then
  for size in 16 22 24 32 48 64 128 256; do
    file "$PREFIX/share/icons/hicolor/${size}x$size/apps/vallorn.png" |
      grep -q "$size x $size, 8-bit/color RGBA" || fail "the ${size}px icon is not $size x $size RGBA"
  done
fi

snapshot() { find "$STAGE" -printf '%p %s %T@\n' | sort; }
snapshot >"$WORK/before"

export XDG_DATA_HOME="$WORK/xdg"
export XDG_CACHE_HOME="$WORK/xdg-cache"
unset VALLORN_ROOT
mkdir "$WORK/elsewhere"
cd "$WORK/elsewhere"
SIM="$PREFIX/bin/vallorn-sim"
"$SIM" info --level Training --save-as MyTraining >"$WORK/info.json" || fail "info on a shipped level"
grep -q '"' "$WORK/info.json" || fail "info printed no figures"
"$SIM" run --level Mountain --ticks 120 --profile Tester --report level.json ||
  fail "run on a shipped level"
"$SIM" run --game "$SHARE/worlds/Starter.ski" --ticks 120 --save park.ski --report park.json ||
  fail "run on the starter park"
grep -q '"ParkTime": *[1-9]' park.json || fail "the starter park did not run"
[ -s park.ski ] || fail "the starter park was not saved where asked"

snapshot >"$WORK/after"
diff "$WORK/before" "$WORK/after" >"$WORK/changed" || {
  head -20 "$WORK/changed" >&2
  fail "the runs wrote under the prefix"
}
[ -f "$XDG_DATA_HOME/vallorn/save/Tester.prof" ] || fail "the profile is not in XDG_DATA_HOME"
[ -f "$XDG_DATA_HOME/vallorn/addons/MyTraining.skil" ] ||
  fail "the level saved as an add-on is not in XDG_DATA_HOME"
[ ! -e save ] && [ ! -e addons ] && [ ! -e cache ] ||
  fail "the runs wrote player folders into the current folder"
for level in Training Mountain; do
  for part in H Side; do
    ls "$XDG_CACHE_HOME/vallorn/$level$part"-*.vmesh >/dev/null 2>&1 ||
      fail "no mesh cache of $level$part.3ds in XDG_CACHE_HOME"
  done
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$PREFIX/share/applications/vallorn.desktop" || fail "desktop entry"
else
  echo "desktop-file-validate not found: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$PREFIX/share/metainfo/org.vallorn.vallorn.metainfo.xml" ||
    fail "AppStream metadata"
else
  echo "appstreamcli not found: the AppStream metadata is not validated"
fi
if command -v groff >/dev/null; then
  for page in man6/vallorn.6.gz man1/vallorn-sim.1.gz; do
    warnings="$(zcat "$PREFIX/share/man/$page" | groff -man -ww -z 2>&1)"
    [ -z "$warnings" ] || fail "manual page $page: $warnings"
  done
fi
echo "installed size: $(du -sh "$STAGE" | cut -f1)"
echo "the installed game reads only its prefix and writes only to XDG_DATA_HOME"
