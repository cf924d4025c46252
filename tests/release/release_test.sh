#!/usr/bin/env bash
# Checks the release that scripts/release.sh made in <root>/dist as a player
# gets it. Prints one line for each check, "PASS name" or "FAIL name" with
# the reasons below it.
# usage: release_test.sh <root>
set -uo pipefail
root=$(cd "$1" && pwd)
dist=$root/dist
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/release/native/CMakeCache.txt")
app_id=io.github.quadrafall.quadrafall
deb=quadrafall_${version}_amd64.deb
scratch=$(mktemp -d "$root/build/release-check-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

check() {
    local name=$1; shift
    if "$@" >"$scratch/out" 2>&1; then
        echo "PASS $name"
    else
        echo "FAIL $name"
        sed 's/^/    /' "$scratch/out"
    fi
}

five_files() {
    local wanted
    wanted=$(printf '%s\n' SHA256SUMS "$deb" "quadrafall-$version-web.zip" "quadrafall-$version-windows-x64-setup.exe" \
             "quadrafall-$version-windows-x64.zip" | LC_ALL=C sort)
    diff <(echo "$wanted") <(cd "$dist" && ls -A | LC_ALL=C sort)
}

sums_match() {
    diff <(grep -v SHA256SUMS <(cd "$dist" && ls -A) | LC_ALL=C sort) <(awk '{print $2}' "$dist/SHA256SUMS" | LC_ALL=C sort) &&
        (cd "$dist" && sha256sum --check --strict SHA256SUMS)
}

# A clone of this commit in another folder, released at another time, gives
# the same bytes.
same_bytes_from_a_clone() {
    local copy=$scratch/clone
    if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
        echo "note: the working tree has changes that are not committed; the clone has only the commit"
    fi
    git clone --quiet --shared --no-checkout "$root" "$copy" &&
        git -C "$copy" checkout --quiet --detach "$(git -C "$root" rev-parse HEAD)" || return 1
    sleep 1
    bash "$copy/scripts/release.sh" >"$scratch/clone.log" 2>&1 || { tail -n 30 "$scratch/clone.log"; return 1; }
    local file differ=0
    for file in "$dist"/*; do
        cmp "$file" "$copy/dist/$(basename "$file")" || differ=1
    done
    return $differ
}

unpack_deb() {
    [ -d "$scratch/deb" ] || dpkg-deb -x "$dist/$deb" "$scratch/deb"
}

lintian_is_silent() {
    lintian --fail-on error,warning "$dist/$deb" 2>&1 | grep -v '^running with root privileges' | tee "$scratch/lintian"
    [ "${PIPESTATUS[0]}" -eq 0 ] && ! grep -q '^[EW]:' "$scratch/lintian"
}

desktop_entry_is_valid() {
    unpack_deb && desktop-file-validate "$scratch/deb/usr/share/applications/$app_id.desktop"
}

appstream_is_valid() {
    unpack_deb && appstreamcli validate --no-net "$scratch/deb/usr/share/metainfo/$app_id.metainfo.xml" &&
        grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
            "$scratch/deb/usr/share/metainfo/$app_id.metainfo.xml"
}

# argument, status, standard output's first line, lines on standard error
program_answers() {
    unpack_deb || return 1
    local cases=(
        "--version|0|Quadrafall $version|0"
        "--help|0|Usage: quadrafall [--zoom N]|0"
        "--level|2||1"
    )
    local row argument status first errors bad=0
    for row in "${cases[@]}"; do
        IFS='|' read -r argument status first errors <<<"$row"
        DISPLAY= "$scratch/deb/usr/games/quadrafall" "$argument" >"$scratch/stdout" 2>"$scratch/stderr"
        local got="$?|$(head -n 1 "$scratch/stdout")|$(wc -l <"$scratch/stderr")"
        [ "$got" = "$status|$first|$errors" ] || { echo "$argument: got $got, wanted $status|$first|$errors"; bad=1; }
    done
    return $bad
}

# XDG_DATA_HOME, the folder the game must start in
launcher_starts_in_the_data_folder() {
    unpack_deb || return 1
    local cases=(
        "$scratch/data|$scratch/data/quadrafall"
        "|$scratch/home/.local/share/quadrafall"
        "relative/data|$scratch/home/.local/share/quadrafall"
    )
    local row data folder bad=0
    for row in "${cases[@]}"; do
        IFS='|' read -r data folder <<<"$row"
        rm -rf "$scratch/data" "$scratch/home" && mkdir "$scratch/home"
        (cd "$scratch" && HOME=$scratch/home XDG_DATA_HOME=$data strace -f -qq -e trace=chdir -o "$scratch/trace" \
            "$scratch/deb/usr/games/quadrafall-launcher" --version >"$scratch/stdout") &&
            grep -q "^[0-9]* *chdir(\"$folder\") = 0" "$scratch/trace" && [ -d "$folder" ] &&
            [ "$(cat "$scratch/stdout")" = "Quadrafall $version" ] ||
            { echo "XDG_DATA_HOME=$data: wanted the game in $folder"; cat "$scratch/trace"; bad=1; }
    done
    return $bad
}

check "release: the five files" five_files
check "release: SHA256SUMS matches the files" sums_match
check "deb: lintian finds no error or warning" lintian_is_silent
check "deb: the desktop entry is valid" desktop_entry_is_valid
check "deb: the AppStream metadata is valid" appstream_is_valid
check "deb: the program answers --version, --help and a bad argument" program_answers
check "deb: the menu's launcher starts the game in the data folder" launcher_starts_in_the_data_folder
if [ -f "$here/windows_release_test.sh" ]; then
    check "windows: the zip and the installer under Wine" bash "$here/windows_release_test.sh" "$dist"
fi
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$here/web_release_test.py" "$dist/quadrafall-$version-web.zip" "$version" ||
    echo "FAIL web: the browser tests could not run"
check "release: a clone in another folder gives the same bytes" same_bytes_from_a_clone
