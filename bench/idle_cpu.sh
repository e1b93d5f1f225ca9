#!/bin/sh
# Idle CPU of the demo game's title screen, per process: CPU time (user + system, all threads)
# over wall time, and wake-ups a second (voluntary + involuntary context switches of all its
# threads), then the same per thread; headless (SDL's dummy drivers) and in a window under Xvfb.
# Goal: at most 2 % of a core and 70 wake-ups a second headless, at most 8 % under Xvfb.
# Usage: bench/idle_cpu.sh [BUILD_FOLDER [SECONDS [CPU]]]   (defaults: build, 60, not pinned)
# With CPU the game runs pinned to that core (taskset), Xvfb where the system puts it.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
SECONDS_MEASURED=${2:-60}
PIN=${3:-}
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
PINNED=""
[ -n "$PIN" ] && PINNED="taskset -c $PIN"

# One line a thread: id, name, voluntary and involuntary switches, CPU ticks (user + system).
threads() {
  for task in /proc/"$1"/task/*; do
    awk -v tid="${task##*/}" '
      FILENAME ~ /status$/ && /^voluntary_ctxt_switches/ { v = $2 }
      FILENAME ~ /status$/ && /^nonvoluntary_ctxt_switches/ { n = $2 }
      FILENAME ~ /comm$/ { name = $0; gsub(/ /, "_", name) }
      FILENAME ~ /stat$/ { sub(/^.*\) /, ""); ticks = $12 + $13 }
      END { print tid, name, v, n, ticks }' "$task/status" "$task/comm" "$task/stat" 2>/dev/null || true
  done
}

# measure LABEL VAR=VALUE...: runs the game in the environment given, idles at the title.
measure() {
  label=$1
  shift
  (cd "$WORK/game" && exec env XDG_RUNTIME_DIR="$WORK/runtime" SDL_AUDIODRIVER=dummy "$@" $PINNED "$BUILD/quillbramwood") \
    >"$WORK/out.txt" 2>&1 &
  pid=$!
  sleep "$WARM_UP"
  threads "$pid" >"$WORK/before"
  sleep "$SECONDS_MEASURED"
  threads "$pid" >"$WORK/after"
  kill -TERM "$pid"
  wait "$pid" || true
  # Threads that lived through the whole interval; the process line sums them.
  awk -v l="$label" -v hz="$TICKS" -v w="$SECONDS_MEASURED" '
    NR == FNR { v[$1] = $3; n[$1] = $4; t[$1] = $5; next }
    ($1 in v) {
      dv = $3 - v[$1]; dn = $4 - n[$1]; dt = $5 - t[$1]
      line[++k] = sprintf("  thread %-8s %-16s %5.2f %% of a core, %6.1f wake-ups a second (%.1f involuntary)",
                          $1, $2, 100 * dt / hz / w, (dv + dn) / w, dn / w)
      sv += dv; sn += dn; st += dt
    }
    END {
      printf "%-10s %5.2f %% of a core, %6.0f wake-ups a second (%.0f involuntary) over %d s\n",
             l, 100 * st / hz / w, (sv + sn) / w, sn / w, w
      for (i = 1; i <= k; ++i) print line[i]
    }' "$WORK/before" "$WORK/after"
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
