#!/usr/bin/env bash
# End-to-end checks of the real game, each scenario on its own Xvfb (1024x768, no window manager)
# with private temporary folders: xdotool plays, and screenshots are judged by how many pixels of
# a colour class a box holds. $E2E_ARTIFACTS (default ./e2e-artifacts) keeps the game's output,
# and the screenshots of a failed run (of every run with E2E_KEEP=1).
set -u -o pipefail
[ $# -ge 2 ] || { echo "usage: $0 PUFFPOP_EXECUTABLE RESOURCES_DIR [SCENARIO...]" >&2; exit 2; }
GAME=$(realpath "$1") RESOURCES=$(realpath "$2") E2E_DIR=$(dirname "$(realpath "$0")")
shift 2
for tool in Xvfb xdotool xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps)"; exit 77; }
done
ARTIFACTS=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}
rm -rf "$ARTIFACTS" && mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-e2e.XXXXXX")

# The game's window sits at (desktop / 15) on a 1024x768 desktop.
readonly GX=68 GY=51 GAME_AREA=640x480+68+51 CHOOSER=':: Puffpop ::   |   :: Izaberite mod igranja ::'
# Colour classes of a pixel's 0..1 channels. Sky: clearly blue. Red: the balloons, bursts and the
# crosshair; never the sky, clouds, hills or texts.
readonly SKY='b>0.55&&b-r>0.2' YELLOW='r>0.75&&g>0.75&&b<0.4'
readonly DARK='(r+g+b)/3<0.35' BLACK='r+g+b<0.06' GREY='r>0.65&&r<0.95&&b>0.6&&b<0.95' RED='r-g>0.35'

# Sanitizer builds: no leak check here. The X and D-Bus libraries a real display brings keep memory
# to the end; the unit suites check the game's own memory.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy # silent, but sounds take their time
unset WAYLAND_DISPLAY
passed=0 failed=0 XVFB_PID="" GAME_PID="" GAME_RC="" SCENE="" RECORD_PID="" NOISE_PID="" PULSE_PID=""
GAME_TMP="" GAME_RUN="" WINE_PREFIX=""

