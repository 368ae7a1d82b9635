#!/bin/sh
# Installs the build into a scratch prefix, checks that exactly the program and
# its desktop files arrive, then runs the freedesktop validators over them.
# Usage: check_install.sh CMAKE BUILD_DIR PROGRAM
# Exits 77 (skipped) when a validator is not installed.
set -eu

cmake_command=$1
build_dir=$2
program=$3

if [ ! -x "$program" ]; then
  echo "FAIL: $program is not built; build the quenzartsrv-gui target first" >&2
  exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A prefix below a root folder, so that the tree validator can take the root.
prefix=$scratch/usr

"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
}

expected="bin/quenzartsrv-gui
share/applications/quenzartsrv-gui.desktop
share/icons/hicolor/16x16/apps/quenzartsrv-gui.png
share/icons/hicolor/32x32/apps/quenzartsrv-gui.png
share/icons/hicolor/48x48/apps/quenzartsrv-gui.png
share/metainfo/org.example.QuenzartServerGUI.metainfo.xml"
installed=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)

status=0
if [ -e "$prefix/bin/quenzartsrv" ]; then
  echo "FAIL: the stand-in server bin/quenzartsrv is installed" >&2
  status=1
fi
if [ "$installed" != "$expected" ]; then
  echo "FAIL: the installed files differ from the expected ones (- expected, + installed):" >&2
  printf '%s\n' "$expected" >"$scratch/expected"
  printf '%s\n' "$installed" >"$scratch/installed"
  diff -u "$scratch/expected" "$scratch/installed" | tail -n +3 >&2 || true
  status=1
fi
if [ -f "$prefix/bin/quenzartsrv-gui" ] && [ ! -x "$prefix/bin/quenzartsrv-gui" ]; then
  echo "FAIL: bin/quenzartsrv-gui is not executable" >&2
  status=1
fi
[ "$status" -eq 0 ] || exit "$status"

missing=""
for validator in desktop-file-validate appstreamcli; do
  command -v "$validator" >/dev/null 2>&1 || missing="$missing $validator"
done
if [ -n "$missing" ]; then
  echo "SKIP: the installed tree is right, but not validated:$missing not installed"
  exit 77
fi

desktop-file-validate "$prefix/share/applications/quenzartsrv-gui.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.example.QuenzartServerGUI.metainfo.xml"
# Across the tree: the launchable names an installed desktop file, the icon
# it names is installed.
appstreamcli validate-tree --no-net "$scratch"
echo "PASS: installed tree under $prefix is complete and valid"
