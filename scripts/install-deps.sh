#!/usr/bin/env bash
# Installs what building, running and testing the game needs on Debian 12.
# Safe to run again: packages already present are skipped.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libgtest-dev googletest
  # float text written and read the same way in every build, the browser's too
  libfmt-dev libfast-float-dev
  # the world's state fingerprints (golden runs, replay state trails)
  libxxhash-dev
  # the data generator encodes the music as Ogg Vorbis
  libvorbis-dev
  fonts-dejavu-core
  # the display font used for the words on generated pictures
  fonts-league-spartan
  # end-to-end checks under a real X server
  xvfb xdotool
  # the window check needs a window manager (full screen), screenshots and xwininfo
  evilwm imagemagick x11-utils
  # the install check validates the desktop entry and the AppStream metainfo
  desktop-file-utils appstream
  # `make package` (CPack's Debian generator finds dependencies with dpkg-shlibdeps,
  # which needs `file`) and the package checks (dpkg-deb, lintian)
  dpkg-dev file lintian
  # the fuzz targets (libFuzzer) and the sanitizer runtimes
  clang-14 libclang-rt-14-dev ccache
  # `make coverage`
  gcovr
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
  else
    SUDO=
  fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
