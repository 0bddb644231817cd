#!/usr/bin/env bash
# Runs PROGRAM headless under the sanitizer build on a random input script of FRAMES
# frames made by the monkey tool from SEED, with the keys that tools/monkey.list gives
# for it. Builds what it needs in build-sanitize/ (as tools/test.sh does).
#   tools/monkey.sh PROGRAM FRAMES SEED
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 3 ]; then
  echo "usage: tools/monkey.sh PROGRAM FRAMES SEED" >&2
  exit 2
fi
program=$1 frames=$2 seed=$3
line=$(grep -E "^$program[[:space:]]" tools/monkey.list || true)
if [ -z "$line" ]; then
  echo "monkey: '$program' is not in tools/monkey.list" >&2
  exit 2
fi
read -r -a fields <<<"$line"
keys=("${fields[@]:2}")
build=${BUILD:-build-sanitize}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DSANITIZE=ON -DBUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target monkey "$program" >/dev/null
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/tools/monkey" "$frames" "$seed" "${keys[@]}" >"$tmp/script.txt"
start=$(date +%s)
status=0
(cd "$tmp" && "$OLDPWD/$build/$program/$program" --headless --seed "$seed" --frames "$frames" \
  --input "$tmp/script.txt" --screenshot "$frames:$tmp/last.png") >"$tmp/out.txt" 2>&1 || status=$?
if [ $status -ne 0 ]; then
  tail -40 "$tmp/out.txt"
  cp "$tmp/script.txt" "monkey-$program-$seed.txt"
  echo "monkey: $program ended with status $status; the script is monkey-$program-$seed.txt" >&2
  exit 1
fi
ended="all $frames frames"
[ -f "$tmp/last.png" ] || ended="ended by the script (Escape) before frame $frames"
echo "monkey: $program: seed $seed, $ended, in $(( $(date +%s) - start )) s, no finding"
