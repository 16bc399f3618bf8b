#!/usr/bin/env python3
"""Turns `ctest --show-only=json-v1` (stdin) into a bash script that runs those tests with their
command, environment, working directory and pass pattern, time limits multiplied by --scale, in
--slots parallel slots (each with its own Xvfb display and Wine prefixes), and ends with
"N passed, M failed"; the guest has no cmake.
  ctest_job.py --scale N [--slots N] [--log-dir DIR] < tests.json > job.sh"""
import argparse
import json
import shlex
import sys

RUNNER = r'''
rm -rf "$LOG_DIR" && mkdir -p "$LOG_DIR"
# run_test NAME TIMEOUT WORKDIR PASS_REGEX [VAR=VALUE...] -- COMMAND...
run_test() {
  local name=$1 limit=$2 dir=$3 pattern=$4
  shift 4
  local vars=()
  while [ "$1" != -- ]; do vars+=("$1"); shift; done
  shift
  local log="$LOG_DIR/$name.log" start=$SECONDS rc
  (cd "$dir" && exec env "${vars[@]}" timeout -k 10 "$limit" "$@") >"$log" 2>&1
  rc=$?
  local took=$((SECONDS - start)) verdict=Passed
  # As in ctest, only this limit (to the whole second) is a timeout; the rest is judged by output.
  if [ $((took + 1)) -ge "$limit" ] && { [ $rc -eq 124 ] || [ $rc -eq 137 ]; }; then
    verdict="Timeout after $limit s"
  elif [ -n "$pattern" ]; then
    grep -qE -- "$pattern" "$log" || verdict="Failed (no match for $pattern)"
  elif [ $rc -ne 0 ]; then
    verdict="Failed (exit $rc)"
  fi
  printf '%2d/%d Test: %-40s %s %4d s\n' "$index" "$TOTAL" "$name" "$verdict" "$took"
  echo "$verdict" >"$STATE/verdict.$index"
}

# Each slot takes the next test until none is left; the programs of one slot share a display and
# prefixes that no other slot uses, since programs on one desktop take each other's foreground.
STATE=$(mktemp -d) && echo 1 >"$STATE/next"
run_slot() {
  if [ "$SLOTS" -gt 1 ]; then
    Xvfb ":$((10 + $1))" -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
    for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$((10 + $1))" ] && break; sleep 0.1; done
    export DISPLAY=":$((10 + $1))" ZARNEL_PREFIX_ROOT="$ZARNEL_PREFIX_ROOT/slot-$1"
  fi
  while true; do
    index=$(flock "$STATE/next" sh -c 'read -r n <"$0/next"; echo $((n + 1)) >"$0/next"; echo $n' \
      "$STATE")
    [ "$index" -le "$TOTAL" ] || break
    "test_$index"
  done
}
'''

SUMMARY = r'''
for slot in $(seq "$SLOTS"); do run_slot "$slot" & done
wait
passed=0 failed=0 failures=()
for index in $(seq "$TOTAL"); do
  if [ "$(cat "$STATE/verdict.$index" 2>/dev/null)" = Passed ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("${NAMES[index - 1]}")
  fi
done
for name in "${failures[@]}"; do
  echo "$name:"
  grep -v '^X connection to' "$LOG_DIR/$name.log" | tail -n 60 | sed 's/^/    /'
done
[ $failed -eq 0 ] || printf 'failed: %s\n' "${failures[*]}"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
'''


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, required=True)
    parser.add_argument("--slots", type=int, default=1)
    parser.add_argument("--log-dir", default="/tmp/zarnel-test-logs")
    options = parser.parse_args()
    tests = json.load(sys.stdin)["tests"]
    runs = []
    for test in tests:
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        limit = int(float(props.get("TIMEOUT", 1500)) * options.scale)
        variables = []
        for item in props.get("ENVIRONMENT", []):
            key, _, value = item.partition("=")
            if key == "ZARNEL_TIMEOUT":
                value = str(int(float(value) * options.scale))
            variables.append(key + "=" + value)
        pattern = props.get("PASS_REGULAR_EXPRESSION", [""])
        words = [test["name"], str(limit), props.get("WORKING_DIRECTORY", "."), pattern[0]]
        words += variables + ["--"] + test["command"]
        runs.append((limit, words))
    if options.slots > 1:
        # The longest limits first, so that no long program ends the run alone.
        runs.sort(key=lambda run: -run[0])
    lines = ["LOG_DIR=" + shlex.quote(options.log_dir), "TOTAL=%d" % len(runs),
             "SLOTS=%d" % max(options.slots, 1),
             "NAMES=(" + " ".join(shlex.quote(words[0]) for _, words in runs) + ")", RUNNER]
    for index, (_, words) in enumerate(runs, 1):
        quoted = " ".join(shlex.quote(w) for w in words)
        lines.append("test_%d() { run_test %s; }" % (index, quoted))
    lines.append(SUMMARY)
    sys.stdout.write("\n".join(lines))


if __name__ == "__main__":
    main()
