#!/usr/bin/env bash
# The README's table of status messages against the code: every text src/ puts in
# [Zarnel.LastError] has its row, and every row is a text the code still has.
#   status_messages_test.sh SOURCE_DIR
set -u
src=$1
# A literal (adjacent ones joined), a named constant, or the wsprintfW format last written into the
# buffer handed over; %d and %lu read as N, %s as NAME, as the table writes them.
code=$(cat "$src"/src/*/*.cpp | perl -0777 -ne '
  s/"\s*L"//g;
  while (/ReportLastError\((?:L"([^"]*)"|(\w+))\)/g) {
    my ($text, $name) = ($1, $2);
    ($text) = substr($_, 0, $-[0]) =~ /.*(?:wsprintfW\($name, |\b$name\[\] = )L"([^"]*)"/s
      unless defined $text;
    print(($text // "<no text found for $name>") . "\n");
  }' | sed 's/%l\?[du]/N/g; s/%s/NAME/g' | sort -u)
table=$(sed -n '/^## Status messages/,/^## /s/^| `\([^`]*\)` |.*/\1/p' "$src/README.md" | sort -u)
[ -n "$code" ] && [ -n "$table" ] || { echo "FAIL: no messages found in src/ or README.md"; exit 1; }
diff <(echo "$code") <(echo "$table") | sed -n 's/^< /FAIL: not in the README table: /p
  s/^> /FAIL: in the README table, not in src\/: /p' | grep . && exit 1
echo "PASS $(echo "$code" | wc -l) status messages, each in the README table"
