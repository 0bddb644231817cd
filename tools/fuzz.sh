#!/usr/bin/env bash
# Builds the fuzz harnesses (clang, in build-fuzz/) and runs each for SECONDS (default 60)
# on its seed corpus made from the real data. Stops at the first harness that finds a
# crash; the input that caused it is left in build-fuzz/fuzz/findings/HARNESS/.
#   tools/fuzz.sh [SECONDS] [HARNESS...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
export SDL_AUDIODRIVER=dummy
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DFUZZ=ON -DBUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_all >/dev/null
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  read -r -a harnesses <<<"$(tr ';' ' ' <build-fuzz/fuzz/harnesses.txt)"
fi
for h in "${harnesses[@]}"; do
  corpus=build-fuzz/fuzz/corpora/$h
  work=build-fuzz/fuzz/work/$h
  findings=build-fuzz/fuzz/findings/$h
  mkdir -p "$work" "$findings"
  log=build-fuzz/fuzz/$h.log
  # New inputs go to the work folder, so the seed corpus stays as the build made it.
  if ! build-fuzz/fuzz/${h}_fuzz -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
      -timeout=10 -artifact_prefix="$findings/" -print_final_stats=1 "$work" "$corpus" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz: $h found a fault; see $log and $findings/" >&2
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  echo "fuzz: $h: $runs executions in ${seconds} s, no fault"
done
