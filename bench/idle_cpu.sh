#!/bin/sh
# Idle CPU of the demo game's title screen, per process: CPU time (user + system, all threads)
# over wall time, and wake-ups (context switches) a second; headless (SDL's dummy driver) and in
# a window under Xvfb. Goal: at most 2 % of a core headless, at most 10 % under Xvfb.
# Usage: bench/idle_cpu.sh [BUILD_FOLDER [SECONDS]]   (defaults: build, 60)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
SECONDS_MEASURED=${2:-60}
WARM_UP=3
TICKS=$(getconf CLK_TCK)
WORK=$(mktemp -d)
XVFB=""
cleanup() {
  [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null && wait "$XVFB" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
"$BUILD/tools/demo-game/quillbramwood-demo" "$WORK/game" >/dev/null
mkdir -p "$WORK/runtime"

# CPU ticks and context switches of every thread of a process.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }

# measure LABEL VAR=VALUE...: runs the game in the environment given, idles at the title.
measure() {
  label=$1
  shift
  (cd "$WORK/game" && exec env XDG_RUNTIME_DIR="$WORK/runtime" SDL_AUDIODRIVER=dummy "$@" "$BUILD/quillbramwood") \
    >"$WORK/out.txt" 2>&1 &
  pid=$!
  sleep "$WARM_UP"
  t0=$(cpu_ticks "$pid"); s0=$(switches "$pid")
  sleep "$SECONDS_MEASURED"
  t1=$(cpu_ticks "$pid"); s1=$(switches "$pid")
  kill -TERM "$pid"
  wait "$pid" || true
  awk -v l="$label" -v t=$((t1 - t0)) -v hz="$TICKS" -v s=$((s1 - s0)) -v w="$SECONDS_MEASURED" \
    'BEGIN { printf "%-10s %5.2f %% of a core, %6.0f wake-ups a second over %d s\n", l, 100 * t / hz / w, s / w, w }'
}

measure headless SDL_VIDEODRIVER=dummy
if command -v Xvfb >/dev/null 2>&1; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
  XVFB=$!
  for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$WORK/display" ] && break; sleep 0.5; done
  measure Xvfb SDL_VIDEODRIVER=x11 DISPLAY=":$(cat "$WORK/display")"
else
  echo "Xvfb         not installed: skipped"
fi
