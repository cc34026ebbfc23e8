#!/usr/bin/env bash
# Sets up, builds and starts the station. It runs in run/ (ignored by git), which holds
# its settings file sdefault.txt; a first run writes one for the built-in simulated
# installation, port SIM, so that the station has something to talk to without hardware.
# Point it at real hardware by choosing the port in File, Configure Serial Port (or by
# editing run/sdefault.txt: "COM1 9600 N 8 1", "/dev/ttyUSB0 9600 N 8 1").
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=2
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target onefortwo

mkdir -p run
if [ ! -e run/sdefault.txt ]; then
  printf 'SIM 9600 N 8 1' >run/sdefault.txt
fi
cd run
exec ../build/src/gui/onefortwo "$@"
