#!/usr/bin/env bash
# Runs scripts/release.sh twice: once in the tree, once in a copy of it at another path with
# another build directory, umask and time zone. The DLL, the host tool and the archive must be
# byte-identical, and the archive must hold the release files, in order, with matching checksums;
# every relative link and picture of its Markdown files must lead to a file in it.
#   release_test.sh SOURCE_DIR WORK_DIR VERSION
set -u
src=$1 work=$2 version=$3
name=ZarnelPlugin_Enhanced-$version-win32.zip
failed=0
fail() { echo "FAIL $*"; failed=1; }

rm -rf "$work"
mkdir -p "$work/a" "$work/copy/of/the/tree"
# Both runs date the archive from the same commit; the copy has no repository to ask.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null)}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600}
tar -C "$src" --exclude=./build --exclude=./dist --exclude=./.git -cf - . |
  tar -C "$work/copy/of/the/tree" -xf - || exit 1

a=$work/a
b=$work/copy/of/the/tree/out
bash "$src/scripts/release.sh" --build "$a/build" --dist "$a/dist" >"$work/a.log" 2>&1 ||
  { cat "$work/a.log"; exit 1; }
(umask 077 && cd "$work/copy/of/the/tree" &&
  TZ=JST-9 bash scripts/release.sh --build out/build --dist out/dist) >"$work/b.log" 2>&1 ||
  { cat "$work/b.log"; exit 1; }

for file in build/bin/ZarnelPlugin_Enhanced.dll build/bin/plugin_host.exe "dist/$name"; do
  cmp -s "$a/$file" "$b/$file" || fail "$file differs between the two builds"
done
sha=$(sha256sum "$a/dist/$name" | cut -d' ' -f1)
grep -qxF "SHA-256: $sha" "$work/a.log" || fail "release.sh did not print the archive's SHA-256"

listing=$(unzip -Z1 "$a/dist/$name" | tr '\n' ' ')
mkdir -p "$work/unpacked" && unzip -q "$a/dist/$name" -d "$work/unpacked" || fail "unzip failed"
# Every relative link of the shipped Markdown, pictures included, names a file in the archive; the
# pictures, in the order first shown, follow the Markdown files in it.
documents=$(cd "$src" && echo README.md && LC_ALL=C ls docs/*.md)
pictures=
for doc in $documents; do
  images=$(grep -o '!\[[^]]*\]([^)]*)' "$work/unpacked/$doc")
  for link in $(grep -o '\]([^)#]*' "$work/unpacked/$doc" | cut -c3- | grep -v '://'); do
    target=$(realpath -m --relative-to="$work/unpacked" "$work/unpacked/$(dirname "$doc")/$link")
    [[ $target != ../* ]] && [ -e "$work/unpacked/$target" ] ||
      fail "$doc links to $link, which the archive lacks"
    [[ $images == *"]($link)"* && " $pictures " != *" $target "* ]] && pictures+="$target "
  done
done
[ -n "$pictures" ] || fail "the Markdown files show no pictures: the checks would prove nothing"
expected="ZarnelPlugin_Enhanced.dll plugin_host.exe demo.zs README.md LICENSE CHANGELOG.md"
expected+=" $(echo $documents | cut -d' ' -f2-) ${pictures}SHA256SUMS "
[ "$listing" = "$expected" ] || fail "the archive holds '$listing', wanted '$expected'"
(cd "$work/unpacked" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
summed=$(cut -d' ' -f3 "$work/unpacked/SHA256SUMS" | tr '\n' ' ')
[ "${summed}SHA256SUMS " = "$listing" ] || fail "SHA256SUMS lists '$summed'"

[ "$failed" -eq 0 ] && echo "PASS $name is reproducible, SHA-256 $sha"
exit "$failed"
