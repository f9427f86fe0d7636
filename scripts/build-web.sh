#!/usr/bin/env bash
# Builds the browser version into WEB_BUILD_DIR/site (index.html, game.js,
# game.wasm, game.data, and .gz copies of the last three) from the data of
# the native build in BUILD_DIR.
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
# gzip copies of the big files, for hosts that send precompressed files as
# they are (nginx's gzip_static, web/serve.py). -n leaves the name and time
# out of the header, so the same build gives the same bytes.
site=$out/site
for f in game.data game.wasm game.js; do
  gzip -9 -k -n -f "$site/$f"
done
# The page's size as files, and what a browser taking gzip loads: each
# file's .gz copy where it has one.
on_disk=0
transfer=0
for f in "$site"/*; do
  [ -f "$f" ] || continue
  case $f in *.gz) continue ;; esac
  size=$(stat -c %s "$f")
  on_disk=$((on_disk + size))
  if [ -f "$f.gz" ]; then size=$(stat -c %s "$f.gz"); fi
  transfer=$((transfer + size))
done
mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1e6 }'; }
echo "The page is in $site: $(mb $on_disk) as files, $(mb $transfer) to transfer with the .gz copies"
