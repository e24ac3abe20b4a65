#!/bin/sh
# Installs the build into a scratch prefix (and once more through DESTDIR) and checks that the
# programs, the desktop entry, the icons and the manual pages land where a desktop looks for them.
#   install_test.sh BUILD_DIR
set -eu
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

check_tree() {
  root="$1"
  for program in skarvine vel-rc vel-wdc vel-eval vel-preview; do
    [ -x "$root/bin/$program" ] || fail "$root/bin/$program is missing"
    [ -f "$root/share/man/man1/$program.1" ] || fail "the manual page of $program is missing"
  done
  [ -f "$root/share/applications/skarvine.desktop" ] || fail "the desktop entry is missing"
  [ -f "$root/share/icons/hicolor/scalable/apps/skarvine.svg" ] || fail "the SVG icon is missing"
  png="$root/share/icons/hicolor/48x48/apps/skarvine.png"
  [ -f "$png" ] || fail "the 48-pixel icon is missing"
  # A PNG signature, then an IHDR of 48 x 48.
  [ "$(od -An -tx1 -j0 -N8 "$png" | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "the icon is not a PNG"
  [ "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')" = "0000003000000030" ] || fail "the icon is not 48 x 48"
  grep -qx 'Exec=skarvine' "$root/share/applications/skarvine.desktop" || fail "the entry does not start skarvine"
  grep -qx 'Icon=skarvine' "$root/share/applications/skarvine.desktop" || fail "the entry does not name the icon"
  if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$root/share/applications/skarvine.desktop" || fail "the desktop entry is not valid"
  fi
  "$root/bin/skarvine" --version | grep -q '^skarvine (Velmora runtime ' || fail "the installed program does not run"
}

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
check_tree "$scratch/prefix"

DESTDIR="$scratch/stage" cmake --install "$build" --prefix /opt/velmora > /dev/null
check_tree "$scratch/stage/opt/velmora"
echo "install test: every file in place"
