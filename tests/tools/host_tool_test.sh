#!/usr/bin/env bash
# Runs plugin_host.exe under Wine against a predictable plug-in and the real one, and checks what
# it prints, its one-line errors and its exit codes; then runs the tour and the README's recipes.
#   host_tool_test.sh RUN_WINE BIN_DIR SOURCE_DIR WORK_DIR
set -u
run_wine=$1 bin=$2 src=$3 work=$4
host="$bin/plugin_host.exe"
fake="$bin/fake_plugin.dll"
mkdir -p "$work" && cd "$work" || exit 1
passed=0 failed=0

# run NAME PLUGIN SCRIPT: leaves stdout in NAME.out, stderr in NAME.err, the exit code in $rc.
run() {
  "$run_wine" "$host" --hidden "$2" "$3" >"$1.out.raw" 2>"$1.err.raw"
  rc=$?
  tr -d '\r' <"$1.out.raw" >"$1.out"
  grep -v '^X connection to' "$1.err.raw" | tr -d '\r' >"$1.err"
}
ok() { echo "PASS $1"; passed=$((passed + 1)); }
bad() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
has_line() { grep -qxF -- "$2" "$1.out" || { bad "$1" "no line '$2' in output"; return 1; }; }

# expect_error NAME PLUGIN SCRIPT CODE LINE: exactly one stderr line, the given exit code.
expect_error() {
  run "$1" "$2" "$3"
  if [ "$rc" -ne "$4" ]; then bad "$1" "exit code $rc, wanted $4"; sed 's/^/  /' "$1.err"; return; fi
  if [ "$(wc -l <"$1.err")" -ne 1 ]; then bad "$1" "stderr is not one line:"; sed 's/^/  /' "$1.err"; return; fi
  if [ "$(cat "$1.err")" != "$5" ]; then bad "$1" "stderr '$(cat "$1.err")', wanted '$5'"; return; fi
  ok "$1"
}

cat >good.txt <<'S'
# every kind of line against the predictable plug-in

fake_Echo "two words" "" -   # a text with a blank, an empty text, a null slot
expect [Fake.Slot0] "two words"
expect [Fake.Slot1] ""
expect [Fake.Slot2] "<null slot>"
expect result 2
1 only
expect [Fake.Slot2] "<null slot>"
fake_Echo {host} {result} {[Fake.Slot0]}
fake_NullWrite
message 5
expect result 105
wait 50
edit fake_Echo abc - "=keep"
expect result 1
dismiss 300 ok
fake_Ask
expect result 1
dismiss 300 cancel
fake_Ask
expect result 2
dismiss 200 ok
edit 2 old
expect result 1
dismiss 300 ok
edit 3 7
expect result 1
dismiss 300 cancel
edit 3 9
expect result 0
msgbox 200 Hello there
S
run good "$fake" good.txt
if [ "$rc" -ne 0 ] || [ -s good.err ]; then
  bad good "exit code $rc, stderr:"; sed 's/^/  /' good.err
else
  hostwin=$(sed -n 's/^host window: //p' good.out)
  has_line good 'display name: "Fake Plugin"' &&
    has_line good 'second description: <null>' &&
    has_line good 'action 1 "fake_Echo" "Writes each parameter slot back" 0 -1 3' &&
    has_line good 'good.txt:3: fake_Echo "two words" "" -   # a text with a blank, an empty text, a null slot' &&
    has_line good '  [Fake.Slot0] = "only"' &&
    has_line good "  params: [0] \"$hostwin\" [1] \"1\" [2] \"only\"" &&
    has_line good "  [Fake.Slot0] = \"$hostwin\"" &&
    has_line good '  <null> = <null>' &&
    has_line good '  result: 7' &&
    has_line good '  before: [0] "abc" [1] - [2] "=keep"' &&
    has_line good '  after: [0] "ABC" (new) [1] "filled" (new) [2] "=keep"' &&
    has_line good '  before: [0] "old"' &&
    has_line good '  after: [0] "confirmed" (new)' &&
    has_line good '  dismissed: yes' &&
    [ "$(grep -c '^  dismissed: yes$' good.out)" -eq 5 ] &&
    has_line good '  after: [0] "7" (new)' &&
    has_line good '  after: [0] "9"' &&
    has_line good '  message box closed: 1' &&
    ok good
