#!/usr/bin/env bash
# Installs a built tree into a scratch root under /usr and checks what a desktop reads from it:
# the launcher and the AppStream metadata validate, the icon exists at every size it claims, and
# the binary, the README and the font licence are where the launcher and a packager expect them.
#
# usage: check_install.sh BUILD_DIR [CMAKE]
set -u -o pipefail

readonly SKIP=77
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [CMAKE]" >&2
  exit 2
fi
build=$1
cmake=${2:-cmake}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps brings it)"
    exit $SKIP
  fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
root=$scratch/usr

source "$source_dir/packaging/checks.sh"

# The width and height a PNG's header states.
png_size() {
  od -An -tu1 -j16 -N8 "$1" 2>/dev/null |
    awk '{ printf "%dx%d", $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

is_png_of() { # FILE SIZE
  [ "$(od -An -c -j1 -N3 "$1" 2>/dev/null | tr -d ' ')" = PNG ] && [ "$(png_size "$1")" = "$2" ]
}

# The value of a key in the desktop file's main group.
desktop_key() { sed -n "s/^$1=//p" "$desktop" | head -n1; }

# Validators print their findings; the test output shows them, and any error or warning fails.
validate_desktop() {
  local out
  out=$(desktop-file-validate "$desktop" 2>&1)
  local rc=$?
  [ -n "$out" ] && echo "$out"
  [ "$rc" -eq 0 ] && ! grep -qiE 'error|warning' <<<"$out"
}

validate_metainfo() {
  appstreamcli validate --no-net --explain "$metainfo"
}

# The tree as a whole: the metadata together with the launcher it names.
validate_tree() {
  appstreamcli validate-tree --no-net --explain "$scratch"
}

if ! DESTDIR="$scratch" "$cmake" --install "$build" --prefix /usr >"$scratch.log" 2>&1; then
  cat "$scratch.log"
  rm -f "$scratch.log"
  check "cmake --install into a scratch root" false
  echo "$passed passed, $failed failed"
  exit 1
fi
rm -f "$scratch.log"
check "cmake --install into a scratch root" true

desktop=$root/share/applications/puffpop.desktop
metainfo=$root/share/metainfo/io.github.puffpop.Puffpop.metainfo.xml

check "bin/puffpop installed and executable" test -x "$root/bin/puffpop"
check "launcher installed" test -f "$desktop"
check "launcher validates (desktop-file-validate)" validate_desktop
check "launcher starts the installed binary" test -x "$root/bin/$(desktop_key Exec)"
check "launcher is a game in the arcade category" \
  test "$(desktop_key Categories)" = "Game;ArcadeGame;"
check "launcher offers both ways to play as actions" \
  test "$(desktop_key Actions)" = "windowed;fullscreen;"
check "launcher matches the game's window class" test "$(desktop_key StartupWMClass)" = puffpop
check "AppStream metadata installed" test -f "$metainfo"
check "AppStream metadata validates (appstreamcli, no network)" validate_metainfo
check "installed tree validates (appstreamcli validate-tree)" validate_tree
check "AppStream metadata launches the installed launcher" \
  grep -qF "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"

icon=$(desktop_key Icon)
for size in 48 128 256; do
  check "${size}x${size} icon is a ${size}x${size} PNG" \
    is_png_of "$root/share/icons/hicolor/${size}x${size}/apps/$icon.png" "${size}x${size}"
done
# Nothing else in the theme: an icon at a size not listed above would be a stale build output.
check "no other icon sizes" \
  test "$(find "$root/share/icons" -type f | wc -l)" -eq 3

docs=$root/share/doc/puffpop
check "README installed unchanged" cmp -s "$docs/README.md" "$source_dir/README.md"
check "font licence installed" grep -q 'Bitstream Vera' "$docs/FONT-LICENSE"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
