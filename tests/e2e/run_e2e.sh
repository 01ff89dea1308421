#!/usr/bin/env bash
# End-to-end checks of the real game: every scenario gets its own X server (Xvfb, 1024x768, no
# window manager) and its own private temporary and runtime folders; xdotool plays, and what the
# screen shows is judged from screenshots by colour classes and pixel counts with margins.
#
# usage: run_e2e.sh PUFFPOP_EXECUTABLE RESOURCES_DIR [SCENARIO...]
# The game's output, and the screenshots of a failed run (of every run with E2E_KEEP=1), stay in
# $E2E_ARTIFACTS (default ./e2e-artifacts).
set -u -o pipefail

readonly SKIP=77
if [ $# -lt 2 ]; then
  echo "usage: $0 PUFFPOP_EXECUTABLE RESOURCES_DIR [SCENARIO...]" >&2
  exit 2
fi
GAME=$(realpath "$1")
RESOURCES=$(realpath "$2")
shift 2

for tool in Xvfb xdotool xwininfo xdpyinfo import compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps brings it)"
    exit $SKIP
  fi
done
# ImageMagick's own convert; a wrapper of the same name earlier on PATH may not read every format.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=$(command -v convert)

ARTIFACTS=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-e2e.XXXXXX")

# The game's window sits at (desktop / 15) on a 1024x768 desktop.
readonly GX=68 GY=51
readonly STARTUP_CAPTION=':: Puffpop ::   |   :: Izaberite mod igranja ::'
readonly ASSETS="BalEksplozija.bmp:573536 BalEksplozijaM.bmp:9448 Baloni.bmp:149996 BaloniM.bmp:2544
Nishan.bmp:1248 Oblaci.bmp:921656 Eksplozija.wav:6484 Kraj.wav:4988 Promasaj.wav:12612
PucanjB.wav:5888 PucanjSB.wav:31764 Start.wav:25916"

# Colour classes, as ImageMagick -fx predicates on 0..1 channels.
readonly WHITE='r>0.9&&g>0.9&&b>0.9'
readonly YELLOW='r>0.75&&g>0.75&&b<0.4'
readonly DARK='(r+g+b)/3<0.35'

passed=0
failed=0
XVFB_PID=""
GAME_PID=""
GAME_RC=""
SCENE=""

# Sanitizer builds: no leak check here. The X, D-Bus and GL libraries a real display brings keep
# memory to the end, some of it from modules unloaded by then that no suppression can name; the
# unit suites check the game's own memory. The last setting of a sanitizer option wins.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
unset WAYLAND_DISPLAY
export SDL_VIDEODRIVER=x11
# A silent device that still plays in real time, so the synchronous start sound takes its time.
export SDL_AUDIODRIVER=dummy

cleanup() {
  stop_game
  stop_x
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

pass() {
  passed=$((passed + 1))
  echo "PASS: $SCENE: $1"
}

fail() {
  failed=$((failed + 1))
  echo "FAIL: $SCENE: $1${2:+ ($2)}"
  # A game that went away unasked explains most failures after it: say so once, with its status.
  if [ -n "$GAME_PID" ] && game_ended; then
    wait "$GAME_PID" 2>/dev/null
    GAME_RC=$?
    GAME_PID=""
    echo "      the game had ended by then, status $GAME_RC; stderr: $(tr '\n' ' ' <"$GAME_ERR")"
  fi
}

# check NAME CONDITION-COMMAND... [-- DETAIL]
check() {
  local name=$1
  shift
  local detail=""
  local args=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
      detail=$2
      break
    fi
    args+=("$1")
    shift
  done
  if "${args[@]}"; then pass "$name"; else fail "$name" "$detail"; fi
}

now_ms() { date +%s%3N; }

# wait_for SECONDS COMMAND...: polls until the command succeeds; false on timeout.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(now_ms)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# Float comparison: fcmp A OP B.
fcmp() { awk -v a="$1" -v b="$3" "BEGIN { exit !(a $2 b) }"; }

# ---- X server ---------------------------------------------------------------------------------

start_x() {
  local fdfile="$WORK/display.$SCENE"
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" \
    >"$ARTIFACTS/$SCENE.xvfb.log" 2>&1 &
  XVFB_PID=$!
  if ! wait_for 10 test -s "$fdfile"; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  wait_for 10 xdpyinfo >/dev/null 2>&1
}

stop_x() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}

