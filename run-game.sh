#!/bin/sh
# Installs what the build needs (Debian 12; QB_SKIP_SETUP=1 skips this on other systems),
# builds the game and the demo builder, and runs the game in GAME_FOLDER (the demo game when
# none is given). A relative GAME_FOLDER is taken from the folder the script is called from.
# Usage: ./run-game.sh [game folder] [stage file]
set -eu
CALLER=$(pwd)
ROOT=$(cd "$(dirname "$0")" && pwd)
GAME=""
if [ $# -gt 0 ]; then
  case $1 in
    /*) GAME=$1 ;;
    *) GAME="$CALLER/$1" ;;
  esac
  if [ ! -d "$GAME" ]; then
    echo "run-game.sh: no game folder $1" >&2
    exit 1
  fi
  shift
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  echo "run-game.sh: no display to show the game on (DISPLAY is not set); run it in a desktop session or under xvfb-run" >&2
  exit 1
fi
cd "$ROOT"
if [ "${QB_SKIP_SETUP:-0}" != 1 ]; then . ./tools/setup-debian.sh; fi
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target quillbramwood quillbramwood-demo
if [ -z "$GAME" ]; then
  GAME="$ROOT/build/demo-game"
  mkdir -p "$GAME"
  build/tools/demo-game/quillbramwood-demo "$GAME"
fi
cd "$GAME" && exec "$ROOT/build/quillbramwood" "$@"
