#!/usr/bin/env bash
# What the real game costs the machine it runs on, measured on a private Xvfb (1920x768x24, no
# window manager) beside the floor: a bare SDL window that does nothing but present a 640x480
# frame through its window surface every 45 ms (bench/footprint/floor.cpp), on the same server,
# to the right of the game's window: neither covers any of the other.
#
#   bench/footprint.sh [BUILD_DIR]      (default build/default; `make bench` runs it)
#
# How each figure is taken, so that it is read for what it is:
# - CPU: the sum of every live thread's run time (/proc/PID/task/*/schedstat, nanoseconds, user
#   and system together) over FOOTPRINT_SECONDS (default 8) of wall time for each of the attract
#   screen and the round. A tick is 45 ms of that wall time: the ticks are the timer's, not
#   counted inside the game. The X server's run time over the same windows is taken too: what a
#   program draws costs the server as well, so each figure is given for the program alone and
#   with the server's share added.
# - The floor runs beside the game, and the two take turns in FOOTPRINT_TURNS (default 4) short
#   windows each, the other one stopped (SIGSTOP) meanwhile: a machine whose pace drifts (a
#   virtual one, most of all) then slows both alike, and each ratio compares the game with the
#   floor measured between its own windows.
# - Peak resident memory: VmHWM from /proc/PID/status, read just before the game is asked to quit.
# - First frames: bench/footprint/first_frame polls the X server every millisecond for the named
#   top-level window, mapped and then showing something other than black at its centre. Times
#   are from just before the game is started, or just before xdotool presses Return on START, so
#   they include starting the process or xdotool (a few ms).
# The round is played with the left button held from the start press on: the game fires on every
# fourth tick; the button is pressed anew before each of the game's turns, which starts the next
# round once one has ended (its start fanfare holding the game for 0.8 s). SDL's audio is
# $SDL_AUDIODRIVER (default dummy: silent, in real time); with a sound server the audio thread's
# share is added.
set -u -o pipefail

BUILD=$(realpath "${1:-build/default}")
GAME=$BUILD/puffpop FLOOR=$BUILD/bench/footprint/puffpop_floor WATCH=$BUILD/bench/footprint/first_frame
SECONDS_EACH=${FOOTPRINT_SECONDS:-8} TURNS=${FOOTPRINT_TURNS:-4}
for f in "$GAME" "$FLOOR" "$WATCH"; do
  [ -x "$f" ] || { echo "footprint: '$f' is missing: build first (make build)" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "footprint: $tool is not installed (scripts/install-deps)" >&2; exit 2; }
done
readonly CHOOSER=':: Puffpop ::   |   :: Izaberite mod igranja ::' GAME_CAPTION=Dozova
# The game's own targets, as shares of the floor: playing no dearer than the bare loop with the X
# server counted, and little dearer without it; the attract screen half of it, server counted.
readonly TICK_MS=45 PLAY_WITH_X=1.0 PLAY_ALONE=1.3 ATTRACT_WITH_X=0.5 RSS_TARGET_MB=40 CHOOSER_TARGET_MS=150

