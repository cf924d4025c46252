#!/usr/bin/env bash
# Installs what is missing, builds the native game and starts it. The Top Ten
# file "highscores.dat" is kept in the directory you start this from.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

bash "$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$root/build/play" -DCMAKE_BUILD_TYPE=Release -DQUADRAFALL_TESTS=OFF >/dev/null
cmake --build "$root/build/play" --target quadrafall -j"$(nproc)"
exec "$root/build/play/shell/fltk/quadrafall"