stop() { # PID-VARIABLE SIGNAL: ends that process, if any, and forgets it.
  [ -z "${!1}" ] || { kill "-$2" "${!1}" 2>/dev/null; wait "${!1}" 2>/dev/null; }
  printf -v "$1" ""
}
stop_sound() { stop RECORD_PID INT; stop NOISE_PID TERM; stop PULSE_PID TERM; unset PULSE_SERVER; }
cleanup() { stop GAME_PID KILL; stop XVFB_PID TERM; stop_sound; rm -rf "$WORK"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

# check NAME COMMAND... [-- DETAIL]: false on failure, then DETAIL (single-quoted, expanded only
# then) shows the state the check failed on.
check() {
  local name=$1 cmd=() detail
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do cmd+=("$1") && shift; done
  if "${cmd[@]}"; then passed=$((passed + 1)) && echo "PASS: $SCENE: $name" && return; fi
  eval "detail=\"${2:-}\""
  failed=$((failed + 1))
  echo "FAIL: $SCENE: $name${detail:+ ($detail)}"
  game_running || [ -z "$GAME_PID" ] || { collect; echo "      the game had ended, status $GAME_RC: $(tr '\n' ' ' <"$GAME_ERR")"; }
  return 1
}
now_ms() { date +%s%3N; }
wait_for() { # SECONDS COMMAND...: polls until the command succeeds
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do [ "$(now_ms)" -lt "$deadline" ] || return 1; sleep 0.1; done
}

# x_server LOG COMMAND...: an X server on the display it picks (-displayfd 3), up and answering.
# The file is emptied first: the last scenario's still names that server's display. A server that
# dies or stays silent (a busy machine, other servers starting) is replaced, three tries in all.
x_server() {
  local log=$1 try
  shift
  for try in 1 2 3; do
    : >"$WORK/display"
    "$@" 3>"$WORK/display" >>"$log" 2>&1 &
    XVFB_PID=$!
    wait_for 20 eval '[ -s "$WORK/display" ] || ! kill -0 "$XVFB_PID" 2>/dev/null' && [ -s "$WORK/display" ] &&
      export DISPLAY=":$(head -n1 "$WORK/display")" && wait_for 20 xwininfo -root >/dev/null 2>&1 && return
    echo "note: $SCENE: X server try $try failed (${*:1:1}, see $log)"
    stop XVFB_PID KILL
  done
  return 1
}
start_x() { x_server "$ARTIFACTS/$SCENE.xvfb.log" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset; }
# on_xorg: Xorg with the dummy driver in place of Xvfb, for scenarios where the display's mode must
# really change (modes in tests/e2e/xorg-dummy.conf). Xorg needs root, as CI has.
on_xorg() {
  [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] && [ "$(id -u)" = 0 ] ||
    { echo "SKIP: $SCENE: Xorg's dummy driver needs root and xserver-xorg-video-dummy"; return 1; }
  stop XVFB_PID TERM
  check "Xorg with the dummy driver starts" x_server /dev/null Xorg -displayfd 3 -config "$E2E_DIR/xorg-dummy.conf" \
    -logfile "$ARTIFACTS/$SCENE.xorg.log" -nolisten tcp -noreset
}
display_mode() { xrandr 2>/dev/null | sed -n 's/.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; } # WIDTHxHEIGHT
mode_is() { [ "$(display_mode)" = "$1" ] && { [ $# -lt 2 ] || game_window_is "$2"; }; } # MODE [GAME-GEOMETRY]
check_mode() { check "$1" wait_for "$2" mode_is "${@:3}" -- '$(display_mode): $(window_list)'; } # NAME SECONDS MODE [GEOMETRY]

# Mapped top-level windows (without a window manager, the root's children): ID, NAME and GEOMETRY
# separated by tabs, one a line.
windows() {
  xwininfo -root -children 2>/dev/null |
    sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": ([^)]*) *\([0-9]*x[0-9]*[-+][-0-9]*[-+][-0-9]*\) .*/\1\t\2\t\3/p' |
    while IFS= read -r line; do
      xwininfo -id "${line%%$'\t'*}" 2>/dev/null | grep -q "IsViewable" && echo "$line"
    done
}
window_list() { windows | tr '\n' ' '; }
window() { windows | awk -F'\t' -v n="$1" -v f="$2" '$2 == n { print $f; exit }'; } # NAME FIELD
has_window() { [ -n "$(window "$1" 1)" ]; }
game_window_is() { [ "$(windows | awk -F'\t' -v s="$CHOOSER" '$2 != s && $2 != "Puffpop" { print $3; exit }')" = "$1" ]; }
focused_on() { local id; id=$(window "$1" 1) && [ -n "$id" ] && [ "$(xdotool getwindowfocus)" = "$((id))" ]; }
start_windowed() { start_game "$@"; wait_for 15 focused_on "$CHOOSER" && xdotool key Return; } # NAME: START (it has the focus) takes Return
windowed_game() { # [WHAT]
  check "${1:-}game window at (68, 51), 640x480, mode choice closed" wait_for 15 eval \
    'game_window_is "$GAME_AREA" && ! has_window "$CHOOSER"' -- '$(window_list)'
}
# dismiss: Return on the error window. No window manager gives it the focus: the player clicks it first.
dismiss() { wait_for 9 eval 'xdotool windowfocus "$(window Puffpop 1)" key Return; wait_for 1 game_ended'; }

shot() { # NAME: a screenshot of the whole screen; prints its path
  local file="$ARTIFACTS/$SCENE.$(date +%H%M%S.%3N).$1.png"
  import -window root "$file" 2>/dev/null && echo "$file"
}
# drawn NAME CLASS BOX: the first screenshot within ten seconds whose box is mostly of the class,
# as once the window's first frame is up; prints its path.
drawn() {
  local name=$1 class=$2 box=$3 f
  wait_for 10 eval 'f=$(shot "$name") && mostly "$f" "$class" "$box"'
  echo "$f"
}
# pixels FILE BOX CLASS [STEP]: how many pixels of the box (WxH+X+Y) are of the colour class,
# counting every STEP-th pixel each way, as if all were. The one way every check reads a screenshot.
pixels() {
  convert "$1[$2]" +repage -sample "$((100 / ${4:-1}))%" -fx "$3" \
    -format "%[fx:round(mean*w*h*${4:-1}*${4:-1})]" info: 2>/dev/null
}
mostly() { # FILE CLASS BOX...: nine in ten pixels of every box are of the class
  local f=$1 class=$2 box w h
  shift 2
  for box; do IFS=x+ read -r w h _ <<<"$box" && [ $(($(pixels "$f" "$box" "$class") * 10)) -ge $((w * h * 9)) ] || return 1; done
}

new_home() { # NAME: fresh private TMPDIR and XDG_RUNTIME_DIR for one run
  HOME_DIR="$WORK/$1" GAME_TMP="$WORK/$1/tmp" GAME_RUN="$WORK/$1/run"
  mkdir -p -m 0700 "$HOME_DIR" "$GAME_TMP" "$GAME_RUN"
}
# start_game NAME [OPTION...]: the game in the background; the Windows build under Wine, in the
# build's prefix, its temporary folder Wine's own.
start_game() {
  local run=(env TMPDIR="$GAME_TMP" XDG_RUNTIME_DIR="$GAME_RUN")
  [ -z "$WINE_PREFIX" ] ||
    run=(env -u TMP -u TEMP -u TMPDIR WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine)
  GAME_ERR="$ARTIFACTS/$SCENE.$1.stderr" GAME_RC=""
  "${run[@]}" "$GAME" "${@:2}" >"$ARTIFACTS/$SCENE.$1.stdout" 2>"$GAME_ERR" &
  GAME_PID=$!
}
game_running() { [ -n "$GAME_PID" ] && ps -o stat= -p "$GAME_PID" | grep -q '^[^Z]'; }
game_ended() { ! game_running; }
collect() { [ -z "$GAME_PID" ] || { wait "$GAME_PID" 2>/dev/null; GAME_RC=$?; GAME_PID=""; }; }
exits_with() { wait_for 10 game_ended && collect && [ "$GAME_RC" -eq "$1" ]; }
expect_exit() { # STATUS WHAT: the game ends with that status and leaves the desktop as it found it
  check "$2 with status $1" exits_with "$1" -- 'status ${GAME_RC:-none: still running}'
  check "$2: desktop 1024x768, no window left" eval \
    'xwininfo -root | grep -q "geometry 1024x768+0+0" && [ -z "$(windows)" ]' -- '$(window_list)'
}
esc_quits() { xdotool key Escape; expect_exit 0 "$1"; } # WHAT
# No GL library in the game's process: frames go through X's shared-memory framebuffer.
no_gl() { ! grep -q -E 'lib(GL|GLX|EGL|LLVM)|_dri\.so|swrast' "/proc/$GAME_PID/maps"; }
unpacked_into() { # FOLDER: the resources' twelve assets, byte for byte; DIFFER names any that are not
  local entry
  DIFFER=""
  for entry in "$RESOURCES"/*.{bmp,wav}; do cmp -s "$entry" "$1/${entry##*/}" || DIFFER+=" ${entry##*/}"; done
  [ -z "$DIFFER" ] && [ "$(ls "$1" | wc -l)" = 12 ]
}

# click BUTTON [SECONDS]: a press the 45 ms tick cannot miss; under 135 ms it fires only once.
click() { xdotool mousedown "$1"; sleep "${2:-0.12}"; xdotool mouseup "$1"; }
gameover_text() { pixels "$1" 340x40+$((GX + 150))+$((GY + 205)) "$YELLOW"; }
score_line() { pixels "$1" 640x30+$GX+$((GY + 6)) "$YELLOW"; }
playing() { [ "$(score_line "$(shot playing)")" -gt 80 ]; }
game_over() { [ "$(gameover_text "$(shot gameover)")" -gt 400 ]; }
attract_back() { local f; f=$(shot back) && [ "$(score_line "$f")" -lt 20 ] && [ "$(gameover_text "$f")" -lt 50 ]; }
balloons_rise() { [ "$(pixels "$(shot balloons)" "$GAME_AREA" "$RED" 4)" -gt 600 ]; }
start_round() { xdotool mousemove $((GX + 320)) $((GY + 400)); click 1; wait_for 8 playing; }
paused_still() { # P, then no frame changes over a second
  local a b i
  xdotool key p && sleep 0.1 && a=$(shot paused)
  for i in 1 2 3; do sleep 0.3 && b=$(shot paused) && same_frames "$a" "$b" || return 1; done
}
same_frames() { [ "$(compare -metric AE -fuzz 2% "$1[$GAME_AREA]" "$2[$GAME_AREA]" null: 2>&1)" = 0 ]; }
blinks() { # over two seconds the white attract text comes and goes (the clouds behind it stay)
  local i
  for i in $(seq 10); do pixels "$(shot blink)" 360x38+$((GX + 140))+$((GY + 210)) 'r>0.9&&g>0.9&&b>0.9'; echo; sleep 0.2; done |
    awk 'NR == 1 || $1 < low { low = $1 } $1 > high { high = $1 } END { exit !(high - low > 500) }'
}
# whole_round [paused]: a left press starts a round and balloons rise; Esc ends it (paused, the
# round cannot end by itself; P resumes to show what followed), back to the attract screen; Esc quits.
whole_round() {
  check "a left press starts a round: score line" start_round || return
  check "balloons rise" wait_for 10 balloons_rise
  [ -z "${1:-}" ] || check "P freezes a round in flight" paused_still
  xdotool key Escape ${1:+p}
  check "Esc ends the round${1:+ while paused, P resumes}: KRAJ IGRE" wait_for 3 game_over
  check "back to the attract screen" wait_for 6 attract_back
  esc_quits "Esc on the attract screen quits"
}

scenario_windowed() { # the mode choice and a whole windowed game from the first frame to Esc
  local f
  new_home windowed
  start_game first
  check "mode-choice window appears" wait_for 15 has_window "$CHOOSER" -- '$(window_list)' || return
  check "mode-choice window is 329x63, centred" eval '[[ $(window "$CHOOSER" 3) =~ ^329x63\+34[78]\+35[23]$ ]]' -- \
    '$(window "$CHOOSER" 3)'
  f=$(drawn mode-choice "$GREY" 14x6+349+354)
  check "mode-choice window grey in its corners, the desktop black around it" eval \
    'mostly "$f" "$GREY" 14x6+349+354 14x6+660+354 14x6+349+407 14x6+660+407 && mostly "$f" "$BLACK" 329x10+347+340'
  check "mode-choice window uses no GL" no_gl
  # Enter presses START, which has the focus: a windowed game.
  wait_for 5 focused_on "$CHOOSER"; xdotool key Return
  windowed_game || return
  f=$(drawn game "$SKY" 600x25+88+55)
  check "sky in the game window, black around it" eval 'mostly "$f" "$SKY" 600x25+88+55 &&
    mostly "$f" "$BLACK" 640x3+$GX+$((GY - 4)) 3x480+$((GX + 641))+$GY 300x200+724+560'
  check "game window uses no GL" no_gl
  check "the twelve assets unpacked byte for byte, nothing else, folder 0700" eval \
    'unpacked_into "$GAME_TMP/Puffpop" && [ "$(stat -c %a "$GAME_TMP/Puffpop")" = 700 ]' -- \
    'differing:$DIFFER; $(ls -la "$GAME_TMP/Puffpop" | tr "\n" " ")'
  whole_round paused
}

# A full-screen game chosen with the keyboard: Tab to the options, Down, Tab to START, Enter.
start_fullscreen() {
  new_home "$SCENE"
  start_game game "$@"
  [ $# -gt 0 ] || { check "mode-choice window has the focus" wait_for 15 focused_on "$CHOOSER" &&
    xdotool mousemove 1000 740 key Tab Down Tab Return; } || return
  check "full-screen game covers the screen" wait_for 15 game_window_is 1024x768+0+0 -- '$(window_list)'
}
# Xvfb has only 1024x768: the frame is scaled to fill it.
filled() { mostly "$(shot fullscreen)" "$SKY" 24x24+500+400 12x24+4+372 12x24+1008+372; }
crosshair_at() { # X Y: the red crosshair is drawn around the pointer and nowhere else
  local f; f=$(shot crosshair)
  [ "$(pixels "$f" 60x60+$(($1 - 30))+$(($2 - 30)) "$RED")" -gt 60 ] && [ "$(pixels "$f" 1024x768+0+0 "$RED" 4)" -lt 400 ]
}
crosshair_follows() { # X Y...: the pointer moved to each place in turn
  while [ $# -ge 2 ]; do
    xdotool mousemove "$1" "$2"
    check "the crosshair follows the pointer to $1 $2" wait_for 3 crosshair_at "$1" "$2"
    shift 2
  done
}

scenario_fullscreen() {
  start_fullscreen || return
  check "the frame fills the screen" wait_for 4 filled
  check "full-screen game uses no GL" no_gl
  crosshair_follows 300 250 800 600
  kill -TERM "$GAME_PID"
  expect_exit 143 "SIGTERM ends the full-screen game"
}

# The X server dies under a full-screen round: the game goes at once, naming the display it lost.
scenario_lostdisplay() {
  start_fullscreen || return
  local display=$DISPLAY
  click 1
  stop XVFB_PID KILL
  check "a lost display ends the game within two seconds" wait_for 2 game_ended -- '$(ps -o stat=,time= -p "$GAME_PID")'
  check "a lost display: status 1, stderr names it" eval 'exits_with 1 && grep -qF "$display" "$GAME_ERR"' -- \
    'status ${GAME_RC:-running}: $(cat "$GAME_ERR")'
}

error_shown() { # the error window: dark text right of its red sign, above the OK button
  local f w h x y
  has_window Puffpop && IFS='x+' read -r w h x y <<<"$(window Puffpop 3)" || return
  f=$(shot error)
  [ "$(pixels "$f" $((w - 68))x$((h - 60))+$((x + 56))+$((y + 10)) "$DARK")" -gt 300 ] &&
    [ "$(pixels "$f" 32x32+$((x + 12))+$((y + 12)) "$RED")" -gt 300 ]
}
home_tree() { find "$HOME_DIR" -path "$GAME_RUN" -prune -o -printf '%P %y %m\n' | sort; }

# Each row: TAG|status|how the folder is spoilt. START is pressed; the game stops with its error
# window and a report on stderr quoting the asset folder, having written nothing. Return dismisses
# the window (status 1); SIGTERM ends the game at once while it is up (status 143).
scenario_refusals() {
  local row tag status spoil before
  for row in 'symlinked folder|1|mkdir -m 0700 "$HOME_DIR/elsewhere"; ln -s "$HOME_DIR/elsewhere" "$GAME_TMP/Puffpop"' \
    'world-writable folder|1|mkdir -m 0777 "$GAME_TMP/Puffpop"' \
    'missing temporary directory|1|GAME_TMP="$HOME_DIR/no-such-dir"' \
    'SIGTERM at the error window|143|mkdir -m 0777 "$GAME_TMP/Puffpop"'; do
    IFS='|' read -r tag status spoil <<<"$row"
    new_home "${tag// /-}"
    eval "$spoil"
    before=$(home_tree)
    start_windowed "${tag// /-}"
    check "$tag: error window titled Puffpop shows the message" wait_for 15 error_shown -- '$(window_list)' || continue
    if [ "$status" = 1 ]; then dismiss
    else kill -TERM "$GAME_PID" && check "$tag: the game ends within a second" wait_for 1 game_ended; fi
    expect_exit "$status" "$tag: the game ends"
    check "$tag: stderr names the folder, nothing written" eval \
      'grep -qF "'"'"'$GAME_TMP/Puffpop'"'"'" "$GAME_ERR" && [ "$(home_tree)" = "$before" ]' -- '$(cat "$GAME_ERR")'
  done
}

# The command line (its reader has a test of its own): the version, status 1 when it cannot be
# written, no window. Both ways to play skip the mode choice; one copy at a time still holds.
scenario_cli() {
  local out rc full version
  version=$(sed -n 's/^ProductVersion=//p' "$RESOURCES/version.txt" | tr -d '\r')
  out=$(timeout 10 "$GAME" --version 2>&1) rc=$?
  full=$(timeout 10 "$GAME" --version >/dev/full 2>&1; echo $?)
  check "puffpop --version: status 0 with 'Puffpop $version', 1 on a full disk, no window" \
    eval '[ $rc -eq 0 ] && [[ $out == "Puffpop $version"* ]] && [ $full -eq 1 ] && [ -z "$(windows)" ]' -- 'status $rc, $full: ${out:0:80}'
  new_home cli
  start_game windowed --windowed
  windowed_game "--windowed: " || return
  # A second copy from another environment (a terminal, ssh, sudo -E): gone at once, unpacking nothing.
  check "a second copy from elsewhere: status 0, the first alone, nothing unpacked" eval 'TMPDIR="$GAME_RUN" \
    XDG_RUNTIME_DIR="$GAME_RUN" timeout 5 "$GAME" --fullscreen >/dev/null 2>&1 && [ "$(windows | wc -l)" -eq 1 ] &&
    [ ! -e "$GAME_RUN/Puffpop" ]'
  esc_quits "--windowed: Esc quits"
  start_fullscreen --fullscreen && check "--fullscreen: the frame fills the screen" wait_for 4 filled
  esc_quits "--fullscreen: Esc quits"
}

# A private PulseAudio server whose one sink plays to nothing, its monitor recorded. Noise at -60 dB
# keeps the sink running, so silence is recorded too and a place in the recording is a time.
readonly RAW=(--format=s16le --rate=22050 --channels=1 --latency-msec=20)
start_sound() {
  local dir="$WORK/pulse"
  mkdir -p -m 0700 "$dir"
  export PULSE_SERVER="unix:$dir/native"
  RECORDING="$ARTIFACTS/$SCENE.recording.wav"
  env -u DISPLAY HOME="$dir" PULSE_RUNTIME_PATH="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no -L "module-null-sink sink_name=e2e rate=22050 channels=1" \
    -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" >"$ARTIFACTS/$SCENE.pulse.log" 2>&1 &
  PULSE_PID=$!
  wait_for 10 pactl info >/dev/null 2>&1 || return 1
  pacat --raw "${RAW[@]}" --volume=6554 /dev/urandom &
  NOISE_PID=$!
  record
}
record() { # the sink's monitor afresh
  parecord --device=e2e.monitor "${RAW[@]}" --file-format=wav "$RECORDING" &
  RECORD_PID=$!
  # An idle sink renders seconds ahead: the recording flows once it has caught up with the noise.
  wait_for 10 eval '[ "$(stat -c %s "$RECORDING" 2>/dev/null || echo 0)" -gt 4500 ]'
}
recorded() { # the recording ends; RECORDED_FROM is when it began, by its length
  RECORDED_FROM=$(now_ms) && stop RECORD_PID INT
  RECORDED_FROM=$((RECORDED_FROM - $("$CUE_FIND" "$RECORDING")))
}
lag() { # CUE PRESSED-MS: ms from the press to the cue's first place in the recording after it
  "$CUE_FIND" "$RECORDING" "$RESOURCES/$1" | awk -v from="$RECORDED_FROM" -v at="$2" \
    'BEGIN { lag = 99999 } $1 + from >= at { lag = $1 + from - at; exit } END { printf "%.0f", lag }'
}
near() { local d=$(($1 - $2)); [ "${d#-}" -le "$3" ]; } # A B MOST: A and B at most MOST apart
game_stream() { pactl list sink-inputs 2>/dev/null | grep -q 'application.name = "Puffpop"'; }

# cue_rounds TRIES: from the attract screen, a round's cues each heard promptly after its input: the
# start fanfare (its shot follows its end), a smart bomb, the ending cue at Esc. A press is seen by
# the next 45 ms tick. Wine opens a new PulseAudio stream for each cue, and on a busy machine one
# can lose the first milliseconds its correlation needs: there up to three rounds are timed, until
# one hears every cue in time (a slow host is slow in each).
cue_rounds() {
  local try start bomb esc fanfare shot blast ending lags heard=""
  for try in $(seq "$1"); do
    [ "$try" = 1 ] || { wait_for 8 attract_back; record; }
    xdotool mousemove $((GX + 320)) $((GY + 120)) && sleep 1
    start=$(now_ms) && click 1 && sleep 1.5
    bomb=$(now_ms) && click 3 0.08 && sleep 1.6
    esc=$(now_ms) && xdotool key Escape && sleep 1
    recorded
    fanfare=$(lag Start.wav "$start") shot=$(lag PucanjB.wav "$start")
    blast=$(lag PucanjSB.wav "$bomb") ending=$(lag Kraj.wav "$esc")
    lags="fanfare $fanfare, shot $shot, bomb $blast, ending $ending ms after their presses"
    echo "$SCENE: round $try: heard $lags"
    [ "$fanfare" -le 145 ] && near $((shot - fanfare)) 825 125 && near "$blast" "$fanfare" 100 &&
      near "$ending" "$fanfare" 100 && heard=yes && break
  done
  check "the fanfare within 100 ms of the press's tick, its shot as it ends, the bomb and ending cues as prompt" \
    test -n "$heard" -- '$lags'
}

scenario_sound() { # the cues through a sound server, each heard promptly after its input
  check "sound server runs, recording its sink" start_sound || return
  new_home sound
  SDL_AUDIODRIVER=pulseaudio start_windowed game
  check "the game's sound stream is open before its first cue" wait_for 10 game_stream || return
  cue_rounds 1
  esc_quits "Esc quits"
}

# shoot_through_stall WHEN: a round's start, shots and a smart bomb with the sound server stopped,
# each tick's frame timed by strace as one write to the X connection from the game's main thread:
# no two frames more than 100 ms apart.
shoot_through_stall() {
  command -v strace >/dev/null || { check "strace is installed (scripts/install-deps)" false; return; }
  local ticks="$ARTIFACTS/$SCENE.ticks" trace gap
  # The game's thread waits for the X connection once a tick (frames that change nothing send
  # the server nothing, so its requests are no tick marker).
  strace -q -ttt -e trace=poll -o "$ticks" -p "$GAME_PID" &
  trace=$! && sleep 0.3 && click 1 && sleep 0.8 && click 1 && sleep 0.8 && click 3 0.08 && sleep 1.2
  stop trace INT
  gap=$(awk '{ t = $1 * 1000 } NR > 1 && t - last > worst { worst = t - last } { last = t }
    END { printf "%.0f", (NR > 20 ? worst : 99999) }' "$ticks") && echo "$SCENE: worst tick gap $gap ms, server $1"
  check "no tick later than 100 ms with the sound server $1" test "$gap" -lt 100 -- 'worst gap $gap ms'
}

# The sound server stopped before the start, going on, stopped mid-round, killed and started afresh,
# stopped again: no tick waits on it, the game's stream comes back by itself with its next cue
# heard promptly, and Esc quits however the server is.
scenario_soundfaults() {
  check "sound server runs" start_sound || return
  kill -STOP "$PULSE_PID"
  new_home faults
  SDL_AUDIODRIVER=pulseaudio start_windowed game && sleep 1.5
  xdotool mousemove $((GX + 320)) $((GY + 120))
  shoot_through_stall "stopped before the start"
  kill -CONT "$PULSE_PID"
  check "the game's stream opens once the server goes on" wait_for 5 game_stream
  kill -STOP "$PULSE_PID"
  shoot_through_stall "stopped mid-round"
  kill -KILL "$PULSE_PID" && stop_sound
  check "a new sound server runs" start_sound || return
  check "the game's stream is back within a few seconds" wait_for 8 game_stream || return
  # The press fires a shot, or starts a new round with its fanfare if the last one has ended. A
  # round that ends just as it comes takes the press with it: then a second press is timed.
  local try shot fanfare lag_ms
  for try in 1 2; do
    [ "$try" = 1 ] || { record && sleep 1.5; }
    sleep 0.5 && shot=$(now_ms) && click 1 && sleep 1
    recorded
    fanfare=$(lag Start.wav "$shot") lag_ms=$(lag PucanjB.wav "$shot") && lag_ms=$((fanfare < lag_ms ? fanfare : lag_ms))
    [ "$lag_ms" -le 145 ] && break
  done
  check "the next cue heard within 100 ms of the press's tick" test "$lag_ms" -le 145 -- '$lag_ms ms after the press'
  kill -STOP "$PULSE_PID" && xdotool key Escape && sleep 0.5
  esc_quits "Esc quits with the sound server stopped"
  kill -CONT "$PULSE_PID"
}

# On a server that really switches modes: the full-screen game at 640x480 with its guardian beside
# it. However it ends (SIGKILL, which nothing in the game can catch, a crash, SIGQUIT, Esc), the
# desktop's 1024x768 is back within a second, with the game's status, and nothing of it runs on.
scenario_desktopback() {
  on_xorg || return
  ulimit -c 0 # no core dumps from the crashes
  local row end status guard gone f
  new_home "$SCENE"
  for row in KILL:137 SEGV:139 QUIT:131 Escape:0; do
    IFS=: read -r end status <<<"$row"
    # A sanitizer's own SIGSEGV report would stand in for the crash's plain status.
    ASAN_OPTIONS="$ASAN_OPTIONS:handle_segv=0" start_game "$end" --fullscreen
    check_mode "$end: the game switches to 640x480 and covers it" 15 640x480 640x480+0+0 || return
    guard=$(pgrep -P "$GAME_PID")
    check "$end: a guardian beside the game" test -n "$guard"
    if [ "$end" = Escape ]; then
      f=$(drawn fullscreen "$SKY" 600x25+20+4)
      check "the screen is the 640x480 frame, sky from edge to edge" eval \
        '[ "$(identify -format %wx%h "$f")" = 640x480 ] && mostly "$f" "$SKY" 600x25+20+4 12x24+0+150 12x24+628+150'
      xdotool key Escape
    else
      kill "-$end" "$GAME_PID"
    fi
    check_mode "$end: the desktop's 1024x768 back within a second" 1 1024x768
    # The game waits for its guardian; after SIGKILL, init does (a container's may leave a zombie).
    [ "$end" = KILL ] && gone='! ps -o stat= -p "$guard" | grep -qv Z' || gone='! ps -p "$guard" >/dev/null'
    check "$end: status $status, the guardian gone" eval 'exits_with "$status" && eval "$gone"' -- \
      'status ${GAME_RC:-running}; guardian: $(ps -o stat=,ppid=,args= -p "$guard")'
  done
}

# Fifty quits in a row with both cores kept busy: each windowed game, with no guardian beside it,
# ends on Esc with status 0. The video system's teardown races the X server's error replies, and a
# busy machine widens the race. About two minutes: a test of its own (label quits).
scenario_quits() {
  local i load=() statuses=""
  new_home quits
  for i in 1 2; do yes >/dev/null & load+=($!); done
  for i in $(seq 50); do
    start_game quit --windowed
    wait_for 15 game_window_is "$GAME_AREA"
    [ -z "$(pgrep -P "$GAME_PID")" ] || statuses+=" quit $i: a guardian in windowed play;"
    xdotool key Escape
    wait_for 15 game_ended
    collect
    [ "$GAME_RC" -eq 0 ] || statuses+=" quit $i: status $GAME_RC: $(tr '\n' ' ' <"$GAME_ERR")"
  done
  kill "${load[@]}" && wait "${load[@]}" 2>/dev/null
  check "50 quits under load all end with status 0" test -z "$statuses" -- '$statuses'
}

# wine_start NAME [OPTION...]: the Windows build, START clicked on its mode choice. Wine draws the
# window's frame itself, so the client area sits at the bottom of the window, centred across it.
wine_start() {
  local w h x y b
  start_game "$@"
  check "$1: mode-choice window appears" wait_for 30 has_window "$CHOOSER" -- '$(window_list)' &&
    IFS='x+' read -r w h x y <<<"$(window "$CHOOSER" 3)" && b=$(((w - 329) / 2)) &&
    xdotool mousemove $((x + b + 256)) $((y + h - 63 - b + 32)) click 1
}
in_wine() { WINEPREFIX="$WINE_PREFIX" WINEDEBUG=-all wine "$@" 2>/dev/null | tr -d '\r'; }
wine_tool() { # NAME C-LINE...: a small Windows program of the test's own, built once, run under Wine
  [ -f "$WORK/$1.exe" ] || printf '%s\n' '#include <windows.h>' "${@:2}" |
    x86_64-w64-mingw32-gcc-posix -x c -o "$WORK/$1.exe" - && in_wine "$WORK/$1.exe"
}

# The mode choice, the attract screen, a round and its end, the unpacked folder and Esc, with the
# Windows build; then a file in the way of the assets' folder stops it with a "Puffpop" message box.
scenario_wine() {
  local temp=$WINE_TEMP
  rm -rf "$temp/Puffpop"
  wine_start first && windowed_game || return
  check "sky in the game window" wait_for 5 eval 'mostly "$(shot drawn)" "$SKY" 600x25+88+55'
  check "the attract text blinks" blinks
  check "the twelve assets unpacked byte for byte into Wine's temporary folder" unpacked_into "$temp/Puffpop" -- 'differing:$DIFFER'
  whole_round
  rm -rf "$temp/Puffpop" && touch "$temp/Puffpop"
  wine_start refused
  check "a file in the folder's place: message box titled Puffpop" wait_for 15 has_window Puffpop -- '$(window_list)'
  dismiss
  check "Return dismisses it; status 1, stderr names the folder" eval \
    'exits_with 1 && grep -q "Puffpop" "$GAME_ERR"' -- 'status ${GAME_RC:-running}: $(cat "$GAME_ERR")'
  rm -f "$temp/Puffpop"
}

# Wine sets TMP from its registry whatever the environment says: the scenario points it at a
# folder, and wine_tmp with no folder puts Wine's own back (saved whole: reg query's output
# loses letters outside the console's code page).
wine_tmp() { # [WINDOWS-FOLDER]
  local saved
  saved=$(in_wine winepath -w "$WORK/environment.reg")
  if [ $# -eq 0 ]; then in_wine reg import "$saved" >/dev/null; return; fi
  [ -f "$WORK/environment.reg" ] || in_wine reg export 'HKCU\Environment' "$saved" /y >/dev/null
  in_wine reg add 'HKCU\Environment' /v TMP /t REG_SZ /d "$1" /f >/dev/null
}
# The Windows build has no cue_find of its own: one is built for this machine.
host_cue_find() { [ -n "${CUE_FIND:-}" ] || { CUE_FIND=$WORK/cue_find && c++ -O2 -o "$CUE_FIND" "$E2E_DIR/cue_find.cpp"; }; }

# Wine's temporary folder is named in Cyrillic and accented letters, as a profile folder can be:
# the assets unpack there, the next start finds them intact and writes none again, and the cues
# play from there through Wine's PulseAudio driver, heard as promptly as on Linux.
scenario_wine_sound() {
  local dir="$WINE_TEMP/Пуфпоп Müller" before
  check "sound server runs, recording its sink; cue_find built" eval 'start_sound && host_cue_find' || return
  rm -rf "$dir" && mkdir -p "$dir" && wine_tmp "$(in_wine winepath -w "$dir")"
  wine_start first && windowed_game || { wine_tmp; return; }
  cue_rounds 3
  esc_quits "Esc quits"
  check "the twelve assets unpacked byte for byte into the folder named in Cyrillic" unpacked_into "$dir/Puffpop" -- 'differing:$DIFFER'
  before=$(stat -c '%n %i %s' "$dir/Puffpop"/*)
  wine_start second && windowed_game "the next start plays from the intact folder: "
  check "and writes none of its files again" eval '[ "$(stat -c "%n %i %s" "$dir/Puffpop"/*)" = "$before" ]'
  esc_quits "Esc quits"
  wine_tmp
  rm -rf "$dir"
}

# Another program takes the focus, as after Alt+Tab: the desktop's mode comes back and the game
# steps aside. Then a small program calls the game's window to the front, as the taskbar's button
# does (Wine without a window manager has no taskbar): 640x480 once more.
alt_tab() {
  local other
  xmessage -geometry +300+300 "another program" 2>/dev/null &
  other=$!
  wait_for 5 has_window xmessage && xdotool windowfocus "$(window xmessage 1)"
  check "focus elsewhere: the desktop's 1024x768 is back, the game out of the way" \
    wait_for 5 eval 'mode_is 1024x768 && ! game_window_is 640x480+0+0' -- '$(display_mode): $(window_list)'
  kill $other
  check "the taskbar's click brings the game back" wine_tool front \
    'int main(void) { HWND w = FindWindowA("PlatformGameWindow", 0); if (w) SwitchToThisWindow(w, TRUE); return !w; }'
  check_mode "focused again: 640x480, the game covers it" 5 640x480 640x480+0+0
}

# Full-screen on Xorg: the display really switches to 640x480, the crosshair follows the pointer,
# and the desktop's mode is back after Esc and after a crash's error report. Killed, the game cannot
# put it back: Windows does that for a program that ends; whether Wine does is told.
scenario_wine_fullscreen() {
  local end
  on_xorg || return
  rm -rf "$WINE_TEMP/Puffpop"
  for end in Esc fatal kill; do
    start_game "$end" --fullscreen
    check_mode "$end: the display switches to 640x480, the game covers it" 30 640x480 640x480+0+0 || return
    case $end in
      Esc)
        crosshair_follows 100 100 500 400
        alt_tab
        esc_quits "Esc quits" ;;
      fatal)
        # A crash in the game's process: a thread started in it at no code at all.
        xdotool mousemove 320 400 && click 1 && wine_tool crash 'int main(void) { DWORD pid = 0;' \
          'GetWindowThreadProcessId(FindWindowA("PlatformGameWindow", 0), &pid);' \
          'HANDLE game = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);' \
          'return !(game && CreateRemoteThread(game, 0, 0, (LPTHREAD_START_ROUTINE)1, 0, 0, 0)); }'
        check "fatal: message box titled Puffpop" wait_for 15 has_window Puffpop -- '$(window_list)' || return
        check_mode "fatal: the desktop's 1024x768 is back while the box shows" 0 1024x768
        dismiss
        expect_exit 1 "fatal: Return dismisses it" ;;
      kill)
        kill -KILL "$GAME_PID" && collect && sleep 2
        echo "NOTE: $SCENE: killed, Wine leaves the display at $(display_mode) (Windows puts a program's full-screen mode back when it ends)"
        xrandr -s 1024x768 ;;
    esac
  done
}

started=$(now_ms)
scenarios="windowed fullscreen lostdisplay refusals cli sound soundfaults desktopback"
if [[ $GAME == *.exe ]]; then
  WINE_RUN=$E2E_DIR/../../cmake/wine-run
  WINE_PREFIX=${PUFFPOP_WINEPREFIX:-$(dirname "$GAME")/wine}
  sh "$WINE_RUN" --prefix "$WINE_PREFIX" hostname >/dev/null 2>&1 # the prefix, made once
  WINE_TEMP=$(find "$WINE_PREFIX/drive_c/users" -maxdepth 4 -type d -name Temp | head -n1)
  scenarios="wine wine_sound wine_fullscreen"
fi
for SCENE in ${*:-$scenarios}; do
  declare -F "scenario_$SCENE" >/dev/null || { check "scenario exists" false; continue; }
  scene_started=$(now_ms)
  # Wine's session keeps the display it started on: each scenario begins with none left running.
  [ -z "${WINE_PREFIX:-}" ] || WINEPREFIX="$WINE_PREFIX" wineserver -w
  if start_x; then "scenario_$SCENE"; else check "X server starts" false; fi
  stop GAME_PID KILL && stop XVFB_PID TERM && stop_sound
  # Sanitizer builds report on stderr: a report is a failure even where the status was right.
  reports=$(grep -l -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$ARTIFACTS/$SCENE".*.stderr 2>/dev/null)
  check "no sanitizer report" test -z "$reports" -- '$reports'
  echo "---- $SCENE: $(($(now_ms) - scene_started)) ms"
done
[ "$failed" -gt 0 ] || [ "${E2E_KEEP:-0}" = 1 ] || rm -f "$ARTIFACTS"/*.png
echo "e2e: $(($(now_ms) - started)) ms; output and any screenshots kept are in $ARTIFACTS"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
