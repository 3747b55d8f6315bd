#!/usr/bin/env bash
# Installs Bremo into a scratch prefix with `cmake --install` and checks the tree: exactly
# the files the program needs, bin/bremo a relative link to the binary with the skin beside
# it and its modules below it, every icon size, a desktop entry (with its actions)
# and AppStream metadata that the validators accept, and a manual page that man reads without
# a warning. Then it starts skin_probe through a link of the same shape and expects the skin
# applied, and opens the installed window through bin/ with a second start handed over to it.
# Usage: check-install.sh CMAKE BUILD_DIR SOURCE_DIR BINDIR LIBDIR DATADIR VERSION SKIN_PROBE
set -euo pipefail
cmake=$1 build=$2 source=$3 bindir=$4 libdir=$5 datadir=$6 version=$7 probe=$8

fail() { echo "check-install: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
    cat "$scratch/install.log"; fail "cmake --install failed"; }

program_dir=$libdir/bremo
icons=()
for size in 16 24 32 48; do
    icons+=("$datadir/icons/hicolor/${size}x${size}/apps/bremo.png")
done
expected=$(printf '%s\n' "$bindir/bremo" "$program_dir/bremo" "$program_dir/window/bremo-window.so" \
    "$program_dir/player/bremo-player.so" "$program_dir/ocr/bremo-ocr.so" \
    "$program_dir/net/bremo-net.so" "$program_dir/session/bremo-session.so" \
    "$program_dir/settings/bremo-keyring.so" \
    "$program_dir/skinh.she" \
    "$datadir/applications/bremo.desktop" "$datadir/metainfo/io.github.bremo.Bremo.metainfo.xml" \
    "$datadir/man/man1/bremo.1.gz" "$datadir/doc/bremo/changelog.gz" "$datadir/doc/bremo/copyright" \
    "${icons[@]}" | sort)
actual=$(cd "$prefix" && find . -mindepth 1 ! -type d -printf '%P\n' | sort)
[[ "$actual" == "$expected" ]] ||
    fail "installed files differ from the expected ones:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

# The link: relative, so the tree can be staged or moved, and it must still resolve after a move.
link=$(readlink "$prefix/$bindir/bremo") || fail "$bindir/bremo is not a symbolic link"
[[ "$link" != /* ]] || fail "$bindir/bremo points to an absolute path: $link"
mv "$prefix" "$scratch/moved"
prefix=$scratch/moved
[[ "$(readlink -f "$prefix/$bindir/bremo")" == "$prefix/$program_dir/bremo" ]] ||
    fail "$bindir/bremo does not lead to $program_dir/bremo once the tree is moved"
[[ -f "$prefix/$program_dir/bremo" && -x "$prefix/$program_dir/bremo" ]] ||
    fail "$program_dir/bremo is not an executable file"
cmp -s "$prefix/$program_dir/skinh.she" "$source/assets/skinh.she" ||
    fail "$program_dir/skinh.she is not the skin of assets/"

for size in 16 24 32 48; do
    icon=$prefix/$datadir/icons/hicolor/${size}x${size}/apps/bremo.png
    [[ "$(file -b "$icon")" == "PNG image data, $size x $size,"* ]] ||
        fail "the ${size}x${size} icon is $(file -b "$icon")"
done

desktop=$prefix/$datadir/applications/bremo.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects bremo.desktop"
grep -qx 'Exec=bremo' "$desktop" || fail "the desktop entry does not start bremo"
grep -qx 'Icon=bremo' "$desktop" || fail "the desktop entry does not name the icon bremo"
for source in selection clipboard settings; do
    grep -qx "Exec=bremo --$source" "$desktop" || fail "the desktop entry lacks bremo --$source"
done
man --warnings -l "$prefix/$datadir/man/man1/bremo.1.gz" >/dev/null 2>"$scratch/man.log" &&
    [[ ! -s "$scratch/man.log" ]] || fail "the manual page has faults: $(cat "$scratch/man.log")"

metainfo=$prefix/$datadir/metainfo/io.github.bremo.Bremo.metainfo.xml
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"
# The tree as a whole: the metainfo's launchable names a desktop entry that is there.
appstreamcli validate-tree --no-net --explain "$prefix" || fail "appstreamcli rejects the tree"
! grep -q '@[A-Z_]*@' "$metainfo" || fail "the metainfo has unfilled placeholders"

# The program folder that start-up computes, reached through a link like bin/bremo.
cp "$probe" "$prefix/$program_dir/skin_probe"
ln -s "$(dirname "$link")/skin_probe" "$prefix/$bindir/skin_probe"
folder=$(cd / && "$prefix/$bindir/skin_probe") ||
    fail "started through $bindir/, the program did not apply the skin (program folder: $folder)"
[[ "$folder" == "$prefix/$program_dir" ]] ||
    fail "the program folder is $folder, not $prefix/$program_dir"
# The window module, found from bin/ as installed: a first bremo opens the window and claims
# the session bus, a second one hands its text over to it and ends.
dbus-run-session -- bash -c '
    "$1" >/dev/null 2>&1 & first=$!
    trap "kill $first" EXIT
    gdbus wait --session --timeout 20 io.github.bremo.Bremo || exit 3
    "$1" hello' _ "$prefix/$bindir/bremo" 2>"$scratch/session.log" ||
    fail "installed, bremo does not open its window or take a second start: $(cat "$scratch/session.log")"
echo "check-install: the installed tree is complete and valid"