screen_size() { xdpyinfo | awk '/dimensions:/ { print $2; exit }'; }

# Mapped top-level windows, which without a window manager are the root's children: one per
# line, ID, NAME and GEOMETRY separated by tabs, as the mode choice's caption holds a bar.
windows() {
  local id name geometry
  xwininfo -root -children 2>/dev/null |
    sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": ([^)]*) *\([0-9]*x[0-9]*[-+][-0-9]*[-+][-0-9]*\) .*/\1\t\2\t\3/p' |
    while IFS=$'\t' read -r id name geometry; do
      xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" &&
        printf "%s\t%s\t%s\n" "$id" "$name" "$geometry"
    done
}

# window_id NAME: the id of the mapped window of that exact name.
window_id() { windows | awk -F'\t' -v n="$1" '$2 == n { print $1; exit }'; }
window_geometry() { windows | awk -F'\t' -v n="$1" '$2 == n { print $3; exit }'; }
has_window() { [ -n "$(window_id "$1")" ]; }
window_count() { windows | grep -c . || true; }

# The game window is the one mapped window that is neither the mode choice nor a message box.
game_window_geometry() {
  windows | awk -F'\t' -v s="$STARTUP_CAPTION" '$2 != s && $2 != "Puffpop" { print $3; exit }'
}
game_window_is() { [ "$(game_window_geometry)" = "$1" ]; }

