#!/usr/bin/env bash
# Checks the shipped 32-bit plug-in as the host's loader will see it: an i386 image, exactly the
# seven entry points under their plain names, importing only kernel32, user32, gdi32 and the C
# runtime, small, and a version resource naming the given version and the file.
#   pe_check.sh PATH/TO/ZarnelPlugin_Enhanced.dll VERSION
set -u
dll=${1:?usage: pe_check.sh DLL VERSION}
version=${2:?usage: pe_check.sh DLL VERSION}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
windres=${WINDRES:-i686-w64-mingw32-windres}
max_bytes=$((200 * 1024))
failures=0
fail() { echo "pe_check: FAIL: $*"; failures=$((failures + 1)); }

if [ ! -f "$dll" ]; then
  echo "pe_check: FAIL: $dll does not exist; build the 32-bit plug-in first:"
  echo "  cmake --preset i686 && cmake --build --preset i686"
  exit 1
fi
if ! command -v "$objdump" >/dev/null; then
  echo "pe_check: FAIL: $objdump not found (install binutils-mingw-w64-i686)"
  exit 1
fi
# The COFF machine field, read from the file itself: the i686 objdump cannot open other images.
read_u16() { od -An -tu2 -j "$1" -N2 "$dll" 2>/dev/null | tr -d ' '; }
read_u32() { od -An -tu4 -j "$1" -N4 "$dll" 2>/dev/null | tr -d ' '; }
pe_offset=$(read_u32 60)
machine=$(read_u16 $((pe_offset + 4)))
if [ "$(read_u16 0)" != 23117 ] || [ "$machine" != 332 ]; then
  echo "pe_check: FAIL: $dll is not an i386 image (machine $(printf '0x%x' "${machine:-0}"))"
  exit 1
fi
dump=$("$objdump" -p "$dll" 2>&1) || { echo "pe_check: FAIL: $objdump cannot read $dll"; exit 1; }
format=$(sed -n 's/.*file format \(.*\)$/\1/p' <<<"$dump" | head -n1)
[ "$format" = "pei-i386" ] || fail "$dll is not a pei-i386 image (file format '$format')"

# The export name table: lines "[   0] name" after "[Ordinal/Name Pointer] Table".
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[[:space:]]*$/ {on=0}
               on && /\[ *[0-9]+\]/ {print $NF}' <<<"$dump" | sort)
expected=$(printf '%s\n' _nbEditAction _nbExecAction _nbGetPluginInfo _nbInitPlugIn \
  _nbInitialize _nbMessage _nbRegisterPlugIn | sort)
if [ "$exports" != "$expected" ]; then
  fail "exports differ from the seven entry points"
  diff <(echo "$expected") <(echo "$exports") | sed -n 's/^</  missing:/p; s/^>/  unexpected:/p'
fi

allowed=" KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL "
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ -n "$imports" ] || fail "no import table found"
for name in $imports; do
  upper=${name^^}
  [[ "$allowed" == *" $upper "* ]] ||
    fail "imports $name (only kernel32, user32, gdi32 and msvcrt are allowed)"
done

# The resources decompiled to .rc text: the fixed numbers and the strings Properties shows.
resources=$("$windres" --input-format=coff --output-format=rc -i "$dll" 2>&1) ||
  fail "$windres cannot read the resources of $dll: $resources"
resources=$(sed 's/^[[:space:]]*//' <<<"$resources")
numbers="${version//./, }, 0"
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
  "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
  "VALUE \"OriginalFilename\", \"$(basename "$dll")\"" \
  'VALUE "ProductName", "Zarnel Plugin Enhanced"'; do
  grep -qxF -- "$line" <<<"$resources" || fail "the version resource has no line '$line'"
done

bytes=$(stat -c %s "$dll")
[ "$bytes" -lt "$max_bytes" ] || fail "$dll is $bytes bytes, over the $max_bytes byte budget"

if [ $failures -gt 0 ]; then
  echo "pe_check: $failures problem(s) in $dll"
  exit 1
fi
echo "pe_check: PE check passed: $dll ($format, 7 exports, imports: $(echo $imports)," \
  "version $version, $bytes bytes)"
