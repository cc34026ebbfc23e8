#!/usr/bin/env bash
# Sets up, builds and runs every test; then runs the core and platform tests once more
# built with AddressSanitizer and UndefinedBehaviorSanitizer; then runs each libFuzzer
# target for 12 s (a crash fails the command).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=2
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DONEFORTWO_SANITIZE=ON \
  -DONEFORTWO_GUI=OFF -DONEFORTWO_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

bash scripts/fuzz.sh 12