fi

printf 'fake_Echo a\nexpect result 5\n' >expect.txt
expect_error failed_expectation "$fake" expect.txt 3 'expect.txt:2: expected result 5, got 1'
printf 'fake_Echo a\nexpect [Fake.Slot0] b\n' >expectvar.txt
expect_error failed_variable_expectation "$fake" expectvar.txt 3 \
  'expectvar.txt:2: expected [Fake.Slot0] = "b", got "a"'

# Nothing runs when a later line is bad: the whole script is read first.
printf 'fake_Echo ran\n\nfake_Foo 1\n' >unknown.txt
expect_error unknown_action "$fake" unknown.txt 1 'unknown.txt:3: unknown action "fake_Foo"'
grep -q 'ran' unknown_action.out && bad unknown_action_ran_nothing "line 1 ran before the error"
printf 'fake_Echo "open\n' >quote.txt
expect_error unterminated_quote "$fake" quote.txt 1 'quote.txt:1: unterminated quoted text'
printf '# fine\nwait soon\n' >wait.txt
expect_error bad_wait "$fake" wait.txt 1 'wait.txt:2: expected wait MILLISECONDS (0-3600000)'
printf 'fake_Echo {bogus}\n' >subst.txt
expect_error unknown_substitution "$fake" subst.txt 1 'subst.txt:1: unknown substitution {bogus}'
printf 'fake_Echo {window}\n' >nowindow.txt
expect_error window_before_window_line "$fake" nowindow.txt 1 \
  'nowindow.txt:1: {window} used before any window line'
expect_error unreadable_script "$fake" missing.txt 1 'missing.txt: cannot read the script'
expect_error missing_plugin nothere.dll good.txt 1 'nothere.dll: cannot load the plug-in (error 126)'
expect_error missing_export "$bin/fake_plugin_partial.dll" good.txt 1 \
  "$bin/fake_plugin_partial.dll: missing export _nbMessage"

# The tour script against the real plug-in: its own expect lines must hold, and automatic
# styling must colour the message box, with the caption buttons' glyphs to match.
run demo "$bin/ZarnelPlugin_Enhanced.dll" "$src/examples/demo.zs"
if [ "$rc" -ne 0 ] || [ -s demo.err ]; then
  bad demo "exit code $rc, stderr:"; sed 's/^/  /' demo.err
else
  [ "$(grep -c '^action ' demo.out)" -eq 12 ] || bad demo "the catalogue does not list twelve actions"
  has_line demo '  dwm: message box attribute 35 (caption colour) = 0x00202020' &&
    has_line demo '  dwm: message box attribute 36 (text colour) = 0x00FFFFFF' &&
    has_line demo '  dwm: message box attribute 20 (dark mode) = 0x00000001' && ok demo
fi

# Each recipe of the README as written: it runs through, and every status it leaves is an OK.
rm -f recipe*.zs
awk '/^```zs$/ {n++; on=1; next} /^```$/ {on=0} on {print > ("recipe" n ".zs")}' "$src/README.md"
for recipe in recipe*.zs; do
  [ -f "$recipe" ] || { bad recipes "no zs recipe in README.md"; break; }
  run "${recipe%.zs}" "$bin/ZarnelPlugin_Enhanced.dll" "$recipe"
  refused=$(grep '^  \[Zarnel.LastError\] = ' "${recipe%.zs}.out" | grep -v '= "OK')
  if [ "$rc" -ne 0 ] || [ -s "${recipe%.zs}.err" ] || [ -n "$refused" ]; then
    bad "$recipe" "exit code $rc: $(cat "${recipe%.zs}.err") $refused"
  else
    ok "$recipe"
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
