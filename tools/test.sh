#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in the normal build and in
# the sanitizer build (address + undefined behaviour). The window tests run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DSANITIZE=ON -DBUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
cmake --build build-sanitize -j"$jobs"
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
