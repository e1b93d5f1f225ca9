# Sourced by run-tests.sh and run-game.sh: installs the Debian packages the build needs
# when any is missing (needs root or sudo). run-tests.sh adds the packages only the tests need
# in QB_TEST_PACKAGES.
QB_PACKAGES="build-essential git cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libsdl2-dev libfreetype-dev libvorbis-dev libogg-dev libfluidsynth-dev timgm6mb-soundfont \
fonts-ipafont-gothic xvfb xauth"
qb_missing=""
for p in $QB_PACKAGES ${QB_TEST_PACKAGES:-}; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || qb_missing="$qb_missing $p"
done
if [ -n "$qb_missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $qb_missing
fi
