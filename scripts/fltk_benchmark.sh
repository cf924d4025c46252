#!/bin/sh
# Measures the native Linux program under an Xvfb of its own and prints the
# medians of several runs: start-up to the first frame, resident memory
# idle, CPU over 10 s idle and over 10 s at level 9, and Left-key-to-pixels
# latency. Each run takes about 25 s.
# usage: scripts/fltk_benchmark.sh [build-dir] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/fltk}
runs=${2:-5}
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" -j2 --target fltk_benchmark quadrafall >/dev/null
exec "$build/tests/e2e/fltk/fltk_benchmark" "$runs"
