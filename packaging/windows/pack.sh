#!/usr/bin/env bash
# Makes the Windows release files from a cross-built tree:
#   pack.sh <win32 build dir> <dist dir>
# writes quadrafall-<version>-windows-x64.zip and
# quadrafall-<version>-windows-x64-setup.exe into <dist dir>. The same commit
# gives the same bytes: every file's time is SOURCE_DATE_EPOCH (the last
# commit's time when it is not set) and the members go in a fixed order.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <win32 build dir> <dist dir>" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ -z "$version" ]; then
  echo "pack.sh: no project version in $build/CMakeCache.txt" >&2
  exit 1
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null)}
if [ -z "$SOURCE_DATE_EPOCH" ]; then
  echo "pack.sh: set SOURCE_DATE_EPOCH (outside a git checkout)" >&2
  exit 1
fi
export TZ=UTC

cmake --build "$build" --target quadrafall -- -j2 >/dev/null

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/shell/win32/quadrafall.exe" "$stage/quadrafall.exe"
cp "$build/shell/win32/icons/application.ico" "$stage/quadrafall.ico"
# Windows line ends for the player's texts.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/README.txt" >"$stage/README.txt"
{ cat "$root/LICENSE"; printf '\n\n'; cat "$here/NOTICES.txt"; } | sed 's/$/\r/' >"$stage/LICENSE.txt"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

name="quadrafall-$version-windows-x64"
rm -f "$dist/$name.zip" "$dist/$name-setup.exe"
(cd "$stage" && zip -q -X -D "$dist/$name.zip" quadrafall.exe README.txt LICENSE.txt)

makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$name-setup.exe" "$here/quadrafall.nsi" >/dev/null
echo "$dist/$name.zip"
echo "$dist/$name-setup.exe"
