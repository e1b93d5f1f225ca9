#!/bin/sh
# Installs what the build needs (Debian 12), builds with every core and runs the tests headless.
# Usage: ./run-tests.sh [build folder] [extra cmake options...]
set -eu
cd "$(dirname "$0")"
# Sound files the sound tests play: a WAVE file (alsa-utils), Ogg files
# (sound-theme-freedesktop), MIDI songs (openttd-openmsx, planetblupi-music-midi) and midicsv,
# the independent MIDI parser the MIDI reader is compared with. The game itself needs none.
QB_TEST_PACKAGES="alsa-utils sound-theme-freedesktop openttd-openmsx planetblupi-music-midi midicsv"
. ./tools/setup-debian.sh
BUILD=${1:-build}
[ $# -gt 0 ] && shift
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
cmake -S . -B "$BUILD" "$@"
cmake --build "$BUILD" -j"$(nproc)"
cd "$BUILD" && ctest --output-on-failure -j"$(nproc)" --timeout 300
