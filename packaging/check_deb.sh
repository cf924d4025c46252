#!/bin/sh
# Builds the .deb from a finished build tree and checks what apt would see:
# the control data with its dependencies, the file list, and the files as
# they unpack into a scratch root.
# usage: check_deb.sh <build-dir> <cpack> <app-id>
set -eu
build=$1
cpack=$2
app_id=$3
scratch=$(mktemp -d /tmp/quadrafall-deb-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "check_deb: $*" >&2; exit 1; }

(cd "$build" && "$cpack" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$scratch"/out/quadrafall_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no quadrafall_*.deb was made"

dpkg-deb -I "$deb" >"$scratch/info"
grep -q '^ Package: quadrafall$' "$scratch/info" || fail "package name missing"
grep -q '^ Version: ' "$scratch/info" || fail "version missing"
grep -q '^ Architecture: ' "$scratch/info" || fail "architecture missing"
depends=$(grep '^ Depends: ' "$scratch/info" || true)
[ -n "$depends" ] || fail "no Depends line"
for library in libfltk1.3 libc6 libstdc++6 libx11-6; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

dpkg-deb -c "$deb" >"$scratch/files"
hicolor=usr/share/icons/hicolor
for path in ./usr/games/quadrafall ./usr/games/quadrafall-launcher \
            ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
            ./usr/share/man/man6/quadrafall.6.gz ./usr/share/man/man6/quadrafall-launcher.6.gz \
            ./usr/share/doc/quadrafall/copyright ./usr/share/doc/quadrafall/changelog.gz \
            ./$hicolor/16x16/apps/quadrafall.png ./$hicolor/32x32/apps/quadrafall.png ./$hicolor/48x48/apps/quadrafall.png \
            ./$hicolor/64x64/apps/quadrafall.png ./$hicolor/128x128/apps/quadrafall.png ./$hicolor/256x256/apps/quadrafall.png; do
    grep -q " $path\( -> .*\)\?\$" "$scratch/files" || fail "$path is not in the package"
done

dpkg -x "$deb" "$scratch/root"
[ -x "$scratch/root/usr/games/quadrafall" ] || fail "the program does not unpack as an executable"
file "$scratch/root/$hicolor/48x48/apps/quadrafall.png" 2>/dev/null | grep -q '48 x 48' ||
    head -c 24 "$scratch/root/$hicolor/48x48/apps/quadrafall.png" | od -An -tx1 | tr -d ' \n' |
    grep -q '^89504e470d0a1a0a0000000d4948445200000030' || fail "the 48 px icon is not a 48 x 48 PNG"
# The large icons are the 32-pixel artwork, every pixel a whole square.
for size in 64 128 256; do
    convert "$scratch/root/$hicolor/32x32/apps/quadrafall.png" -scale "${size}x${size}" "$scratch/scaled.png"
    differ=$(compare -metric AE "$scratch/root/$hicolor/${size}x${size}/apps/quadrafall.png" "$scratch/scaled.png" null: 2>&1) ||
        fail "the $size px icon is not the 32 px one scaled by a whole number: $differ pixels differ"
done
entry=$scratch/root/usr/share/applications/$app_id.desktop
grep -q '^Exec=quadrafall-launcher$' "$entry" || fail "desktop entry runs something else"
grep -q '^Icon=quadrafall$' "$entry" || fail "desktop entry names another icon"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop entry is not valid"
fi
# Without a display the unpacked program answers at once, with one line.
if DISPLAY= "$scratch/root/usr/games/quadrafall" 2>"$scratch/stderr"; then fail "ran without a display"; fi
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] || fail "expected one line on stderr without a display"
echo "check_deb: $(basename "$deb") is complete"
