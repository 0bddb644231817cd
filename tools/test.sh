#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in the normal build and in
# the sanitizer build (address + undefined behaviour, leak checks on). Both runs use an X
# server of their own (Xvfb) whatever DISPLAY says, so the same tests run on a desktop
# and on a machine without one.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)
export SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
# -noreset: by default Xvfb resets itself whenever its last client leaves, and a test that
# connects during the reset finds no display.
xvfb() { xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" "$@"; }

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
xvfb ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DSANITIZE=ON -DBUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
cmake --build build-sanitize -j"$jobs"
xvfb ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# A short fuzzing run of every harness when clang is there (FUZZ_SECONDS each, 15 by
# default; 0 skips it). The monkey and clock-wrap runs are ctest tests of both builds.
if command -v clang++ >/dev/null && [ "${FUZZ_SECONDS:-15}" != 0 ]; then
  tools/fuzz.sh "${FUZZ_SECONDS:-15}"
fi
