#!/usr/bin/env bash
# Builds the shipped 32-bit DLL and host tool in a fresh build directory and packs them with the
# tour script, README, the Markdown files of docs/ and the pictures they show, licence, changelog
# and SHA256SUMS into dist/ZarnelPlugin_Enhanced-VERSION-win32.zip; every build of one commit gives
# the same bytes.
# Prints the archive's SHA-256.
#   release.sh [--build DIR (build/release)] [--dist DIR (dist)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/release
dist=$root/dist
while [ $# -gt 0 ]; do
  case "$1:${2:-}" in
    --build:?*) build=$(realpath -m "$2"); shift 2 ;;
    --dist:?*) dist=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: release.sh [--build DIR] [--dist DIR]" >&2; exit 2 ;;
  esac
done
# The build directory is deleted first: never one that holds something other than a build.
if [ -n "$(ls -A "$build" 2>/dev/null)" ] && [ ! -f "$build/CMakeCache.txt" ]; then
  echo "release: $build is not empty and not a build directory; choose another --build" >&2
  exit 2
fi
cd "$root"

bash scripts/setup.sh
# File times in the archive are the commit's, so a later rebuild of it gives the same archive.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "release: not a git checkout; set SOURCE_DATE_EPOCH" >&2; exit 1; }
  [ -z "$(git status --porcelain 2>/dev/null)" ] ||
    echo "release: warning: uncommitted changes go into an archive dated as the last commit" >&2
fi
export SOURCE_DATE_EPOCH

# A fresh directory: nothing stale from an earlier build can get into the archive.
rm -rf "$build"
cmake -S . -B "$build" --toolchain cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF --log-level=WARNING
cmake --build "$build" -j2 --target ZarnelPlugin_Enhanced plugin_host
version=$(cat "$build/version.txt")
bash tests/tools/pe_check.sh "$build/bin/ZarnelPlugin_Enhanced.dll" "$version"

# The Markdown files, then the pictures they show, in the order first shown, each at its path
# from the top of the tree; a file that shows none is no error.
mapfile -t documents < <(echo README.md; LC_ALL=C ls docs/*.md)
mapfile -t pictures < <(for doc in "${documents[@]}"; do
  grep -o '!\[[^]]*\]([^)]*)' "$doc" | sed 's/.*](\(.*\))$/\1/' | grep -v '://' |
    while read -r link; do realpath -m --relative-to=. "$(dirname "$doc")/$link"; done || true
done | awk '!seen[$0]++')
files=(ZarnelPlugin_Enhanced.dll plugin_host.exe demo.zs README.md LICENSE CHANGELOG.md)
files+=("${documents[@]:1}" "${pictures[@]}")
stage=$build/stage
mkdir -p "$stage"
cp "$build/bin/ZarnelPlugin_Enhanced.dll" "$build/bin/plugin_host.exe" examples/demo.zs "$stage/"
for file in "${files[@]:3}"; do
  mkdir -p "$stage/$(dirname "$file")"
  cp "$file" "$stage/$file"
done
(cd "$stage" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)
# zip records each file's mode and its time in local time: fix both, and read the time as UTC.
(cd "$stage" && chmod 644 "${files[@]}" && touch -d "@$SOURCE_DATE_EPOCH" "${files[@]}")
mkdir -p "$dist"
archive=$dist/ZarnelPlugin_Enhanced-$version-win32.zip
rm -f "$archive"
# -X leaves out owner ids and extra time fields, -D folder entries; the list fixes the order.
(cd "$stage" && TZ=UTC zip -q -X -D -9 "$archive" "${files[@]}")

echo "release: $archive, $(stat -c %s "$archive") bytes"
echo "SHA-256: $(sha256sum "$archive" | cut -d' ' -f1)"
