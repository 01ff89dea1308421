#!/usr/bin/env bash
# End-to-end checks of the real game, each scenario on its own Xvfb (1024x768, no window manager)
# with private temporary and runtime folders: xdotool plays; screenshots are judged by colour
# classes and pixel counts with margins. $E2E_ARTIFACTS (default ./e2e-artifacts) keeps the game's
# output, and the screenshots of a failed run (of every run with E2E_KEEP=1).
set -u -o pipefail

[ $# -ge 2 ] || { echo "usage: $0 PUFFPOP_EXECUTABLE RESOURCES_DIR [SCENARIO...]" >&2; exit 2; }
GAME=$(realpath "$1")
RESOURCES=$(realpath "$2")
shift 2
for tool in Xvfb xdotool xwininfo xdpyinfo import compare; do
  command -v "$tool" >/dev/null && continue
  echo "SKIP: $tool is not installed (scripts/install-deps brings it)"
  exit 77
done
# ImageMagick's own convert; a wrapper of the same name earlier on PATH may not read every format.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=$(command -v convert)
ARTIFACTS=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}
rm -rf "$ARTIFACTS" && mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-e2e.XXXXXX")

# The game's window sits at (desktop / 15) on a 1024x768 desktop.
readonly GX=68 GY=51 GAME_AREA=640x480+68+51 SKY_BOX=600x60+88+71
readonly CHOOSER=':: Puffpop ::   |   :: Izaberite mod igranja ::'
readonly ASSETS="BalEksplozija.bmp:573536 BalEksplozijaM.bmp:9448 Baloni.bmp:149996 BaloniM.bmp:2544
Nishan.bmp:1248 Oblaci.bmp:921656 Eksplozija.wav:6484 Kraj.wav:4988 Promasaj.wav:12612
PucanjB.wav:5888 PucanjSB.wav:31764 Start.wav:25916"
# Colour classes, as ImageMagick -fx predicates: of a pixel's 0..1 channels (for `count`) or of a
# box's mean channels (for `box_is`). Sky: clearly blue, too bright for a bar or a dark balloon.
readonly WHITE='r>0.9&&g>0.9&&b>0.9' YELLOW='r>0.75&&g>0.75&&b<0.4' DARK='(r+g+b)/3<0.35'
readonly BLACK='mean.r+mean.g+mean.b<0.06' LIT='(mean.r+mean.g+mean.b)/3>0.25'
readonly SKY='mean.b>0.55&&mean.b-mean.r>0.2' FACE='mean.r>0.65&&mean.r<0.95'
readonly GREY="$FACE&&mean.b>0.6&&mean.b<0.95"

passed=0 failed=0 XVFB_PID="" GAME_PID="" GAME_RC="" SCENE=""

# Sanitizer builds: no leak check here. The X, D-Bus and GL libraries a real display brings keep
# memory to the end, some of it from modules unloaded by then that no suppression can name; the
# unit suites check the game's own memory. The last setting of a sanitizer option wins.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
unset WAYLAND_DISPLAY
# Silent audio that still plays in real time, so the synchronous start sound takes its time.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

stop() { # PID-VARIABLE SIGNAL: ends that process, if any, and forgets it.
  [ -z "${!1}" ] || { kill "-$2" "${!1}" 2>/dev/null; wait "${!1}" 2>/dev/null; }
  printf -v "$1" ""
}
cleanup() { stop GAME_PID KILL; stop XVFB_PID TERM; rm -rf "$WORK"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

pass() { passed=$((passed + 1)); echo "PASS: $SCENE: $1"; }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $SCENE: $1${2:+ ($2)}"
  # A game that went away unasked explains most failures after it: say so once, with its status.
  if [ -n "$GAME_PID" ] && ! game_running; then
    collect
    echo "      the game had ended by then, status $GAME_RC; stderr: $(tr '\n' ' ' <"$GAME_ERR")"
  fi
}

