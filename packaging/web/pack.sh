#!/usr/bin/env bash
# Makes quadrafall-<version>-web.zip: one folder with the page, its script,
# the web app's manifest and service worker, the icons and the licences, as
# any static web host can serve it and a browser can open it from the disk.
# Every member has the time of SOURCE_DATE_EPOCH and its place in a fixed
# order, so one commit always gives the same bytes.
# usage: pack.sh <web-build-dir> <output-dir>
set -euo pipefail
web=$1
out=$(cd "$2" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${SOURCE_DATE_EPOCH:?must be set, to the time of the last commit}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$web/CMakeCache.txt")
name=quadrafall-$version-web
stage=$(mktemp -d "${TMPDIR:-/tmp}/quadrafall-web-XXXXXX")
trap 'rm -rf "$stage"' EXIT

folder=$stage/$name
mkdir "$folder"
for file in index.html quadrafall.js manifest.webmanifest service_worker.js icon-192.png icon-512.png; do
    cp "$web/page/$file" "$folder/"
done
cat "$root/LICENSE" "$root/packaging/web/runtime_licences.txt" >"$folder/LICENSE.txt"

chmod 755 "$folder"
chmod 644 "$folder"/*
touch -h -d "@$SOURCE_DATE_EPOCH" "$folder" "$folder"/*
rm -f "$out/$name.zip"
# zip keeps local times: in UTC they are the same everywhere. -X leaves out
# the owner and the extra time fields.
(cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -9 -q -@ "$out/$name.zip")
