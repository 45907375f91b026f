#!/bin/sh
# Installs the Debian packages the build needs, only those that are missing.
set -e
PKGS="build-essential python3 cmake ninja-build ccache lld clang libclang-rt-14-dev pkg-config \
 libgtest-dev libgmock-dev googletest libbenchmark-dev zlib1g-dev libpng-dev libfreetype-dev \
 libsdl2-dev libpixman-1-dev fonts-dejavu-core valgrind \
 libjpeg62-turbo-dev libexif-dev libtag1-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libmagic-dev"
MISSING=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || MISSING="$MISSING $p"
done
if [ -n "$MISSING" ]; then
  echo "Installing:$MISSING"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $MISSING
fi
