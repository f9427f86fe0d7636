#!/usr/bin/env bash
# Builds the browser version into WEB_BUILD_DIR/site (index.html, game.js,
# game.wasm, game.data) from the data of the native build in BUILD_DIR.
# Usage: scripts/build-web.sh BUILD_DIR WEB_BUILD_DIR
set -euo pipefail
native=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$("$here/build-web-deps.sh" | tail -1)
# Debian's node does not search Debian's node modules on its own (emcc needs acorn).
export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3
if [ ! -f "$out/build.ninja" ] || ! grep -q "$prefix" "$out/CMakeCache.txt"; then
  emcmake cmake -S "$here/.." -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBLEWELL_BUILD_TESTS=OFF \
    "-DCMAKE_PREFIX_PATH=$prefix" "-DCMAKE_FIND_ROOT_PATH=$prefix" "-DTW_NATIVE_BUILD=$native"
fi
cmake --build "$out" -j"${JOBS:-2}"
echo "The page is in $out/site ($(du -sh "$out/site" | cut -f1))"
