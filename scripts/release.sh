#!/usr/bin/env bash
# Makes what a player downloads, in dist/:
#   quadrafall-<version>-windows-x64.zip        the Windows program, no install
#   quadrafall-<version>-windows-x64-setup.exe  its installer
#   quadrafall_<version>_amd64.deb              the Debian and Ubuntu package
#   quadrafall-<version>-web.zip                the web app, for any static host
#   SHA256SUMS                                  the sums of those four
# Installs what is missing, then builds each in Release in a folder of its own
# under build/release. Every time inside is the last commit's
# (SOURCE_DATE_EPOCH) and no build path is kept, so two runs on one commit give
# the same bytes wherever the tree lies.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
trees=$root/build/release
dist=$root/dist
jobs=$(nproc)

bash "$root/scripts/install-deps.sh" release

# The last commit's time; in a tree that is no git checkout (an unpacked
# archive of the source), the newest file's.
if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
else
    SOURCE_DATE_EPOCH=$(find "$root" \( -path "$root/build" -o -path "$root/dist" \) -prune -o -type f -printf '%T@\n' |
                        sort -n | tail -n 1 | cut -d. -f1)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

# From scratch every time: a tree built at an earlier commit would keep that
# commit's time where nothing is rebuilt (the Windows program's link time).
rm -rf "$trees"
build_tree() {
    local name=$1; shift
    echo "== release: building $name"
    mkdir -p "$trees"
    if ! cmake -S "$root" -B "$trees/$name" "$@" >"$trees/$name.configure.log" 2>&1; then
        cat "$trees/$name.configure.log" >&2
        return 1
    fi
    cmake --build "$trees/$name" -j"$jobs"
}

# Compiled code names its sources relative to the tree, wherever it lies.
prefix_map="-ffile-prefix-map=$root/="
build_tree win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQUADRAFALL_TESTS=OFF
# With the hardening Debian builds its own packages with.
build_tree native -DCMAKE_BUILD_TYPE=Release -DQUADRAFALL_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS=$prefix_map -D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
    "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro,-z,now"
build_tree web -DCMAKE_TOOLCHAIN_FILE="$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUADRAFALL_TESTS=OFF "-DCMAKE_CXX_FLAGS=$prefix_map"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$trees/native/CMakeCache.txt")
deb=quadrafall_${version}_$(dpkg --print-architecture).deb
rm -rf "$dist"
mkdir -p "$dist"

echo "== release: packing"
bash "$root/packaging/windows/pack.sh" "$trees/win32" "$dist"
rm -rf "$trees/native/package"
(cd "$trees/native" && cpack -G DEB -B "$trees/native/package" >"$trees/native/cpack.log" 2>&1) ||
    { cat "$trees/native/cpack.log" >&2; exit 1; }
cp "$trees/native/package/$deb" "$dist/"
bash "$root/packaging/web/pack.sh" "$trees/web" "$dist"

(cd "$dist" && sha256sum -- "quadrafall-$version-windows-x64.zip" "quadrafall-$version-windows-x64-setup.exe" \
    "$deb" "quadrafall-$version-web.zip" >SHA256SUMS)
echo "== release: $dist"
(cd "$dist" && ls -l)
