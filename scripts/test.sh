#!/usr/bin/env bash
# Installs what is missing, builds everything (the native game, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz target, the
# Windows program and the web page) and runs every test; then makes the
# release with scripts/release.sh and checks what a player gets. The last
# line reads "N passed, N failed".
set -uo pipefail
exec </dev/null  # nothing here reads it, and Wine misuses a closed one
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
jobs=$(nproc)
passed=0
failed=0

note() { printf '\n== %s\n' "$*"; }

# Runs ctest in a build tree and adds its results to the totals. A stage
# that could not be built counts as one failure.
run_ctest() {
  local dir=$1; shift
  local log="$dir/ctest.log"
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local summary
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    if grep -q 'No tests were found' "$log"; then return; fi
    failed=$((failed + 1)); return
  fi
  local bad total
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

build_stage() {
  local name=$1; shift
  note "configure and build: $name"
  if cmake -S "$root" -B "$build/$name" "$@" >"$build/$name.configure.log" 2>&1 || { cat "$build/$name.configure.log"; false; }; then
    if cmake --build "$build/$name" -j"$jobs"; then return 0; fi
  fi
  echo "stage $name failed to build"
  failed=$((failed + 1))
  return 1
}

note "install what is missing"
if ! bash "$root/scripts/install-deps.sh" test; then
  echo "could not install the packages the tests need"
  echo "0 passed, 1 failed"
  exit 1
fi
mkdir -p "$build"

if build_stage win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release; then
  note "tests: Windows program under Wine (GDI against software pixels, resources, end-to-end)"
  run_ctest "$build/win32"
fi

if build_stage native -DCMAKE_BUILD_TYPE=Release; then
  note "tests: native, built as players get it (unit, end-to-end, packaging)"
  run_ctest "$build/native"
fi

# The web page, built with Emscripten and tested in three engines: headless
# Chromium, headless Firefox ESR and WebKitGTK (Safari's engine). Its
# reference frame and Top Ten files come from the native tree's tools.
emscripten_toolchain="$(em-config EMSCRIPTEN_ROOT 2>/dev/null)/cmake/Modules/Platform/Emscripten.cmake"
if build_stage web -DCMAKE_TOOLCHAIN_FILE="$emscripten_toolchain" -DCMAKE_BUILD_TYPE=Release \
     -DQUADRAFALL_NATIVE_BUILD="$build/native"; then
  note "tests: the web page in Chromium, Firefox ESR and WebKitGTK (pixels, timers, keys, menu, dialogs, Top Ten bytes)"
  PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$root/tests/e2e/web/browser.py"
  run_ctest "$build/web"
fi

if build_stage sanitize -DCMAKE_BUILD_TYPE=Debug -DQUADRAFALL_SANITIZE=ON -DQUADRAFALL_SHELL=OFF; then
  note "tests: unit suite under AddressSanitizer and UndefinedBehaviorSanitizer"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest "$build/sanitize" -L unit
fi

if CC=clang CXX=clang++ build_stage fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADRAFALL_FUZZ=ON -DQUADRAFALL_SHELL=OFF; then
  note "tests: fuzzing the Top Ten file loader"
  run_ctest "$build/fuzz" -L fuzz
fi

# What a player downloads: every check of it counts as a test, and a second
# release from a clone of the commit must give the same bytes.
note "release: scripts/release.sh and what a player gets from it"
if bash "$root/scripts/release.sh"; then
  bash "$root/tests/release/release_test.sh" "$root" 2>&1 | tee "$build/release.log"
  passed=$((passed + $(grep -c '^PASS ' "$build/release.log")))
  failed=$((failed + $(grep -c '^FAIL ' "$build/release.log")))
else
  echo "the release could not be made"
  failed=$((failed + 1))
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
