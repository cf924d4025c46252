#!/usr/bin/env bash
# Installs the Debian packages that are missing for playing (play), for
# making the release (release) or for building and testing everything
# (test, which makes the release too). Uses sudo only when not root.
set -euo pipefail

play_packages=(g++ cmake make pkg-config libfltk1.3-dev libpng-dev libx11-dev)
release_packages=("${play_packages[@]}"
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 emscripten git dpkg-dev file zip unzip nsis
  lintian appstream desktop-file-utils)
test_packages=("${release_packages[@]}"
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev wine wine64
  xvfb libxtst-dev x11-utils xdotool imagemagick strace openbox
  chromium chromium-driver python3-selenium firefox-esr python3-websocket webkit2gtk-driver)

case "${1:-test}" in
  play) wanted=("${play_packages[@]}") ;;
  release) wanted=("${release_packages[@]}") ;;
  test) wanted=("${test_packages[@]}")
    # npm installs the accessibility test's axe-core; a Node.js that came
    # with its own npm is kept, since Debian's npm would conflict with it.
    command -v npm >/dev/null || wanted+=(nodejs npm) ;;
  *) echo "usage: $0 [play|release|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq "${missing[@]}" </dev/null
