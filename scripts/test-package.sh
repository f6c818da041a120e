#!/usr/bin/env bash
# Builds the Debian package from a build tree (build/, or the folder given as $1), unpacks it
# into a fresh root and runs the installed program there from the installed files only:
# --version, list, devices, generate on an installed example (compared with its installed
# expected files) and check. The man page and the bash completion must be installed and the
# completion must load in bash.
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE_DIR=$PWD
BUILD_DIR=${1:-build}
[ -f "$BUILD_DIR/CMakeCache.txt" ] || cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)

cmake --build "$BUILD_DIR" -j"${JOBS:-$(nproc)}"
rm -f "$BUILD_DIR"/*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
debs=("$BUILD_DIR"/*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "test-package: expected one package, found: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
package=$(dpkg-deb -f "$deb" Package)
echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
doc=$root/usr/share/doc/$package
work=$root/work
mkdir "$work"

fail() {
    echo "test-package: $*" >&2
    exit 1
}

# The installed files may not name the trees they were built from.
if leaked=$(grep -rlF -e "$SOURCE_DIR" -e "$BUILD_DIR" "$root"); then
    fail "files naming the source or build tree: $leaked"
fi

# A clean environment with no way back to the build: no library path, the fresh root's
# program found by its own relative RPATH, run from outside both trees.
installed() {
    (cd "$work" && env -i HOME="$work" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/ipcore-host" "$@")
}

version=$(installed --version) || fail "--version failed"
echo "$version"
[ "$(head -1 <<<"$version")" = "ipcore-host $(dpkg-deb -f "$deb" Version | cut -d- -f1)" ] ||
    fail "--version does not start with the package's version"
grep -qx 'core jesd204b [0-9.]* (JESD204B)' <<<"$version" || fail "--version names no core"

# The plug-in must come from the unpacked root.
loading=$(installed list --verbose 2>&1 >/dev/null) || fail "list failed: $loading"
grep -qF "loaded $root/usr/lib/ipcore-host/plugins/jesd204b/libjesd204b.so" <<<"$loading" ||
    fail "the plug-in was not loaded from the package: $loading"
grep -qx 'id:         jesd204b' <<<"$(installed list)" || fail "list does not offer jesd204b"
[ "$(installed devices | wc -l)" -gt 0 ] || fail "devices printed nothing"

example=tx_2lane
installed generate "$doc/examples/$example.json" --workdir "$work" >"$work/module_options.txt" ||
    fail "generate failed"
out=$work/jesd_tx/temp/jesd204b
for file in "$doc/examples/expected/$example"/*; do
    name=$(basename "$file")
    made=$out/$name
    [ "$name" = module_options.txt ] && made=$work/module_options.txt
    cmp -s "$file" "$made" || fail "generate: $name differs from the installed expected file"
done
checked=$(installed check "$doc/examples/rx_2lane.json") || fail "check failed: $checked"
grep -q 'the line rate can be made' <<<"$checked" || fail "check did not prove the example: $checked"
# Against a design whose PLL already runs at another rate the same set must be refused.
status=0
checked=$(installed check "$doc/examples/rx_2lane.json" \
    --design "$doc/examples/designs/jesd_rx_q0.json") || status=$?
if [ "$status" -ne 1 ] || ! grep -q 'cannot be made' <<<"$checked"; then
    fail "check with the installed design: exit $status, $checked"
fi

man=$root/usr/share/man/man1/ipcore-host.1.gz
[ -f "$man" ] || fail "no man page"
grep -q '^\.SH COMMANDS' <<<"$(zcat "$man")" || fail "the man page has no COMMANDS section"
completion=$root/usr/share/bash-completion/completions/ipcore-host
[ -f "$completion" ] || fail "no bash completion"
bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
    complete -p ipcore-host' _ "$completion" >/dev/null || fail "the completion does not load"
for file in README.md schemas/parameter-set.schema.json examples/tx_2lane.json; do
    [ -f "$doc/$file" ] || fail "no $doc/$file"
done

echo "package $(basename "$deb") installs and runs from a fresh root"
