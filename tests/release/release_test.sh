#!/usr/bin/env bash
# Checks the release in <root>/dist as a player gets it: one line a check,
# "PASS name", or "FAIL name" with the reasons under it.
# usage: release_test.sh <root>
set -uo pipefail
exec </dev/null  # Wine misuses a closed standard input, as CI gives
root=$(cd "$1" && pwd)
dist=$root/dist
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/release/native/CMakeCache.txt")
app_id=io.github.quadrafall.quadrafall
deb=quadrafall_${version}_amd64.deb
scratch=$(mktemp -d "$root/build/release-check-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
unpacked=$scratch/deb
dpkg-deb -x "$dist/$deb" "$unpacked"

check() {
    local name=$1; shift
    if "$@" >"$scratch/out" 2>&1; then echo "PASS $name"; else echo "FAIL $name"; sed 's/^/    /' "$scratch/out"; fi
}

five_files() {
    diff <(printf '%s\n' SHA256SUMS "$deb" "quadrafall-$version-"{web.zip,windows-x64-setup.exe,windows-x64.zip} | sort) \
         <(ls -A "$dist" | sort)
}

sums_match() {
    diff <(ls "$dist" | grep -v '^SHA256SUMS$' | sort) <(awk '{print $2}' "$dist/SHA256SUMS" | sort) &&
        (cd "$dist" && sha256sum --check --strict SHA256SUMS)
}

# A clone of the commit in another folder, released a little later.
same_bytes_from_a_clone() {
    [ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
        echo "note: the working tree has changes that are not committed; the clone has only the commit"
    git clone --quiet --shared --no-checkout "$root" "$scratch/clone" &&
        git -C "$scratch/clone" checkout --quiet --detach "$(git -C "$root" rev-parse HEAD)" && sleep 1 &&
        { bash "$scratch/clone/scripts/release.sh" >"$scratch/clone.log" 2>&1 || { tail -n 30 "$scratch/clone.log"; false; }; } &&
        for file in "$dist"/*; do cmp "$file" "$scratch/clone/dist/${file##*/}" || return 1; done
}

# argument|status|standard output's first line|lines on standard error
program_answers() {
    local row argument want bad=0
    for row in "--version|0|Quadrafall $version|0" "--help|0|Usage: quadrafall [--zoom N]|0" "--level|2||1"; do
        argument=${row%%|*} want=${row#*|}
        DISPLAY= "$unpacked/usr/games/quadrafall" "$argument" >"$scratch/stdout" 2>"$scratch/stderr"
        local got="$?|$(head -n 1 "$scratch/stdout")|$(wc -l <"$scratch/stderr")"
        [ "$got" = "$want" ] || { echo "$argument: got $got, wanted $want"; bad=1; }
    done
    return $bad
}

# What a software centre shows of the controls: the keyboard recommended, a
# pointer supported, and no other.
controls_declared() {
    /usr/bin/python3 - "$unpacked/usr/share/metainfo/$app_id.metainfo.xml" <<'EOF'
import sys, xml.etree.ElementTree as tree
found = sorted((kind.tag, c.text) for kind in tree.parse(sys.argv[1]).getroot() for c in kind.iter("control"))
sys.exit(found != [("recommends", "keyboard"), ("supports", "pointing")] and f"controls: {found}")
EOF
}

# XDG_DATA_HOME|the folder the game must start in, made by the launcher
launcher_starts_in_the_data_folder() {
    local row data folder bad=0
    for row in "$scratch/data|$scratch/data/quadrafall" "|$scratch/home/.local/share/quadrafall" \
               "relative|$scratch/home/.local/share/quadrafall"; do
        data=${row%%|*} folder=${row#*|}
        rm -rf "$scratch/data" "$scratch/home" && mkdir "$scratch/home"
        HOME=$scratch/home XDG_DATA_HOME=$data strace -f -qq -e trace=chdir -o "$scratch/trace" \
            "$unpacked/usr/games/quadrafall-launcher" --version >"$scratch/stdout" &&
            grep -q "chdir(\"$folder\") = 0" "$scratch/trace" && [ "$(cat "$scratch/stdout")" = "Quadrafall $version" ] ||
            { echo "XDG_DATA_HOME=$data: the game did not start in $folder"; cat "$scratch/trace"; bad=1; }
    done
    return $bad
}

check "release: the five files" five_files
check "release: SHA256SUMS matches the files" sums_match
check "deb: lintian finds no error or warning" env TMPDIR="$scratch" lintian --fail-on error,warning "$dist/$deb"
check "deb: the desktop entry is valid" desktop-file-validate "$unpacked/usr/share/applications/$app_id.desktop"
check "deb: the AppStream metadata is valid, pedantically" \
    appstreamcli validate --pedantic --no-net "$unpacked/usr/share/metainfo/$app_id.metainfo.xml"
check "deb: the AppStream metadata names the keyboard and the pointer" controls_declared
check "deb: the program answers --version, --help and a bad argument" program_answers
check "deb: the menu's launcher starts the game in the data folder" launcher_starts_in_the_data_folder
if [ -f "$here/windows_release_test.sh" ]; then
    check "windows: the zip and the installer under Wine" bash "$here/windows_release_test.sh" "$dist"
fi
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$here/web_release_test.py" "$dist/quadrafall-$version-web.zip" "$version" ||
    echo "FAIL web: the browser tests could not run"
check "release: a clone in another folder gives the same bytes" same_bytes_from_a_clone
