#!/bin/sh
# Measures the web page in headless Chromium and prints the size of the page,
# the time from navigation to the first frame (median of 10, in a running
# browser and in fresh ones)
# and the page's CPU time over 10 s idle and over 10 s of play at level 9.
# Builds the page first. Takes about two minutes.
# usage: scripts/web_benchmark.sh [build-dir] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/web}
runs=${2:-10}
emcmake cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target quadrafall_page >/dev/null
cd "$here/tests/e2e/web"
QUADRAFALL_PAGE="$build/page/index.html" PYTHONDONTWRITEBYTECODE=1 exec /usr/bin/python3 benchmark.py "$runs"
