#!/usr/bin/env bash
# heap_checked.sh RUNNER PROGRAM [ARGS...]: runs a test program with Wine's heap checking, which
# stops it at the first block whose tail was overwritten ("invalid block tail"), so a buffer
# miscounted by a byte fails the test. The checks' trace lines are left out of the log.
set -o pipefail
export WINEDEBUG=-all,+heap
"$@" 2>&1 | grep -av ':trace:heap:'
exit "${PIPESTATUS[0]}"
