#!/usr/bin/env bash
# Makes one build's release packages in a scratch folder and tries them as a player would.
#   deb BUILD      the .deb holds exactly what `cmake --install` puts under /usr, and depends on
#                  the libraries the game links, never on a -dev package
#   windows BUILD  the NSIS installer installs silently under Wine (game, uninstaller, Start menu
#                  shortcut, Add/Remove Programs entry), the installed game starts and stays up
#                  until killed, and its uninstaller takes it all away; the zip holds the game and
#                  its licences
#
# usage: check_packages.sh deb|windows BUILD_DIR [CPACK]
set -u -o pipefail

readonly SKIP=77
if [ $# -lt 2 ] || [ $# -gt 3 ] || ! [[ $1 =~ ^(deb|windows)$ ]]; then
  echo "usage: $0 deb|windows BUILD_DIR [CPACK]" >&2
  exit 2
fi
kind=$1
build=$2
cpack=${3:-cpack}
cmake=$(dirname "$(command -v "$cpack")")/cmake
source_dir=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^ProductVersion=\([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' "$source_dir/resources/version.txt")

skip() { echo "SKIP: $*"; exit $SKIP; }
[ -f "$build/CPackConfig.cmake" ] || skip "$build is not a configured build (no CPackConfig.cmake)"
case $kind in
  deb) tools="dpkg-deb dpkg-shlibdeps" ;;
  windows) tools="makensis unzip wine wineserver Xvfb xdotool" ;;
esac
for tool in $tools; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps brings it)"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-packages.XXXXXX")
xvfb=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

source "$source_dir/packaging/checks.sh"
finish() {
  [ "$failed" -gt 0 ] && [ -f "$scratch/log" ] && cat "$scratch/log"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/log" 2>&1; then
  check "cpack makes the packages of $build" false
  finish
fi

if [ "$kind" = deb ]; then
  deb=$scratch/out/puffpop_${version}_$(dpkg --print-architecture).deb
  check "package named $(basename "$deb")" test -f "$deb"
  DESTDIR=$scratch/root "$cmake" --install "$build" --prefix /usr >>"$scratch/log" 2>&1
  (cd "$scratch/root" && find . ! -type d | sort) >"$scratch/installed"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$scratch/packaged"
  check "holds exactly what cmake --install puts under /usr" \
    diff "$scratch/installed" "$scratch/packaged"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # The package names alone, one a line.
  sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends" >"$scratch/depends"
  for lib in libc6 libstdc++6 libsdl2-2.0-0 libx11-6 libxrandr2; do
    check "depends on $lib" grep -qxF "$lib" "$scratch/depends"
  done
  check "depends on no -dev package" bash -c '! grep -q -- "-dev$" "$0"' "$scratch/depends"
  check "sits in the games section" test "$(dpkg-deb -f "$deb" Section)" = games
  finish
fi

name=Puffpop-$version-win64
check "zip holds the game and its licences" test "$(unzip -Z1 "$scratch/out/$name.zip" | sort | tr '\n' ' ')" = \
  "$name/FONT-LICENSE.txt $name/LICENSE.txt $name/Puffpop.exe "

# A Wine of its own, on an X server of its own: nothing leaks into the player's Wine or menus.
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>>"$scratch/log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$scratch/display")

wine "$scratch/out/$name.exe" /S >>"$scratch/log" 2>&1
wineserver -w
dir=$WINEPREFIX/drive_c/Program\ Files/Puffpop
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Puffpop
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Puffpop'
window_shows() { xdotool search --onlyvisible --class puffpop.exe >/dev/null 2>&1; }

check "installer puts Puffpop.exe and the licences in Program Files" \
  test -f "$dir/Puffpop.exe" -a -f "$dir/LICENSE.txt" -a -f "$dir/FONT-LICENSE.txt"
check "installer leaves an uninstaller" test -f "$dir/Uninstall.exe"
check "Start menu has Puffpop\\Puffpop.lnk" test -f "$menu/Puffpop.lnk"
# `reg query` lines as NAME|TYPE|VALUE.
wine reg query "$key" 2>&1 | tr -d '\r' | sed -E 's/^ +//; s/ {4}/|/g' >"$scratch/registry"
for entry in "DisplayName|REG_SZ|Puffpop" "DisplayVersion|REG_SZ|$version" \
  "Publisher|REG_SZ|Puffpop Team" 'DisplayIcon|REG_SZ|C:\Program Files\Puffpop\Puffpop.exe' \
  'UninstallString|REG_SZ|"C:\Program Files\Puffpop\Uninstall.exe"'; do
  check "Add/Remove Programs entry: $entry" grep -qxF "$entry" "$scratch/registry"
done
check "Add/Remove Programs shows the installed size" grep -qE '^EstimatedSize\|REG_DWORD\|0x0*[1-9a-f]' "$scratch/registry"

# The game's first window shows, and the game is still there a moment later, until killed.
wine 'C:\Program Files\Puffpop\Puffpop.exe' >>"$scratch/log" 2>&1 &
game=$!
for _ in $(seq 100); do
  window_shows && break
  kill -0 "$game" 2>/dev/null || break
  sleep 0.2
done
check "installed game opens a window" window_shows
sleep 2
check "installed game stays up until killed" kill "$game"
wait "$game" 2>/dev/null

wine "$dir/Uninstall.exe" /S >>"$scratch/log" 2>&1
wineserver -w
check "uninstaller removes the install folder" test ! -e "$dir"
check "uninstaller removes the Start menu folder" test ! -e "$menu"
check "uninstaller removes the Add/Remove Programs entry" \
  bash -c '! wine reg query "$0" >/dev/null 2>&1' "$key"
finish
