#!/usr/bin/env bash
# Includes run downward only. Each folder of src/ is a layer; a file may
# include headers of its own layer or of layers below it, never above.
# SDL is included by the platform layer alone. Prints every offending line.
set -euo pipefail
cd "$(dirname "$0")/.."

# From the bottom up; see docs/architecture.md.
layers=(platform core config audio world input replay render frontend app)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

bad=0
while IFS= read -r file; do
  rel=${file#src/}
  own=${rel%%/*}
  if [[ $rel == */* ]]; then
    [[ -n ${rank[$own]+x} ]] || { echo "$file: folder '$own' is not in the layer order"; bad=1; continue; }
    own_rank=${rank[$own]}
  else
    own_rank=${#layers[@]}  # main.cpp and other top-level files sit above everything
  fi
  while IFS=: read -r line text; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [[ $target == "$text" ]] && continue  # a header of the same folder, by bare name
    if [[ -z ${rank[$target]+x} ]]; then
      echo "$file:$line: includes from '$target', which is not a layer"; bad=1
    elif (( rank[$target] > own_rank )); then
      echo "$file:$line: $own includes $target, which sits above it"; bad=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  if [[ $own != platform ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<SDL' "$file"; then
    echo "$file: includes SDL outside src/platform"; bad=1
  fi
done < <(find src -name '*.cpp' -o -name '*.h' | sort)

if (( bad )); then
  echo "layer check failed: order from the bottom is ${layers[*]}"
  exit 1
fi
echo "layer check passed: $(find src -name '*.cpp' -o -name '*.h' | wc -l) files, order from the bottom: ${layers[*]}"