# check NAME COMMAND... [-- DETAIL]: false on failure. DETAIL is expanded only then, to show the
# state the check failed on: quote it with single quotes.
check() {
  local name=$1 cmd=() detail
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do cmd+=("$1") && shift; done
  "${cmd[@]}" && pass "$name" && return
  eval "detail=\"${2:-}\""
  fail "$name" "$detail"
  return 1
}

now_ms() { date +%s%3N; }

# wait_for SECONDS COMMAND...: polls until the command succeeds; false on timeout.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do [ "$(now_ms)" -lt "$deadline" ] || return 1; sleep 0.1; done
}

start_x() {
  local fdfile="$WORK/display.$SCENE"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" \
    >"$ARTIFACTS/$SCENE.xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_for 10 test -s "$fdfile" || return 1
  export DISPLAY=":$(head -n1 "$fdfile")"
  wait_for 10 xdpyinfo >/dev/null 2>&1
}

screen_size() { xdpyinfo | awk '/dimensions:/ { print $2; exit }'; }
screen_kept() { [ "$(screen_size)" = 1024x768 ]; }

# Mapped top-level windows, which without a window manager are the root's children: one per
# line, ID, NAME and GEOMETRY separated by tabs, as the mode choice's caption holds a bar.
windows() {
  xwininfo -root -children 2>/dev/null |
    sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": ([^)]*) *\([0-9]*x[0-9]*[-+][-0-9]*[-+][-0-9]*\) .*/\1\t\2\t\3/p' |
    while IFS= read -r line; do
      xwininfo -id "${line%%$'\t'*}" 2>/dev/null | grep -q "Map State: IsViewable" && echo "$line"
    done
}
window_list() { windows | tr '\n' ' '; }
# window NAME FIELD: field 1 (id) or 3 (geometry) of the mapped window of that exact name.
window() { windows | awk -F'\t' -v n="$1" -v f="$2" '$2 == n { print $f; exit }'; }
has_window() { [ -n "$(window "$1" 1)" ]; }
# The game window is the one mapped window that is neither the mode choice nor a message box.
game_window() { windows | awk -F'\t' -v s="$CHOOSER" '$2 != s && $2 != "Puffpop" { print $3; exit }'; }
game_window_is() { [ "$(game_window)" = "$1" ]; }
# GL libraries mapped by the game: none, as frames reach X through shared memory, never OpenGL.
gl_libs() { grep -oE '[^ ]*(/dri/|libGL|libEGL|libLLVM|swrast)[^ ]*$' "/proc/$GAME_PID/maps" | sort -u | tr '\n' ' '; }
focused_on() {
  local id; id=$(window "$1" 1)
  [ -n "$id" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((id))" ]
}

# new_home NAME: fresh private TMPDIR and XDG_RUNTIME_DIR for one run.
new_home() {
  HOME_DIR="$WORK/$1" GAME_TMP="$WORK/$1/tmp" GAME_RUN="$WORK/$1/run"
  mkdir -p -m 0700 "$HOME_DIR" "$GAME_TMP" "$GAME_RUN"
}

start_game() {
  GAME_ERR="$ARTIFACTS/$SCENE.$1.stderr" GAME_RC=""
  TMPDIR="$GAME_TMP" XDG_RUNTIME_DIR="$GAME_RUN" "$GAME" >"$ARTIFACTS/$SCENE.$1.stdout" 2>"$GAME_ERR" &
  GAME_PID=$!
}

# Running, and not yet a zombie waiting for this script to collect its status.
game_running() { [ -n "$GAME_PID" ] && ps -o stat= -p "$GAME_PID" | grep -q '^[^Z]'; }
game_ended() { ! game_running; }
# Sets GAME_RC from the ended game; a status collected before is kept.
collect() { [ -z "$GAME_PID" ] || { wait "$GAME_PID" 2>/dev/null; GAME_RC=$?; GAME_PID=""; }; }
exits_with() { wait_for 10 game_ended && collect && [ "$GAME_RC" -eq "$1" ]; }

# expect_exit STATUS WHAT: the game ends with that status and leaves the desktop as it found it.
expect_exit() {
  check "$2 with status $1" exits_with "$1" -- 'status ${GAME_RC:-none: still running}'
  check "$2: desktop still 1024x768" screen_kept -- '$(screen_size)'
  check "$2: no window left" test -z "$(windows)" -- '$(window_list)'
}

# click BUTTON [SECONDS]: a press the frame tick, polling the buttons every 45 ms, cannot miss. A
# held button fires again on every fourth tick, so a press meant to fire once stays under 135 ms.
click() { xdotool mousedown "$1"; sleep "${2:-0.12}"; xdotool mouseup "$1"; }

# shot NAME: a screenshot of the whole screen; prints its path. Named by the time, as callers
# usually run it in a subshell.
shot() {
  local file="$ARTIFACTS/$SCENE.$(date +%H%M%S.%3N).$1.png"
  import -window root "$file" 2>/dev/null
  echo "$file"
}

# measure FILE BOX FORMAT [OPERATOR...]: ImageMagick's FORMAT of the box (WxH+X+Y) of a screenshot.
measure() { "$CONVERT" "$1[$2]" +repage "${@:4}" -format "$3" info: 2>/dev/null; }
mean_rgb() { measure "$1" "$2" '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]'; }
box_is() { [ "$(measure "$1" "$2" "%[fx:$3]")" = 1 ]; }          # FILE BOX MEAN-PREDICATE
count() { measure "$1" "$2" '%[fx:round(mean*w*h)]' -fx "$3"; } # FILE BOX PIXEL-PREDICATE
# red_pixels FILE BOX: pixels far redder than green: red, orange and purple balloons and bursts,
# and the red crosshair. The sky, clouds, hills and texts never are.
red_pixels() {
  measure "$1" "$2" '%[fx:round(mean*w*h)]' -color-matrix '1 -1 0 0 0 0 0 0 0' \
    -channel R -separate +channel -threshold 35%
}

# check_boxes NAME FILE MEAN-PREDICATE BOX...: every box's mean colour satisfies the predicate.
check_boxes() {
  local name=$1 f=$2 predicate=$3 box bad=""
  shift 3
  for box; do box_is "$f" "$box" "$predicate" || bad+=" $box: $(mean_rgb "$f" "$box");"; done
  check "$name" test -z "$bad" -- 'mean colours off:$bad'
}

# Pixels that differ between two screenshots inside the game area.
frame_difference() {
  compare -metric AE -fuzz 2% "$1[$GAME_AREA]" "$2[$GAME_AREA]" null: 2>&1 >/dev/null |
    awk '{ printf "%d", $1 }'
}
changed_from() { [ "$(frame_difference "$1" "$(shot resumed)")" -gt "$2" ]; } # FILE PIXELS

# Game-area texts, in screen coordinates of the windowed game.
attract_text() { count "$1" 440x40+$((GX + 100))+$((GY + 205)) "$WHITE"; }
gameover_text() { count "$1" 340x40+$((GX + 150))+$((GY + 205)) "$YELLOW"; }
score_line() { count "$1" 640x30+$GX+$((GY + 6)) "$YELLOW"; }
result_text() { count "$1" 440x40+$((GX + 100))+$((GY + 265)) "$WHITE"; }
bomb_stars() { count "$1" 55x32+$((GX + 295))+$((GY + 4)) "$YELLOW"; }
score_line_shown() { [ "$(score_line "$(shot playing)")" -gt 80 ]; }
gameover_shown() { [ "$(gameover_text "$(shot gameover)")" -gt 400 ]; }
# Red in the game area beyond what the crosshair alone has (about 130 pixels).
balloons_shown() { [ "$(red_pixels "$(shot balloons)" "$GAME_AREA")" -gt 600 ]; }

# Back on the attract screen: the sky without the score line and without either game-over line;
# the attract line may be in the hidden half of its blink.
attract_back() {
  local f; f=$(shot back)
  box_is "$f" "$SKY_BOX" "$SKY" && [ "$(gameover_text "$f")" -lt 50 ] &&
    [ "$(result_text "$f")" -lt 50 ] && [ "$(score_line "$f")" -lt 20 ]
}

# The attract line blinks, 450 ms each way: true once it was seen both shown and hidden.
blink_seen() {
  local n; n=$(attract_text "$(shot blink)")
  if [ "$n" -gt 400 ]; then SEEN_ON=1; elif [ "$n" -lt 20 ]; then SEEN_OFF=1; fi
  [ "$SEEN_ON$SEEN_OFF" = 11 ]
}

# The START button's outline on the mode-choice screenshot, each edge within two pixels of where
# the design puts it; the grey just outside it is plain.
button_outlined() {
  [ "$(count "$1" 5x26+545+373 "$DARK")" -ge 20 ] && [ "$(count "$1" 5x26+656+373 "$DARK")" -ge 20 ] &&
    [ "$(count "$1" 100x5+555+366 "$DARK")" -ge 80 ] && [ "$(count "$1" 100x5+555+397 "$DARK")" -ge 80 ] &&
    [ "$(count "$1" 8x40+664+364 "$DARK")" -eq 0 ] && [ "$(count "$1" 8x40+535+364 "$DARK")" -eq 0 ]
}

# paused_still SHOTS: presses P, then compares a screenshot with SHOTS more taken 0.3 s apart;
# true if none differs. Leaves the first and the last in SHOT_A and SHOT_B.
paused_still() {
  local i still=0
  xdotool key p
  sleep 0.1
  SHOT_A=$(shot paused)
  for ((i = 0; i < $1; i++)); do
    sleep 0.3 && SHOT_B=$(shot paused)
    [ "$(frame_difference "$SHOT_A" "$SHOT_B")" -eq 0 ] || still=1
  done
  return $still
}

# Starts a round from the attract screen: a left press in the sky.
start_round() { xdotool mousemove $((GX + 320)) $((GY + 400)); click 1; wait_for 8 score_line_shown; }

# One of three bomb stars gone: their yellow falls to 45..82 per cent of STARS_BEFORE.
bomb_spent() {
  STARS_AFTER=$(bomb_stars "$(shot bomb)")
  [ "$STARS_BEFORE" -gt 30 ] && [ $((STARS_AFTER * 100)) -le $((STARS_BEFORE * 82)) ] &&
    [ $((STARS_AFTER * 100)) -ge $((STARS_BEFORE * 45)) ]
}

# The mode choice, a refused second copy, and a whole windowed game from the first frame to Esc.
scenario_windowed() {
  new_home windowed
  start_game first
  check "mode-choice window appears" wait_for 15 has_window "$CHOOSER" -- '$(window_list)' || return
  local geometry f
  geometry=$(window "$CHOOSER" 3)
  check "mode-choice window is 329x63, centred" \
    awk -v g="$geometry" 'BEGIN { split(g, a, /[x+]/); d1 = a[3] - 347.5; d2 = a[4] - 352.5;
      exit !(a[1] == 329 && a[2] == 63 && d1 * d1 <= 1 && d2 * d2 <= 1) }' -- '$geometry'
  # The window may be mapped a moment before its first frame reaches the screen.
  wait_for 10 eval 'box_is "$(shot drawn)" 14x6+349+354 "$FACE"'
  f=$(shot mode-choice)
  check_boxes "mode-choice client area is light grey in all four corners" "$f" "$GREY" \
    14x6+349+354 14x6+660+354 14x6+349+407 14x6+660+407
  check_boxes "black desktop around the mode-choice window" "$f" "$BLACK" 329x10+347+340
  # START: a dark outline around client (200, 16) 113x33, with plain grey around it.
  check "START button outlined on the right of the window" button_outlined "$f"

  # A second copy, with the first at the mode choice: gone at once, quietly, without unpacking.
  local second_tmp="$HOME_DIR/tmp2" started rc elapsed
  mkdir -m 0700 "$second_tmp"
  started=$(now_ms)
  TMPDIR="$second_tmp" XDG_RUNTIME_DIR="$GAME_RUN" timeout 10 "$GAME" \
    >"$ARTIFACTS/$SCENE.second.stdout" 2>"$ARTIFACTS/$SCENE.second.stderr"
  rc=$? elapsed=$(($(now_ms) - started))
  check "second copy exits with status 0" test "$rc" -eq 0 -- 'status $rc'
  check "second copy exits at once" test "$elapsed" -lt 5000 -- '$elapsed ms'
  check "second copy opens no window and unpacks nothing" \
    test "$(windows | wc -l)" -eq 1 -a ! -e "$second_tmp/Puffpop" -- '$(window_list)'
  check "first copy still runs" game_running

  # Enter presses START, which has the focus: a windowed game.
  wait_for 5 focused_on "$CHOOSER"
  xdotool key Return
  check "game window at (68, 51), 640x480" wait_for 15 game_window_is "$GAME_AREA" -- \
    '$(window_list)' || return
  check "mode-choice window closed" wait_for 5 eval '! has_window "$CHOOSER"'
  check "windowed game loads no GL library" test -z "$(gl_libs)" -- '$(gl_libs)'
  # Mapped, it shows its back colour until the first tick draws the sky, 45 ms on.
  wait_for 5 eval 'box_is "$(shot drawn)" "$SKY_BOX" "$SKY"'
  f=$(shot game)
  check_boxes "sky inside the game window" "$f" "$SKY" "$SKY_BOX"
  check_boxes "game picture reaches all four window edges" "$f" "$LIT" \
    640x2+$GX+$GY 640x2+$GX+$((GY + 478)) 2x480+$GX+$GY 2x480+$((GX + 638))+$GY
  check_boxes "black outside the game window" "$f" "$BLACK" 640x3+$GX+$((GY - 4)) \
    640x3+$GX+$((GY + 481)) 3x480+$((GX - 4))+$GY 3x480+$((GX + 641))+$GY 300x200+724+560

  # The assets as unpacked: the twelve files and nothing else, their sizes, the bytes of resources/.
  local folder="$GAME_TMP/Puffpop" entry differ=""
  check "twelve assets unpacked with their sizes, nothing else" test \
    "$(find "$folder" -mindepth 1 -printf '%P:%s\n' | sort)" = "$(printf '%s\n' $ASSETS | sort)" -- \
    '$(find "$folder" -mindepth 1 -printf "%P:%s ")'
  for entry in $ASSETS; do
    cmp -s "$folder/${entry%%:*}" "$RESOURCES/${entry%%:*}" || differ+=" ${entry%%:*}"
  done
  check "unpacked assets hold the bytes of resources/" test -z "$differ" -- 'differing:$differ'
  check "asset folder is private (0700)" test "$(stat -c %a "$folder")" = 700 -- \
    'mode $(stat -c %a "$folder")'

  SEEN_ON=0 SEEN_OFF=0
  check "attract text blinks" wait_for 5 blink_seen -- 'shown: $SEEN_ON, hidden: $SEEN_OFF'
  # P on the attract screen freezes the blink; P again lets it go on.
  xdotool mousemove $((GX + 320)) $((GY + 400))
  check "P freezes the attract screen" paused_still 3
  xdotool key p
  check "P again resumes the blinking" wait_for 4 changed_from "$SHOT_B" 500

  # Round one: a left press starts it; Esc at once ends it on the game-over screen.
  if check "left press starts a round: score line shown" start_round; then
    xdotool key Escape
    check "Esc during a round shows KRAJ IGRE" wait_for 3 gameover_shown
    check "game over returns to the attract screen" wait_for 6 attract_back
  fi
  check "Esc during a round does not quit" game_running

  # Round two: a smart bomb, balloons on their way up, a pause in flight, Esc while paused.
  check "second round starts" start_round || return
  STARS_BEFORE=$(bomb_stars "$(shot stars)") STARS_AFTER=""
  click 3 0.08
  check "right press spends a bomb: three stars become two" wait_for 3 bomb_spent -- \
    'yellow star pixels before $STARS_BEFORE, after $STARS_AFTER'
  # Balloons rise; a pause with one in flight freezes the frame. A round can end by itself (three
  # escapes) just before the pause: then another one is played, once.
  local attempt seen=0 in_flight=0
  for attempt in 1 2; do
    if wait_for 10 balloons_shown; then
      seen=1
      paused_still 1
      [ "$(score_line "$SHOT_B")" -gt 80 ] && in_flight=1 && break
      xdotool key p
    fi
    [ "$attempt" -eq 1 ] && wait_for 6 attract_back && start_round || break
  done
  check "balloons rise" test "$seen" -eq 1
  if check "P pauses a round in flight" test "$in_flight" -eq 1 -- 'no round caught running'; then
    check "P freezes a round in flight" test "$(frame_difference "$SHOT_A" "$SHOT_B")" -eq 0 -- \
      '$(frame_difference "$SHOT_A" "$SHOT_B") pixels changed'
    # Paused, the round cannot end by itself: Esc ends it, P shows what followed.
    xdotool key Escape
    xdotool key p
    check "P again resumes the round" wait_for 3 changed_from "$SHOT_B" 200
    check "Esc in a paused round ends it: KRAJ IGRE" wait_for 3 gameover_shown
  fi
  check "back to the attract screen" wait_for 6 attract_back
  xdotool key Escape
  expect_exit 0 "Esc on the attract screen quits"
}

