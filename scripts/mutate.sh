#!/usr/bin/env bash
# Mutation check: scripts/mutate.sh [count (30)] [seed (1)]. Makes operator mutants of src/
# (== !=, < <=, > >=, && ||, return true/false, a call statement removed), draws a seeded sample,
# and runs each against the 64-bit suite: quick tests first, the long ones only for survivors.
# Works in a temporary clone of this checkout's HEAD plus its uncommitted changes (edits to
# tracked files and new files not ignored), so a new test can be measured before it is committed.
#   ZARNEL_MUTATE_ONLY  a regex on "file:line": run only the sampled mutants that match
#   ZARNEL_MUTATE_NICE  niceness of the whole run (default 10: the cores are shared)
#   ZARNEL_MUTATE_KEEP  1: keep the clone (the killing tests' output goes to build/mutate/)
set -euo pipefail
if [ -z "${ZARNEL_MUTATE_NICED:-}" ]; then
  export ZARNEL_MUTATE_NICED=1
  exec nice -n "${ZARNEL_MUTATE_NICE:-10}" bash "$0" "$@"
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
cd "$(dirname "$0")/.."
count=${1:-30}
seed=${2:-1}
start=$(date +%s)

work=$(mktemp -d "${TMPDIR:-/tmp}/zarnel-mutate.XXXXXX")
[ "${ZARNEL_MUTATE_KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
git clone -q --no-hardlinks . "$work/tree"
git diff HEAD --binary | git -C "$work/tree" apply --allow-empty
git ls-files -z --others --exclude-standard | xargs -0r cp --parents -t "$work/tree"
logs=$PWD/build/mutate
rm -rf "$logs" && mkdir -p "$logs"
cd "$work/tree"
echo "mutate: clone in $work/tree, seed $seed, count $count" >&2

# Lists every mutant of src/ (path, offset, old text, new text, line, description), then prints
# the seeded sample; "apply" writes one mutant into its file.
mutants() {
  python3 - "$@" <<'PY'
import os, random, re, sys

def blank(text):
    """The text with comments, literals and preprocessor lines turned into spaces."""
    out, i, n = list(text), 0, len(text)
    def wipe(a, b):
        for k in range(a, b):
            out[k] = out[k] if out[k] == '\n' else ' '
    while i < n:
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            wipe(i, j)
        elif text.startswith('/*', i):
            j = text.find('*/', i)
            j = n if j < 0 else j + 2
            wipe(i, j)
        elif text[i] in '"\'':
            j = i + 1
            while j < n and text[j] != text[i]:
                j += 2 if text[j] == '\\' else 1
            wipe(i + 1, j)
            j += 1
        else:
            j = i + 1
        i = j
    lines = ''.join(out).split('\n')
    directive = False
    for k, line in enumerate(lines):
        if directive or line.lstrip().startswith('#'):
            directive = line.rstrip().endswith('\\')
            lines[k] = ' ' * len(line)
    return '\n'.join(lines)

SWAP = {'==': '!=', '!=': '==', '<': '<=', '<=': '<', '>': '>=', '>=': '>', '&&': '||', '||': '&&'}
KEYWORDS = {'if', 'for', 'while', 'switch', 'return', 'else', 'do', 'case', 'sizeof', 'delete'}

def find(path, text):
    code = blank(text)
    found = []
    # Binary operators stand between blanks in this code; templates, shifts and -> never do.
    for m in re.finditer(r'(?<=\s)(==|!=|<=|>=|<|>|&&|\|\|)(?=\s)', code):
        found.append((m.start(), m.group(1), SWAP[m.group(1)], '%s -> %s' % (m.group(1), SWAP[m.group(1)])))
    for m in re.finditer(r'\breturn (true|false|TRUE|FALSE)\b', code):
        flip = {'true': 'false', 'false': 'true', 'TRUE': 'FALSE', 'FALSE': 'TRUE'}[m.group(1)]
        found.append((m.start(1), m.group(1), flip, 'return %s -> return %s' % (m.group(1), flip)))
    # Call statements: a call at parenthesis depth 0 that starts a statement and ends with ';'.
    match, stack, depth = {}, [], [0] * (len(code) + 1)
    for i, c in enumerate(code):
        if c == '(':
            stack.append(i)
        elif c == ')' and stack:
            match[stack.pop()] = i
            match[i] = None
        depth[i + 1] = len(stack)
    opener = {v: k for k, v in match.items() if v is not None}
    for m in re.finditer(r'[A-Za-z_]\w*(?:(?:\.|->|::)[A-Za-z_]\w*)*(?=\s*\()', code):
        s, name = m.start(), m.group(0)
        if name in KEYWORDS or depth[s]:
            continue
        before = code[:s].rstrip()
        if not before:
            continue
        prev = before[-1]
        starts = prev in ';{}' or re.search(r'\belse$', before)
        if prev == ')':
            words = code[:opener.get(len(before) - 1, 0)].rstrip()
            starts = re.search(r'\b(if|for|while)$', words)
        if not starts:
            continue
        paren = code.index('(', m.end())
        close = match.get(paren)
        if close is None:
            continue
        after = code[close + 1:].lstrip()
        if not after.startswith(';'):
            continue
        end = code.index(';', close) + 1
        statement = ' '.join(text[s:end].split())
        found.append((s, text[s:end], ';', 'call removed: ' + statement))
    return found

def all_mutants(root):
    result = []
    for folder, _, files in sorted(os.walk(os.path.join(root, 'src'))):
        for name in sorted(files):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(folder, name)
            text = open(path, encoding='utf-8').read()
            rel = os.path.relpath(path, root)
            for offset, old, new, what in sorted(find(path, text)):
                line = text.count('\n', 0, offset) + 1
                result.append((rel, offset, old, new, line, what))
    return result

if sys.argv[1] == 'list':
    count, seed, root = int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    everything = all_mutants(root)
    print('%d mutants in src/' % len(everything), file=sys.stderr)
    chosen = sorted(random.Random(seed).sample(range(len(everything)), min(count, len(everything))))
    for index in chosen:
        rel, offset, old, new, line, what = everything[index]
        print('\t'.join([rel, str(offset), old.encode('unicode_escape').decode(), new, str(line),
                         what]))
else:
    rel, offset, old, new = sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
    old = old.encode().decode('unicode_escape')
    text = open(rel, encoding='utf-8').read()
    assert text[offset:offset + len(old)] == old, (rel, offset, old)
    open(rel, 'w', encoding='utf-8').write(text[:offset] + new + text[offset + len(old):])
PY
}

mutants list "$count" "$seed" . > "$work/sample.tsv"
cmake --preset x86_64 --log-level=WARNING > "$work/configure.log"
echo "mutate: first build" >&2
cmake --build --preset x86_64 -j2 > "$work/build.log" 2>&1 || {
  tail -20 "$work/build.log" >&2
  exit 1
}

# The PE checks read the shipped 32-bit DLL, which no operator mutant reaches in its exports,
# imports, size or version, so they are left out; the long programs run only for survivors.
long_tests='^(reliability_load_cycles|editor_cycles|reliability_soak_short|tools_release_.*)$'
mapfile -t tests < <(ctest --preset x86_64 -N | sed -n 's/^ *Test *#[0-9]*: //p' |
  grep -v '^tools_pe_check')
run_test() {
  ctest --preset x86_64 -R "^$1\$" > "$work/test.log" 2>&1
}

echo "mutate: the unchanged tree against the quick tests" >&2
for t in "${tests[@]}"; do
  [[ $t =~ $long_tests ]] && continue
  run_test "$t" || { echo "mutate: $t fails without any mutant" >&2; cat "$work/test.log" >&2; exit 1; }
done

# A test kills the mutant when it fails three times in a row, since under the load of other work a
# timing test can fail twice; a hang kills at once, its time limit being many times the test's time.
fails() {
  local k
  for k in 1 2 3; do
    run_test "$1" && return 1
    grep -qE '\*\*\*Timeout|timed out after' "$work/test.log" && return 0
  done
  return 0
}

killer() {
  local folder=$1 phase t
  for phase in subsystem rest long; do
    for t in "${tests[@]}"; do
      if [[ $t =~ $long_tests ]]; then [ $phase = long ] || continue
      elif [[ $t == *"$folder"* ]]; then [ $phase = subsystem ] || continue
      else [ $phase = rest ] || continue
      fi
      if fails "$t"; then
        echo "$t"
        return
      fi
    done
  done
}

killed=0 survived=0 failed=0
while IFS=$'\t' read -r file offset old new line what; do
  [[ "$file:$line" =~ ${ZARNEL_MUTATE_ONLY:-.} ]] || continue
  cp -p "$file" "$work/original"
  mutants apply "$file" "$offset" "$old" "$new"
  # An operator is shown in its mutated line; a removed call names itself.
  [[ $what == call* ]] || what="$what: $(sed -n "${line}p" "$file" | sed 's/^ *//' | cut -c1-70)"
  if ! cmake --build --preset x86_64 -j2 > "$work/build.log" 2>&1; then
    verdict="does not compile"
    failed=$((failed + 1))
  else
    folder=$(basename "$(dirname "$file")")
    by=$(killer "${folder%s}")
    if [ -n "$by" ]; then
      verdict="killed by $by"
      cp "$work/test.log" "$logs/$(echo "$file:$line" | tr / _).log"
      killed=$((killed + 1))
    else
      verdict="survived"
      survived=$((survived + 1))
    fi
  fi
  cp "$work/original" "$file"
  printf '%s:%s  %s  %s\n' "$file" "$line" "${what:0:110}" "$verdict"
done < "$work/sample.tsv"
for prefix in build/x86_64/wine/wineprefix-* build/x86_64/wine/slot-*/wineprefix-*; do
  WINEPREFIX="$PWD/$prefix" wineserver -k 2>/dev/null || true
done
echo "mutate: the killing tests' output is in build/mutate/" >&2
echo "$killed killed, $survived survived, $failed not compiled ($((($(date +%s) - start) / 60)) min)"
