#!/usr/bin/env python3
"""Turns `ctest --show-only=json-v1` (stdin) into a bash script that runs those tests one by one
with their command, environment, working directory and pass pattern, time limits multiplied by
--scale, and ends with "N passed, M failed"; the guest has no cmake.
  ctest_job.py --scale N [--log-dir DIR] < tests.json > job.sh"""
import argparse
import json
import shlex
import sys

RUNNER = r'''
passed=0 failed=0 index=0 failures=()
rm -rf "$LOG_DIR" && mkdir -p "$LOG_DIR"
# run_test NAME TIMEOUT WORKDIR PASS_REGEX [VAR=VALUE...] -- COMMAND...
run_test() {
  local name=$1 limit=$2 dir=$3 pattern=$4
  shift 4
  local vars=()
  while [ "$1" != -- ]; do vars+=("$1"); shift; done
  shift
  index=$((index + 1))
  local log="$LOG_DIR/$name.log" start=$SECONDS rc
  (cd "$dir" && exec env "${vars[@]}" timeout -k 10 "$limit" "$@") >"$log" 2>&1
  rc=$?
  local took=$((SECONDS - start)) verdict=Passed
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
    verdict="Timeout after $limit s"
  elif [ -n "$pattern" ]; then
    grep -qE -- "$pattern" "$log" || verdict="Failed (no match for $pattern)"
  elif [ $rc -ne 0 ]; then
    verdict="Failed (exit $rc)"
  fi
  printf '%2d/%d Test: %-40s %s %4d s\n' "$index" "$TOTAL" "$name" "$verdict" "$took"
  if [ "$verdict" = Passed ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
    grep -v '^X connection to' "$log" | tail -n 60 | sed 's/^/    /'
  fi
}
'''

SUMMARY = r'''
[ $failed -eq 0 ] || printf 'failed: %s\n' "${failures[*]}"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
'''


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float, required=True)
    parser.add_argument("--log-dir", default="/tmp/zarnel-test-logs")
    options = parser.parse_args()
    tests = json.load(sys.stdin)["tests"]
    lines = ["LOG_DIR=" + shlex.quote(options.log_dir), "TOTAL=%d" % len(tests), RUNNER]
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
        lines.append("run_test " + " ".join(shlex.quote(w) for w in words))
    lines.append(SUMMARY)
    sys.stdout.write("\n".join(lines))


if __name__ == "__main__":
    main()
