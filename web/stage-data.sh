#!/usr/bin/env bash
# Copies what the page ships from a native build's application directory:
# the generated pictures, sounds, music and font description, the tuning
# files and the attract replays; not the player's own files a run there may
# have written (options, high scores, the replay recording, temporaries).
# Usage: web/stage-data.sh NATIVE_BUILD_DIR OUT_DIR
set -euo pipefail
src=$1
out=$2
rm -rf "$out.new"
mkdir -p "$out.new"
cp -r "$src/textures" "$src/fonts" "$src/sfx" "$src/music" "$out.new/"
cp "$src/font.ini" "$out.new/"
for f in wd.jpg wd_wow.jpg replay1.ini replay2.ini replay3.ini replay4.ini replay5.ini \
         replay6.ini replay7.ini replay8.ini replay9.ini replay10.ini; do
  if [ -f "$src/$f" ]; then cp "$src/$f" "$out.new/"; fi
done
rm -f "$out.new/textures/options.bmp" "$out.new/textures/dot_black2.bmp" "$out.new/textures/dot_white2.bmp"
find "$out.new" -name '*.tmp*' -delete
# Only replace the staged copy when something changed, so the link step (and
# the data package) is redone only then.
if [ -d "$out" ] && diff -r -q "$out" "$out.new" >/dev/null; then
  rm -rf "$out.new"
else
  rm -rf "$out"
  mv "$out.new" "$out"
fi
