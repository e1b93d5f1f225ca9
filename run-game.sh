#!/bin/sh
# Installs what the build needs (Debian 12), builds, and runs the game in GAME_FOLDER
# (the demo game when none is given).
# Usage: ./run-game.sh [game folder] [stage file]
set -eu
ROOT=$(cd "$(dirname "$0")" && pwd)
cd "$ROOT"
. ./tools/setup-debian.sh
cmake -S . -B build
cmake --build build -j"$(nproc)"
GAME=${1:-}
if [ -z "$GAME" ]; then
  GAME="$ROOT/build/demo-game"
  mkdir -p "$GAME"
  if [ -x build/tools/demo-game/quillbramwood-demo ]; then build/tools/demo-game/quillbramwood-demo "$GAME"; fi
fi
[ $# -gt 0 ] && shift
if [ ! -x build/quillbramwood ]; then
  echo "The game executable is not built yet." >&2
  exit 1
fi
cd "$GAME" && exec "$ROOT/build/quillbramwood" "$@"