WORK=$(mktemp -d "${TMPDIR:-/tmp}/puffpop-footprint.XXXXXX")
XVFB_PID="" RUN_PID="" FLOOR_PID=""
cleanup() {
  for pid in $RUN_PID $FLOOR_PID $XVFB_PID; do
    kill -CONT "$pid" 2>/dev/null
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now_ms() { date +%s%3N; }
# cpu_ns PID: run time of all the process's live threads, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
hwm_kb() { awk '/^VmHWM:/ { print $2 }' /proc/"$1"/status; }
# sample PID SECONDS: "CPU-NS X-CPU-NS WALL-MS", the process's and the X server's, over the next
# SECONDS.
sample() {
  local c0 x0 t0 c1 x1 t1
  c0=$(cpu_ns "$1") x0=$(cpu_ns "$XVFB_PID") t0=$(now_ms)
  sleep "$2"
  c1=$(cpu_ns "$1") x1=$(cpu_ns "$XVFB_PID") t1=$(now_ms)
  echo "$((c1 - c0)) $((x1 - x0)) $((t1 - t0))"
}
# turns [PRESS]: the floor and the game by turns, each running alone a moment before it is
# measured; prints the floor's three sums, then the game's. The game is left running, the floor
# stopped. With PRESS the left button is pressed anew before each of the game's turns: a round
# that has ended meanwhile (three balloons missed) starts again, one still on goes on firing.
turns() {
  local i part floor=(0 0 0) game=(0 0 0) c x w
  part=$(awk -v s="$SECONDS_EACH" -v n="$TURNS" 'BEGIN { printf "%.3f", s / n }')
  for ((i = 0; i < TURNS; i++)); do
    kill -STOP "$RUN_PID" && kill -CONT "$FLOOR_PID" && sleep 0.2
    read -r c x w < <(sample "$FLOOR_PID" "$part")
    floor=($((floor[0] + c)) $((floor[1] + x)) $((floor[2] + w)))
    kill -STOP "$FLOOR_PID" && kill -CONT "$RUN_PID"
    [ -z "${1:-}" ] || { xdotool mouseup 1 && sleep 0.05 && xdotool mousedown 1; }
    sleep 0.2
    read -r c x w < <(sample "$RUN_PID" "$part")
    game=($((game[0] + c)) $((game[1] + x)) $((game[2] + w)))
  done
  echo "${floor[*]} ${game[*]}"
}
# row LABEL CPU-NS X-CPU-NS WALL-MS [HWM-KB]: microseconds per tick and share of one core, alone
# and with the server's; peak RSS.
row() {
  awk -v l="$1" -v c="$2" -v x="$3" -v w="$4" -v h="${5:-}" -v t="$TICK_MS" 'BEGIN {
    printf "%-22s %7.0f us %6.2f %%  %7.0f us %6.2f %%", l, c / 1000 / (w / t), c / 1e4 / w,
      (c + x) / 1000 / (w / t), (c + x) / 1e4 / w
    if (h != "") printf " %8.1f MB", h / 1024
    printf "\n" }'
}
# watch_for NAME, then watched START-MS: MAPPED and DRAWN become the ms after START-MS at which
# that window was mapped and first drawn ("?" if it never was). The watcher runs before the window
# can appear.
watch_for() { "$WATCH" "$1" >"$WORK/watch" 2>&1 & WATCH_PID=$!; sleep 0.3; }
watched() {
  MAPPED="?" DRAWN="?"
  wait "$WATCH_PID" || { cat "$WORK/watch" >&2; shot unseen; return; }
  read -r MAPPED DRAWN < <(awk -v s="$1" '{ t[$1] = $2 - s } END { print t["mapped"], t["drawn"] }' "$WORK/watch")
}

# FOOTPRINT_SHOTS=DIR keeps a screenshot of the attract screen and of the round, each taken after
# its window, to see what was measured.
shot() { [ -z "${FOOTPRINT_SHOTS:-}" ] || import -window root "$FOOTPRINT_SHOTS/footprint.$1.png"; }

# FOOTPRINT_DISPLAY=N runs the server as :N; by default it takes the first free number.
if [ -n "${FOOTPRINT_DISPLAY:-}" ]; then
  echo "$FOOTPRINT_DISPLAY" >"$WORK/display"
  Xvfb ":$FOOTPRINT_DISPLAY" -screen 0 1920x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
else
  Xvfb -displayfd 3 -screen 0 1920x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
fi
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && xdpyinfo -display ":$(head -n1 "$WORK/display")" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$WORK/display")" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
mkdir -m 0700 "$WORK/tmp" "$WORK/run"
export TMPDIR="$WORK/tmp" XDG_RUNTIME_DIR="$WORK/run"

# The floor, stopped until its turns.
watch_for "Puffpop floor"
SDL_FRAMEBUFFER_ACCELERATION=0 "$FLOOR" 1200 144 & FLOOR_PID=$!
watched 0
sleep 1
kill -STOP "$FLOOR_PID"