# Starts a full-screen game with the keyboard: Tab to the options, Down to full-screen, Tab back
# to START, Enter.
start_fullscreen() {
  new_home "$SCENE"
  start_game game
  check "mode-choice window appears with the focus" wait_for 15 focused_on "$CHOOSER" || return
  xdotool mousemove 1000 740
  xdotool key Tab Down Tab Return
  check "full-screen game window appears" \
    wait_for 15 eval '[ -n "$(game_window)" ] && ! has_window "$CHOOSER"' -- '$(window_list)'
}

# The full-screen frame fills the screen: Xvfb has only 1024x768, so the frame is scaled to it.
fullscreen_filled() {
  local f; f=$(shot fullscreen)
  box_is "$f" 24x24+500+400 "$SKY" && box_is "$f" 12x24+4+372 "$SKY" &&
    box_is "$f" 12x24+1008+372 "$SKY"
}

# crosshair_at X Y: the red crosshair is drawn around the pointer and nowhere else.
crosshair_at() {
  local f; f=$(shot crosshair)
  [ "$(red_pixels "$f" 60x60+$(($1 - 30))+$(($2 - 30)))" -gt 60 ] &&
    [ "$(red_pixels "$f" 1024x768+0+0)" -lt 400 ]
}

scenario_fullscreen() {
  start_fullscreen || return
  check "full-screen window covers the screen" wait_for 5 game_window_is 1024x768+0+0 -- '$(game_window)'
  check "full-screen frame fills the screen: sky at centre and both sides" wait_for 4 fullscreen_filled
  check "full-screen game loads no GL library" test -z "$(gl_libs)" -- '$(gl_libs)'
  # The mouse is scaled too: the crosshair follows the pointer across the whole screen.
  xdotool mousemove 300 250
  check "full-screen crosshair follows the pointer to (300, 250)" wait_for 3 crosshair_at 300 250
  xdotool mousemove 800 600
  check "full-screen crosshair follows the pointer to (800, 600)" wait_for 3 crosshair_at 800 600
  check "the screen stays 1024x768 while playing" screen_kept -- '$(screen_size)'
  xdotool key Escape
  expect_exit 0 "Esc quits full-screen"
}

