#!/usr/bin/env bash
# Builds SDL2, SDL2_image and SDL2_mixer for the browser from Debian's own
# source packages with Debian's emscripten, static, into a prefix cached
# outside the checkout. The prefix is keyed by this script (the flags live in
# it), the emscripten version and the source versions, so the slow build
# (about a quarter of an hour on two cores) happens once per machine.
#
# The game itself uses no SDL2_ttf (only the native data generator draws text),
# so neither SDL2_ttf nor freetype is built.
#
# Prints the prefix as its last line of output. Usage:
#   scripts/build-web-deps.sh            # build if missing, print the prefix
#   scripts/build-web-deps.sh --prefix   # print the prefix the build would use
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
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev

export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3

versions=$(dpkg-query -W -f='${Package}=${Version}\n' emscripten libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev)
key=$( { cat "$script"; echo "$versions"; } | sha256sum | cut -c1-16)
cache_root=${TUMBLEWELL_WEB_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tumblewell-web}
prefix="$cache_root/$key"

if [ "${1:-}" = "--prefix" ]; then echo "$prefix"; exit 0; fi
if [ -f "$prefix/.complete" ]; then
  echo "Web dependencies already built ($(echo $versions | tr '\n' ' '))" >&2
  echo "$prefix"
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
stage="$prefix.partial"
rm -rf "$stage"
mkdir -p "$stage"

cd "$work"
for pkg in libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev; do
  src=$(dpkg-query -W -f='${source:Package}' "$pkg")
  ver=$(dpkg-query -W -f='${source:Version}' "$pkg")
  echo "Fetching source $src=$ver" >&2
  apt-get source -qq --download-only "$src=$ver" >&2
done
for dsc in *.dsc; do dpkg-source -x --skip-patches "$dsc" >/dev/null 2>&1 || dpkg-source -x "$dsc" >&2; done

common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
        "-DCMAKE_INSTALL_PREFIX=$stage" "-DCMAKE_PREFIX_PATH=$stage" "-DCMAKE_FIND_ROOT_PATH=$stage")

build() {  # dir, extra cmake flags...
  local dir=$1; shift
  local t0=$SECONDS
  echo "Building $dir" >&2
  emcmake cmake -S "$dir" -B "$dir/build-web" "${common[@]}" "$@" >"$work/$dir.log" 2>&1 \
    || { tail -40 "$work/$dir.log" >&2; exit 1; }
  cmake --build "$dir/build-web" -j"${JOBS:-2}" >>"$work/$dir.log" 2>&1 \
    && cmake --install "$dir/build-web" >>"$work/$dir.log" 2>&1 \
    || { tail -40 "$work/$dir.log" >&2; exit 1; }
  echo "  $dir: $((SECONDS - t0)) s" >&2
}

build "$(ls -d libsdl2-2.*/ | head -1 | tr -d /)" \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build "$(ls -d libsdl2-image-*/ | head -1 | tr -d /)" \
  -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_VENDORED=ON -DSDL2IMAGE_SAMPLES=OFF \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF
build "$(ls -d libsdl2-mixer-*/ | head -1 | tr -d /)" \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
  -DSDL2MIXER_CMD=OFF

echo "$versions" >"$stage/versions.txt"
rm -rf "$prefix"
mv "$stage" "$prefix"
# Installed CMake files name the staging folder; point them at the final one.
grep -rl --null "$stage" "$prefix" | xargs -0r sed -i "s|$stage|$prefix|g"
touch "$prefix/.complete"
echo "$prefix"