# The game: launch to the mode choice, START to the game window, the attract screen, a round.
watch_for "$CHOOSER"
launched=$(now_ms)
"$GAME" >"$WORK/game.out" 2>&1 & RUN_PID=$!
watched "$launched"
chooser_mapped=$MAPPED chooser_drawn=$DRAWN
# START has the focus once the window has it: Return then presses it.
for _ in $(seq 50); do
  [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$CHOOSER" ] && break
  sleep 0.1
done
sleep 0.5
watch_for "$GAME_CAPTION"
pressed=$(now_ms)
xdotool key Return
watched "$pressed"
game_mapped=$MAPPED game_drawn=$DRAWN
sleep 1
read -r floor_a_cpu floor_a_x floor_a_wall attract_cpu attract_x attract_wall < <(turns)
shot attract
xdotool mousemove 448 300 mousedown 1
sleep 1.5 # the start fanfare holds the game for 0.8 s
read -r floor_cpu floor_x floor_wall round_cpu round_x round_wall < <(turns press)
shot round
xdotool mouseup 1
game_hwm=$(hwm_kb "$RUN_PID") floor_hwm=$(hwm_kb "$FLOOR_PID")
xdotool key Escape && sleep 0.5 && xdotool key Escape
for _ in $(seq 50); do kill -0 "$RUN_PID" 2>/dev/null || break; sleep 0.1; done
wait "$RUN_PID" 2>/dev/null
status=$?
RUN_PID=""

echo "Footprint of $GAME on Xvfb $DISPLAY, SDL audio: $SDL_AUDIODRIVER," \
  "${SECONDS_EACH} s each in $TURNS turns"
printf '%-22s %19s  %19s\n%-22s %19s  %19s %11s\n' "" "the program alone" "with the X server" \
  "" "per tick  of a core" "per tick  of a core" "peak RSS"
row "floor, by the attract" "$floor_a_cpu" "$floor_a_x" "$floor_a_wall"
row "game, attract screen" "$attract_cpu" "$attract_x" "$attract_wall"
row "floor, by the round" "$floor_cpu" "$floor_x" "$floor_wall" "$floor_hwm"
row "game, playing" "$round_cpu" "$round_x" "$round_wall" "$game_hwm"
echo "launch -> mode-choice window: mapped after ${chooser_mapped} ms, first frame after ${chooser_drawn} ms"
echo "START  -> game window:        mapped after ${game_mapped} ms, first frame after ${game_drawn} ms"
awk -v f="$floor_cpu" -v fx="$floor_x" -v fw="$floor_wall" -v fa="$floor_a_cpu" \
  -v fax="$floor_a_x" -v faw="$floor_a_wall" -v a="$attract_cpu" -v ax="$attract_x" \
  -v aw="$attract_wall" -v g="$round_cpu" -v gx="$round_x" -v gw="$round_wall" -v h="$game_hwm" \
  -v c="$chooser_drawn" -v pwx="$PLAY_WITH_X" -v pa="$PLAY_ALONE" -v awx="$ATTRACT_WITH_X" \
  -v rt="$RSS_TARGET_MB" -v ct="$CHOOSER_TARGET_MS" '
  function target(what, ratio, most) {
    printf "  %-34s %5.2fx the floor (<= %.1fx): %s\n", what, ratio, most, ratio <= most ? "met" : "MISSED"
  }
  BEGIN {
    print "targets:"
    target("playing, game + X server", ((g + gx) / gw) / ((f + fx) / fw), pwx)
    target("playing, game alone", (g / gw) / (f / fw), pa)
    target("attract screen, game + X server", ((a + ax) / aw) / ((fa + fax) / faw), awx)
    printf "  peak RSS %.1f MB (<= %d MB): %s; ", h / 1024, rt, h / 1024 <= rt ? "met" : "MISSED"
    printf "mode choice after %s ms (<= %d ms): %s\n", c, ct, (c != "?" && c <= ct) ? "met" : "MISSED" }'
[ "$status" -eq 0 ] || echo "note: the game ended with status $status; its output: $(tr '\n' ' ' <"$WORK/game.out")"
