#!/usr/bin/env bash
# Runs PROGRAM headless under the sanitizer build on random input scripts made by the
# monkey tool, with the keys that tools/monkey.list gives for it, until FRAMES frames have
# been played: a script may press Escape and end the program early, and then the next
# seed (SEED+1, ...) plays on. Builds what it needs in build-sanitize/ (as tools/test.sh
# does).
#   tools/monkey.sh PROGRAM FRAMES SEED
# With COVERAGE=1 the build is build-coverage/ (sanitizers and gcov line counts), and the
# line coverage of the program's own sources (its rules, screens and sound) is printed.
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
coverage=${COVERAGE:-0}
if [ "$coverage" = 1 ]; then
  build=${BUILD:-build-coverage}
  options=(-DSANITIZE=ON -DCOVERAGE=ON)
else
  build=${BUILD:-build-sanitize}
  options=(-DSANITIZE=ON)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" "${options[@]}" -DBUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target monkey "$program" >/dev/null
if [ "$coverage" = 1 ]; then
  find "$build" -name '*.gcda' -delete
fi
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
start=$(date +%s)
played=0 runs=0
while [ "$played" -lt "$frames" ]; do
  left=$((frames - played))
  "$build/tools/monkey" "$left" "$seed" "${keys[@]}" >"$tmp/script.txt"
  # A picture just before each Escape and after the last frame: the last one written
  # tells how far the run got.
  marks=($(awk '$2 == "down" && $3 == "escape" && $1 > 1 { print $1 - 1 }' "$tmp/script.txt") "$left")
  shots=()
  for m in "${marks[@]}"; do shots+=(--screenshot "$m:$tmp/at-$m.png"); done
  rm -f "$tmp"/at-*.png
  status=0
  (cd "$tmp" && "$OLDPWD/$build/$program/$program" --headless --seed "$seed" --frames "$left" \
    --input "$tmp/script.txt" "${shots[@]}") >"$tmp/out.txt" 2>&1 || status=$?
  if [ $status -ne 0 ]; then
    tail -40 "$tmp/out.txt"
    cp "$tmp/script.txt" "monkey-$program-$seed.txt"
    echo "monkey: $program ended with status $status; the script is monkey-$program-$seed.txt" \
      "(run it with --seed $seed --frames $left)" >&2
    exit 1
  fi
  reached=0
  for m in "${marks[@]}"; do [ -f "$tmp/at-$m.png" ] && reached=$m; done
  if [ "$reached" -eq 0 ]; then
    echo "monkey: $program, seed $seed: the run ended before its first picture" >&2
    exit 1
  fi
  played=$((played + reached)) runs=$((runs + 1)) seed=$((seed + 1))
done
echo "monkey: $program: $played frames in $runs runs (seeds $3..$((seed - 1)))," \
  "in $(( $(date +%s) - start )) s, no finding"
if [ "$coverage" = 1 ]; then
  # Line coverage of the program's own sources, from the counts of its object files.
  (cd "$tmp" && for o in "$OLDPWD/$build/$program"/CMakeFiles/{$program,${program}_core}.dir/*.o; do
     if [ -f "$o" ]; then gcov -n -o "$o" "$o" 2>/dev/null || true; fi; done) |
    awk -v dir="/$program/" '
      /^File / { f = $2; gsub(/\047/, "", f) }
      /^Lines executed:/ && index(f, dir) && f ~ /\.cpp$/ && f !~ /\/tests\// {
        split($2, a, ":"); pct = a[2] + 0
        if (!(f in lines)) order[++count] = f
        if (pct >= share[f]) { share[f] = pct; lines[f] = $4 + 0 }
      }
      END {
        for (i = 1; i <= count; ++i) {
          f = order[i]; name = f; sub(/.*\//, "", name)
          printf "monkey:   %-16s %6.1f %% of %d lines\n", name, share[f], lines[f]
          hit += share[f] * lines[f] / 100; all += lines[f]
        }
        if (all) printf "monkey:   %-16s %6.1f %% of %d lines\n", "all", 100 * hit / all, all
      }'
fi