focused_on() {
  local id
  id=$(window_id "$1")
  [ -n "$id" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((id))" ]
}

# ---- The game ---------------------------------------------------------------------------------

# new_home NAME: fresh private TMPDIR and XDG_RUNTIME_DIR for one run.
new_home() {
  HOME_DIR="$WORK/$1"
  mkdir -p -m 0700 "$HOME_DIR" "$HOME_DIR/tmp" "$HOME_DIR/run"
  GAME_TMP="$HOME_DIR/tmp"
  GAME_RUN="$HOME_DIR/run"
}

start_game() {
  local tag=$1
  GAME_OUT="$ARTIFACTS/$SCENE.$tag.stdout"
  GAME_ERR="$ARTIFACTS/$SCENE.$tag.stderr"
  TMPDIR="$GAME_TMP" XDG_RUNTIME_DIR="$GAME_RUN" "$GAME" >"$GAME_OUT" 2>"$GAME_ERR" &
  GAME_PID=$!
  GAME_RC=""
}

# Running, and not yet a zombie waiting for this script to collect its status.
game_running() {
  [ -n "$GAME_PID" ] || return 1
  local state
  state=$(sed -n 's/^[0-9]* (.*) \([A-Za-z]\) .*/\1/p' "/proc/$GAME_PID/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}

game_ended() { ! game_running; }

# wait_game_exit SECONDS: sets GAME_RC; false if the game still runs.
wait_game_exit() {
  wait_for "$1" game_ended || return 1
  wait "$GAME_PID" 2>/dev/null
  GAME_RC=$?
  GAME_PID=""
}

stop_game() {
  if [ -n "$GAME_PID" ]; then
    kill -KILL "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
  fi
}

# click BUTTON [SECONDS]: a press the frame tick cannot miss, as it polls the buttons every 45 ms.
# A held button fires again on every fourth tick, so a press meant to fire once stays well short
# of 135 ms.
click() {
  xdotool mousedown "$1"
  sleep "${2:-0.12}"
  xdotool mouseup "$1"
}

# ---- Screenshots ------------------------------------------------------------------------------

# shot NAME: a screenshot of the whole screen; prints its path. Named by the time, as callers
# usually run it in a subshell.
shot() {
  local file
  file="$ARTIFACTS/$SCENE.$(date +%H%M%S.%3N).$1.png"
  import -window root "$file" 2>/dev/null
  echo "$file"
}

# count FILE W H X Y PREDICATE: pixels of the box that satisfy the predicate.
count() {
  "$CONVERT" "$1[$2x$3+$4+$5]" +repage -fx "$6" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# mean_rgb FILE W H X Y: the box's mean red, green and blue, 0..1.
mean_rgb() {
  "$CONVERT" "$1[$2x$3+$4+$5]" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info: 2>/dev/null
}

# red_pixels FILE W H X Y: pixels far redder than green: red, orange and purple balloons and
# bursts, and the red crosshair. The sky, clouds, hills and texts never are.
red_pixels() {
  "$CONVERT" "$1[$2x$3+$4+$5]" +repage -color-matrix '1 -1 0 0 0 0 0 0 0' \
    -channel R -separate +channel -threshold 35% -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# Red in the game area beyond what the crosshair alone has (about 130 pixels).
balloon_pixels() { red_pixels "$1" 640 480 "$GX" "$GY"; }

# Pixels that differ between two screenshots inside the game area.
frame_difference() {
  compare -metric AE -fuzz 2% "$1[640x480+$GX+$GY]" "$2[640x480+$GX+$GY]" null: 2>&1 >/dev/null |
    awk '{ printf "%d", $1 }'
}

is_black() { # FILE W H X Y
  local r g b
  read -r r g b <<<"$(mean_rgb "$@")"
  fcmp "$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { print r + g + b }')" '<' 0.06
}

# Sky: clearly blue, bright enough not to be a bar or a dark balloon.
is_sky() { # FILE W H X Y
  local r g b
  read -r r g b <<<"$(mean_rgb "$@")"
  fcmp "$b" '>' 0.55 && fcmp "$(awk -v r="$r" -v b="$b" 'BEGIN { print b - r }')" '>' 0.2
}

# Anything drawn by the game: not black.
is_lit() { # FILE W H X Y
  local r g b
  read -r r g b <<<"$(mean_rgb "$@")"
  fcmp "$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { print (r + g + b) / 3 }')" '>' 0.25
}

# Game-area texts, in screen coordinates of the windowed game.
attract_text() { count "$1" 440 40 $((GX + 100)) $((GY + 205)) "$WHITE"; }
gameover_text() { count "$1" 340 40 $((GX + 150)) $((GY + 205)) "$YELLOW"; }
score_line() { count "$1" 640 30 "$GX" $((GY + 6)) "$YELLOW"; }
result_text() { count "$1" 440 40 $((GX + 100)) $((GY + 265)) "$WHITE"; }
bomb_stars() { count "$1" 55 32 $((GX + 295)) $((GY + 4)) "$YELLOW"; }

attract_shown() { [ "$(attract_text "$(shot attract)")" -gt 400 ]; }
score_line_shown() { [ "$(score_line "$(shot playing)")" -gt 80 ]; }
gameover_shown() { [ "$(gameover_text "$(shot gameover)")" -gt 400 ]; }
balloons_shown() { [ "$(balloon_pixels "$(shot balloons)")" -gt 600 ]; }

# Back on the attract screen: the sky without the score line and without either game-over line;
# the attract line may be in the hidden half of its blink.
attract_back() {
  local f
  f=$(shot back)
  is_sky "$f" 600 60 $((GX + 20)) $((GY + 20)) && [ "$(gameover_text "$f")" -lt 50 ] &&
    [ "$(result_text "$f")" -lt 50 ] && [ "$(score_line "$f")" -lt 20 ]
}

# The mode-choice window's face colour has reached the screen.
startup_drawn() {
  local r g b
  read -r r g b <<<"$(mean_rgb "$(shot drawn)" 14 6 349 354)"
  fcmp "$r" '>' 0.65 && fcmp "$r" '<' 0.95
}

# The START button's outline on the mode-choice screenshot, each edge within two pixels of where
# the design puts it; the grey just outside it is plain.
button_outlined() {
  local f=$1
  [ "$(count "$f" 5 26 545 373 "$DARK")" -ge 20 ] && [ "$(count "$f" 5 26 656 373 "$DARK")" -ge 20 ] &&
    [ "$(count "$f" 100 5 555 366 "$DARK")" -ge 80 ] && [ "$(count "$f" 100 5 555 397 "$DARK")" -ge 80 ] &&
    [ "$(count "$f" 8 40 664 364 "$DARK")" -eq 0 ] && [ "$(count "$f" 8 40 535 364 "$DARK")" -eq 0 ]
}

# Starts a round from the attract screen: a left press in the sky.
start_round() {
  xdotool mousemove $((GX + 320)) $((GY + 400))
  click 1
  wait_for 8 score_line_shown
}

# Dismisses the fatal-error message box: focus it and press Return; Xvfb has no window manager
# to give it the focus.
dismiss_message_box() {
  local id tries
  for tries in 1 2 3; do
    id=$(window_id Puffpop)
    [ -n "$id" ] || return 1
    xdotool windowfocus "$id" 2>/dev/null
    xdotool key Return
    wait_for 3 game_ended && return 0
  done
  return 1
}

# ---- Scenarios ----------------------------------------------------------------------------------

# The mode choice, a refused second copy, and a whole windowed game from the first frame to Esc.
scenario_windowed() {
  new_home windowed
  start_game first
  if ! wait_for 15 has_window "$STARTUP_CAPTION"; then
    fail "mode-choice window appears" "no window named '$STARTUP_CAPTION'"
    return
  fi
  local geometry f
  geometry=$(window_geometry "$STARTUP_CAPTION")
  check "mode-choice window is 329x63, centred" \
    awk -v g="$geometry" 'BEGIN { split(g, a, /[x+]/); d1 = a[3] - 347.5; d2 = a[4] - 352.5;
      exit !(a[1] == 329 && a[2] == 63 && d1 * d1 <= 1 && d2 * d2 <= 1) }' -- "$geometry"
  # The window may be mapped a moment before its first frame reaches the screen.
  wait_for 10 startup_drawn
  f=$(shot mode-choice)
  local light=0 corner
  for corner in "349 354" "660 354" "349 407" "660 407"; do
    set -- $corner
    local r g b
    read -r r g b <<<"$(mean_rgb "$f" 14 6 "$1" "$2")"
    fcmp "$r" '>' 0.65 && fcmp "$r" '<' 0.95 && fcmp "$b" '>' 0.6 && fcmp "$b" '<' 0.95 &&
      light=$((light + 1))
  done
  check "mode-choice client area is light grey" test "$light" -eq 4 -- "$light of 4 corners light grey"
  check "black desktop around the mode-choice window" \
    is_black "$f" 329 10 347 340 -- "$(mean_rgb "$f" 329 10 347 340)"
  # START: a dark outline around client (200, 16) 113x33, with plain grey around it.
  check "START button outlined on the right of the window" button_outlined "$f"

  # A second copy, with the first at the mode choice: gone at once, quietly, without unpacking.
  local second_tmp="$HOME_DIR/tmp2"
  mkdir -m 0700 "$second_tmp"
  local started rc elapsed
  started=$(now_ms)
  TMPDIR="$second_tmp" XDG_RUNTIME_DIR="$GAME_RUN" timeout 10 "$GAME" \
    >"$ARTIFACTS/$SCENE.second.stdout" 2>"$ARTIFACTS/$SCENE.second.stderr"
  rc=$?
  elapsed=$(($(now_ms) - started))
  check "second copy exits with status 0" test "$rc" -eq 0 -- "status $rc"
  check "second copy exits at once" test "$elapsed" -lt 5000 -- "${elapsed} ms"
  check "second copy opens no window and unpacks nothing" \
    test "$(window_count)" -eq 1 -a ! -e "$second_tmp/Puffpop" -- "$(window_count) windows"
  check "first copy still runs" game_running

  # Enter presses START, which has the focus: a windowed game.
  wait_for 5 focused_on "$STARTUP_CAPTION"
  xdotool key Return
  if ! wait_for 15 game_window_is 640x480+68+51; then
    fail "game window at (68, 51), 640x480" "windows: $(windows | tr '\n' ' ')"
    return
  fi
  pass "game window at (68, 51), 640x480"
  check "mode-choice window closed" wait_for 5 eval '! has_window "$STARTUP_CAPTION"'

  f=$(shot game)
  check "sky inside the game window" is_sky "$f" 600 60 $((GX + 20)) $((GY + 20)) -- \
    "$(mean_rgb "$f" 600 60 $((GX + 20)) $((GY + 20)))"
  local edges=0
  for box in "640 2 $GX $GY" "640 2 $GX $((GY + 478))" "2 480 $GX $GY" "2 480 $((GX + 638)) $GY"; do
    is_lit "$f" $box && edges=$((edges + 1))
  done
  check "game picture reaches all four window edges" test "$edges" -eq 4 -- "$edges of 4"
  local outside=0
  for box in "640 3 $GX $((GY - 4))" "640 3 $GX $((GY + 481))" "3 480 $((GX - 4)) $GY" \
    "3 480 $((GX + 641)) $GY" "300 200 724 560"; do
    is_black "$f" $box && outside=$((outside + 1))
  done
  check "black outside the game window" test "$outside" -eq 5 -- "$outside of 5 boxes black"

  # The assets as unpacked: the twelve files, their sizes, the bytes of resources/.
  local folder="$GAME_TMP/Puffpop" entry name size bad=""
  for entry in $ASSETS; do
    name=${entry%%:*}
    size=${entry##*:}
    if [ ! -f "$folder/$name" ]; then
      bad+=" $name missing;"
    elif [ "$(stat -c %s "$folder/$name")" != "$size" ]; then
      bad+=" $name has $(stat -c %s "$folder/$name") bytes;"
    elif ! cmp -s "$folder/$name" "$RESOURCES/$name"; then
      bad+=" $name differs from resources/;"
    fi
  done
  check "twelve assets unpacked, sizes and bytes right" test -z "$bad" -- "$bad"
  check "asset folder holds nothing else" \
    test "$(find "$folder" -mindepth 1 | wc -l)" -eq 12 -- "$(ls -A "$folder" | tr '\n' ' ')"
  check "asset folder is private (0700)" test "$(stat -c %a "$folder")" = 700 -- \
    "mode $(stat -c %a "$folder")"

  # The attract line blinks: seen in some frames, gone in others.
  local seen_on=0 seen_off=0 deadline=$(($(now_ms) + 5000)) n
  while [ "$(now_ms)" -lt "$deadline" ] && { [ "$seen_on" -eq 0 ] || [ "$seen_off" -eq 0 ]; }; do
    n=$(attract_text "$(shot blink)")
    if [ "$n" -gt 400 ]; then seen_on=1; elif [ "$n" -lt 20 ]; then seen_off=1; fi
  done
  check "attract text blinks" test "$seen_on" -eq 1 -a "$seen_off" -eq 1 -- \
    "shown: $seen_on, hidden: $seen_off"

  # P on the attract screen freezes the blink; P again lets it go on.
  xdotool mousemove $((GX + 320)) $((GY + 400))
  xdotool key p
  sleep 0.1
  local a b frozen=1
  a=$(shot paused)
  for n in 1 2 3; do
    sleep 0.3
    b=$(shot paused)
    [ "$(frame_difference "$a" "$b")" -eq 0 ] || frozen=0
  done
  check "P freezes the attract screen" test "$frozen" -eq 1
  xdotool key p
  check "P again resumes the blinking" \
    wait_for 4 eval '[ "$(frame_difference "$b" "$(shot resumed)")" -gt 500 ]'

  # Round one: a left press starts it; Esc at once ends it on the game-over screen.
  if start_round; then
    pass "left press starts a round: score line shown"
    xdotool key Escape
    check "Esc during a round shows KRAJ IGRE" wait_for 3 gameover_shown
    check "game over returns to the attract screen" wait_for 6 attract_back
  else
    fail "left press starts a round: score line shown"
  fi
  check "Esc during a round does not quit" game_running

  # Round two: a smart bomb, balloons on their way up, a pause in flight, Esc while paused.
  if ! start_round; then
    fail "second round starts"
    return
  fi
  local before after
  before=$(bomb_stars "$(shot stars)")
  click 3 0.08
  local bombed=0 deadline=$(($(now_ms) + 3000))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    after=$(bomb_stars "$(shot bomb)")
    if [ "$before" -gt 30 ] && [ $((after * 100)) -le $((before * 82)) ] &&
      [ $((after * 100)) -ge $((before * 45)) ]; then
      bombed=1
      break
    fi
  done
  check "right press spends a bomb: three stars become two" test "$bombed" -eq 1 -- \
    "yellow star pixels before $before, after $after"
  # Balloons rise; a pause with one in flight freezes the frame. A round can end by itself (three
  # escapes) just before the pause: then another one is played, once.
  local attempt seen=0 in_flight=0
  for attempt in 1 2; do
    if wait_for 10 balloons_shown; then
      seen=1
      xdotool key p
      sleep 0.1
      a=$(shot paused)
      sleep 0.3
      b=$(shot paused)
      if [ "$(score_line "$b")" -gt 80 ]; then
        in_flight=1
        break
      fi
      xdotool key p
    fi
    [ "$attempt" -eq 1 ] && wait_for 6 attract_back && start_round || break
  done
  check "balloons rise" test "$seen" -eq 1
  if [ "$in_flight" -eq 1 ]; then
    check "P freezes a round in flight" test "$(frame_difference "$a" "$b")" -eq 0 -- \
      "$(frame_difference "$a" "$b") pixels changed"
    # Paused, the round cannot end by itself: Esc ends it, P shows what followed.
    xdotool key Escape
    xdotool key p
    check "P again resumes the round" \
      wait_for 3 eval '[ "$(frame_difference "$b" "$(shot resumed)")" -gt 200 ]'
    check "Esc in a paused round ends it: KRAJ IGRE" wait_for 3 gameover_shown
  else
    fail "P pauses a round in flight" "no running round was caught by the pause"
  fi
  check "back to the attract screen" wait_for 6 attract_back

  # Esc on the attract screen ends the program.
  xdotool key Escape
  if wait_game_exit 10; then
    check "Esc on the attract screen quits with status 0" test "$GAME_RC" -eq 0 -- "status $GAME_RC"
  else
    fail "Esc on the attract screen quits" "still running"
  fi
  check "no window left" test "$(window_count)" -eq 0 -- "$(windows | tr '\n' ' ')"
}

# Starts a full-screen game with the keyboard: Tab to the options, Down to full-screen, Tab back
# to START, Enter.
start_fullscreen() {
  start_game "$1"
  if ! wait_for 15 focused_on "$STARTUP_CAPTION"; then
    fail "mode-choice window appears with the focus"
    return 1
  fi
  xdotool mousemove 1000 740
  xdotool key Tab Down Tab Return
  if ! wait_for 15 eval '[ -n "$(game_window_geometry)" ] && ! has_window "$STARTUP_CAPTION"'; then
    fail "full-screen game window appears" "windows: $(windows | tr '\n' ' ')"
    return 1
  fi
}

# The full-screen frame fills the screen: Xvfb has only 1024x768, so the frame is scaled to it.
fullscreen_filled() {
  local f
  f=$(shot fullscreen)
  is_sky "$f" 24 24 500 400 && is_sky "$f" 12 24 4 372 && is_sky "$f" 12 24 1008 372
}

# crosshair_at X Y: the red crosshair is drawn around the pointer and nowhere else.
crosshair_at() {
  local f
  f=$(shot crosshair)
  [ "$(red_pixels "$f" 60 60 $(($1 - 30)) $(($2 - 30)))" -gt 60 ] &&
    [ "$(red_pixels "$f" 1024 768 0 0)" -lt 400 ]
}

scenario_fullscreen() {
  new_home fullscreen
  start_fullscreen game || return
  check "full-screen window covers the screen" wait_for 5 game_window_is 1024x768+0+0 -- \
    "$(game_window_geometry)"
  check "full-screen frame fills the screen: sky at centre and both sides" \
    wait_for 4 fullscreen_filled
  # The mouse is scaled too: the crosshair follows the pointer across the whole screen.
  xdotool mousemove 300 250
  check "full-screen crosshair follows the pointer to (300, 250)" wait_for 3 crosshair_at 300 250
  xdotool mousemove 800 600
  check "full-screen crosshair follows the pointer to (800, 600)" wait_for 3 crosshair_at 800 600
  check "the screen stays 1024x768 while playing" test "$(screen_size)" = 1024x768 -- "$(screen_size)"
  xdotool key Escape
  if wait_game_exit 10; then
    check "Esc quits full-screen with status 0" test "$GAME_RC" -eq 0 -- "status $GAME_RC"
  else
    fail "Esc quits full-screen" "still running"
  fi
  check "desktop still 1024x768 after quitting" test "$(screen_size)" = 1024x768 -- "$(screen_size)"
  check "no window left after full-screen" test "$(window_count)" -eq 0
}

scenario_sigterm() {
  new_home sigterm
  start_fullscreen game || return
  shot before-term >/dev/null
  kill -TERM "$GAME_PID"
  if wait_game_exit 10; then
    check "SIGTERM ends the full-screen game (status 143)" test "$GAME_RC" -eq 143 -- "status $GAME_RC"
  else
    fail "SIGTERM ends the full-screen game" "still running after 10 s"
  fi
  check "desktop still 1024x768 after SIGTERM" test "$(screen_size)" = 1024x768 -- "$(screen_size)"
  check "no window left after SIGTERM" test "$(window_count)" -eq 0
}

# The fatal-error report on stderr: "Puffpop: ..." with the path quoted in it.
reports_path() { grep -q '^Puffpop: ' "$GAME_ERR" && grep -qF "'$1'" "$GAME_ERR"; }

# expect_refusal TAG WHAT PATH: START is pressed; the game must stop with a message box and a
# report on stderr naming PATH.
expect_refusal() {
  local tag=$1 what=$2 path=$3
  start_game "$tag"
  if ! wait_for 15 focused_on "$STARTUP_CAPTION"; then
    fail "$what: mode-choice window appears"
    return 1
  fi
  xdotool key Return
  if ! wait_for 15 eval 'has_window Puffpop || game_ended'; then
    fail "$what: error shown" "neither a message box nor an exit"
    return 1
  fi
  shot "$tag" >/dev/null
  check "$what: message box titled Puffpop" has_window Puffpop
  if game_running && ! dismiss_message_box; then
    fail "$what: message box can be dismissed"
    return 1
  fi
  if ! wait_game_exit 10; then
    fail "$what: game ends"
    return 1
  fi
  check "$what: exit status 1" test "$GAME_RC" -eq 1 -- "status $GAME_RC"
  check "$what: stderr says why, naming the folder" reports_path "$path" -- \
    "$(tr '\n' ' ' <"$GAME_ERR")"
  check "$what: no window left" test "$(window_count)" -eq 0
}

scenario_refusals() {
  # The asset folder is a symbolic link to somewhere else.
  new_home symlink
  mkdir -m 0700 "$HOME_DIR/elsewhere"
  ln -s "$HOME_DIR/elsewhere" "$GAME_TMP/Puffpop"
  if expect_refusal symlink "symlinked asset folder" "$GAME_TMP/Puffpop"; then
    check "symlinked asset folder: nothing written" \
      test -z "$(ls -A "$HOME_DIR/elsewhere")" -a -L "$GAME_TMP/Puffpop" -a \
      "$(ls -A "$GAME_TMP")" = Puffpop
  fi

  # The asset folder is writable by everyone.
  new_home open
  mkdir "$GAME_TMP/Puffpop"
  chmod 0777 "$GAME_TMP/Puffpop"
  if expect_refusal open "world-writable asset folder" "$GAME_TMP/Puffpop"; then
    check "world-writable asset folder: nothing written, mode kept" \
      test -z "$(ls -A "$GAME_TMP/Puffpop")" -a "$(stat -c %a "$GAME_TMP/Puffpop")" = 777
  fi

  # The temporary directory does not exist.
  new_home missing
  GAME_TMP="$HOME_DIR/no-such-dir"
  if expect_refusal missing "missing temporary directory" "$GAME_TMP/Puffpop"; then
    check "missing temporary directory: nothing created" test ! -e "$GAME_TMP"
  fi
}

ALL_SCENARIOS="windowed fullscreen sigterm refusals"
selected=${*:-$ALL_SCENARIOS}
started=$(now_ms)
for SCENE in $selected; do
  if ! declare -F "scenario_$SCENE" >/dev/null; then
    fail "unknown scenario"
    continue
  fi
  scene_started=$(now_ms)
  if start_x; then
    "scenario_$SCENE"
  else
    fail "X server starts"
  fi
  stop_game
  stop_x
  # Sanitizer builds report on stderr; a report is a failure even where the exit status was right.
  reports=$(grep -l -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$ARTIFACTS/$SCENE".*.stderr 2>/dev/null)
  check "no sanitizer report" test -z "$reports" -- "$reports"
  echo "---- $SCENE: $(($(now_ms) - scene_started)) ms"
done
# Screenshots are kept for a failed run, or when asked for with E2E_KEEP=1.
if [ "$failed" -eq 0 ] && [ "${E2E_KEEP:-0}" != 1 ]; then
  rm -f "$ARTIFACTS"/*.png
  echo "e2e: $(($(now_ms) - started)) ms; the game's output is in $ARTIFACTS"
else
  echo "e2e: $(($(now_ms) - started)) ms; screenshots and the game's output are in $ARTIFACTS"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