scenario_sigterm() {
  start_fullscreen || return
  shot before-term >/dev/null
  kill -TERM "$GAME_PID"
  expect_exit 143 "SIGTERM ends the full-screen game"
}

# Xvfb has no window manager to give the fatal-error message box the focus: focus it, press Return.
dismiss() {
  xdotool windowfocus "$(window Puffpop 1)" 2>/dev/null
  xdotool key Return
  wait_for 3 game_ended
}

# The fatal-error report on stderr: "Puffpop: ..." with the path quoted in it.
reports_path() { grep -q '^Puffpop: ' "$GAME_ERR" && grep -qF "'$1'" "$GAME_ERR"; }
# What the game may change in a home, besides its lock in the runtime folder.
home_tree() { find "$HOME_DIR" -path "$GAME_RUN" -prune -o -printf '%P %y %m\n' | sort; }

# Each refusal is TAG|WHAT|how the folder is spoilt. START is pressed; the game must stop with a
# message box and a report on stderr quoting the asset folder, having written nothing.
scenario_refusals() {
  local row tag what spoil before
  for row in 'symlink|symlinked asset folder|mkdir -m 0700 "$HOME_DIR/elsewhere"
      ln -s "$HOME_DIR/elsewhere" "$GAME_TMP/Puffpop"' \
    'open|world-writable asset folder|mkdir -m 0777 "$GAME_TMP/Puffpop"' \
    'missing|missing temporary directory|GAME_TMP="$HOME_DIR/no-such-dir"'; do
    IFS='|' read -r -d '' tag what spoil <<<"$row"
    new_home "$tag"
    eval "$spoil"
    before=$(home_tree)
    start_game "$tag"
    check "$what: mode-choice window appears" wait_for 15 focused_on "$CHOOSER" || continue
    xdotool key Return
    check "$what: error shown" wait_for 15 eval 'has_window Puffpop || game_ended' || continue
    shot "$tag" >/dev/null
    check "$what: message box titled Puffpop" has_window Puffpop
    game_ended || check "$what: message box dismissed" wait_for 9 dismiss || continue
    expect_exit 1 "$what: the game ends"
    check "$what: stderr says why, naming the folder" reports_path "$GAME_TMP/Puffpop" -- \
      '$(tr "\n" " " <"$GAME_ERR")'
    check "$what: nothing written" test "$(home_tree)" = "$before" -- '$(home_tree | tr "\n" " ")'
  done
}

started=$(now_ms)
for SCENE in ${*:-windowed fullscreen sigterm refusals}; do
  declare -F "scenario_$SCENE" >/dev/null || { fail "unknown scenario"; continue; }
  scene_started=$(now_ms)
  if start_x; then "scenario_$SCENE"; else fail "X server starts"; fi
  stop GAME_PID KILL
  stop XVFB_PID TERM
  # Sanitizer builds report on stderr; a report is a failure even where the exit status was right.
  reports=$(grep -l -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$ARTIFACTS/$SCENE".*.stderr 2>/dev/null)
  check "no sanitizer report" test -z "$reports" -- '$reports'
  echo "---- $SCENE: $(($(now_ms) - scene_started)) ms"
done
# Screenshots are kept for a failed run, or when asked for with E2E_KEEP=1.
[ "$failed" -gt 0 ] || [ "${E2E_KEEP:-0}" = 1 ] || rm -f "$ARTIFACTS"/*.png
echo "e2e: $(($(now_ms) - started)) ms; output and any screenshots kept are in $ARTIFACTS"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
