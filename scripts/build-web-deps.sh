#!/usr/bin/env bash
# Builds SDL2, SDL2_image, SDL2_mixer, freetype and SDL2_ttf (the game draws
# its small labels with a TrueType font) for the browser from Debian's own
# source packages with Debian's emscripten, static, into prefixes cached
# outside the checkout, so the slow build (about a quarter of an hour on two
# idle cores, most of it SDL2's configure) happens once per machine.
#
# Two stages, each in its own prefix keyed by the emscripten version, the
# source versions and the stage's flags (and the first stage's key): SDL2 with
# SDL2_image and SDL2_mixer, then freetype and SDL2_ttf on top.
#
# Prints the prefixes, separated by ';' (a CMAKE_PREFIX_PATH), as its last
# line of output. Usage:
#   scripts/build-web-deps.sh            # build what is missing, print the prefixes
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
script="$here/$(basename "$0")"

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

apt_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >&2
  fi
}

# The toolchain, and the native -dev packages whose versions name the sources.
apt_install emscripten ninja-build cmake dpkg-dev python3 \
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev libfreetype-dev

export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3

cache_root=${TUMBLEWELL_WEB_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tumblewell-web}

# The flags of each library (keys of the cached prefixes).
SDL2_FLAGS=(-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF)
IMAGE_FLAGS=(-DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_VENDORED=ON -DSDL2IMAGE_SAMPLES=OFF
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF)
MIXER_FLAGS=(-DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_VORBIS=STB
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF
  -DSDL2MIXER_CMD=OFF)
FREETYPE_FLAGS=(-DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON
  -DFT_DISABLE_BROTLI=ON)
TTF_FLAGS=(-DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF)

dpkg_versions() { dpkg-query -W -f='${Package}=${Version}\n' "$@"; }
key1=$( { echo v1; dpkg_versions emscripten libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev;
          echo "${SDL2_FLAGS[*]}" "${IMAGE_FLAGS[*]}" "${MIXER_FLAGS[*]}"; } | sha256sum | cut -c1-16)
key2=$( { echo "$key1"; dpkg_versions libsdl2-ttf-dev libfreetype-dev;
          echo "${FREETYPE_FLAGS[*]}" "${TTF_FLAGS[*]}"; } | sha256sum | cut -c1-16)
sdl_prefix="$cache_root/sdl-$key1"
ttf_prefix="$cache_root/ttf-$key2"

if [ -f "$sdl_prefix/.complete" ] && [ -f "$ttf_prefix/.complete" ]; then
  echo "Web dependencies already built ($sdl_prefix, $ttf_prefix)" >&2
  echo "$sdl_prefix;$ttf_prefix"
  exit 0
fi

# apt-get source needs a deb-src line for the same archive as the binaries.
src_list=/etc/apt/sources.list.d/tumblewell-deb-src.sources
if ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "Adding deb-src entries ($src_list)" >&2
  main_list=/etc/apt/sources.list.d/debian.sources
  if [ -f "$main_list" ]; then
    sed -e 's/^Types: deb$/Types: deb-src/' "$main_list" | $SUDO tee "$src_list" >/dev/null
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/tumblewell-deb-src.list >/dev/null
  fi
  $SUDO apt-get update -qq
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tumblewell-web-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

fetch() {  # binary -dev packages whose sources to unpack
  for pkg in "$@"; do
    local src ver
    src=$(dpkg-query -W -f='${source:Package}' "$pkg")
    ver=$(dpkg-query -W -f='${source:Version}' "$pkg")
    echo "Fetching source $src=$ver" >&2
    apt-get source -qq --download-only "$src=$ver" >&2
    # Upstream sources as released: Debian's patches are about its own packaging.
    dpkg-source -x --skip-patches "$(ls "${src}_"*.dsc | head -1)" >/dev/null 2>&1
  done
}

build() {  # stage prefix, source dir, extra cmake flags...
  local stage=$1 dir=$2; shift 2
  local t0=$SECONDS
  echo "Building $dir" >&2
  emcmake cmake -S "$dir" -B "$dir/build-web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    "-DCMAKE_INSTALL_PREFIX=$stage" "-DCMAKE_PREFIX_PATH=$stage;$sdl_prefix" \
    "-DCMAKE_FIND_ROOT_PATH=$stage;$sdl_prefix" "$@" >"$work/$dir.log" 2>&1 \
    || { tail -40 "$work/$dir.log" >&2; exit 1; }
  cmake --build "$dir/build-web" -j"${JOBS:-2}" >>"$work/$dir.log" 2>&1 \
    && cmake --install "$dir/build-web" >>"$work/$dir.log" 2>&1 \
    || { tail -40 "$work/$dir.log" >&2; exit 1; }
  echo "  $dir: $((SECONDS - t0)) s" >&2
}

finish() {  # staging folder, final prefix
  rm -rf "$2"
  mv "$1" "$2"
  # Installed CMake files name the staging folder; point them at the final one.
  grep -rl --null "$1" "$2" | xargs -0r sed -i "s|$1|$2|g"
  touch "$2/.complete"
}

if [ ! -f "$sdl_prefix/.complete" ]; then
  stage="$sdl_prefix.partial"
  rm -rf "$stage" && mkdir -p "$stage"
  fetch libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  build "$stage" "$(ls -d libsdl2-2.*/ | head -1 | tr -d /)" "${SDL2_FLAGS[@]}"
  build "$stage" "$(ls -d libsdl2-image-*/ | head -1 | tr -d /)" "${IMAGE_FLAGS[@]}"
  build "$stage" "$(ls -d libsdl2-mixer-*/ | head -1 | tr -d /)" "${MIXER_FLAGS[@]}"
  finish "$stage" "$sdl_prefix"
fi

if [ ! -f "$ttf_prefix/.complete" ]; then
  stage="$ttf_prefix.partial"
  rm -rf "$stage" && mkdir -p "$stage"
  fetch libfreetype-dev libsdl2-ttf-dev
  build "$stage" "$(ls -d freetype-*/ | head -1 | tr -d /)" "${FREETYPE_FLAGS[@]}"
  build "$stage" "$(ls -d libsdl2-ttf-*/ | head -1 | tr -d /)" "${TTF_FLAGS[@]}"
  finish "$stage" "$ttf_prefix"
fi

echo "$sdl_prefix;$ttf_prefix"
