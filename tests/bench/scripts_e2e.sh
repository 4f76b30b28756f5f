#!/usr/bin/env bash
# Every script in bench/ once at a tiny size (seconds each): it must run to its end and end with
# its table, so a change that breaks one shows here and not on the day someone measures.
# Usage: scripts_e2e.sh VELKOR_CLI VELKOR_JOB_RUN [VELKOR_FAULT_FS]. Needs root (tmpfs, loop
# devices, dropping caches) and FUSE; exit 77 without them.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 2 ] || { echo "usage: scripts_e2e.sh VELKOR_CLI VELKOR_JOB_RUN [VELKOR_FAULT_FS]" >&2; exit 2; }
cli=$1
job_run=$2
[ -n "${3:-}" ] && export VELKOR_FAULT_FS=$3
[ "$(id -u)" -eq 0 ] || { echo "SKIP: the bench scripts need root"; exit 77; }
[ -e /dev/fuse ] || { echo "SKIP: no /dev/fuse"; exit 77; }

failures=0
# run NAME LAST_LINE_PATTERN COMMAND...: the command succeeds and its last line matches.
run() {
  local name=$1 last=$2 out
  shift 2
  out=$(mktemp)
  if "$@" >"$out" 2>&1 && tail -n 1 "$out" | grep -Eq "$last"; then
    echo "ok   $name"
  else
    echo "FAIL $name: $*"
    tail -n 25 "$out"
    failures=$((failures + 1))
  fi
  rm -f "$out"
}

run compare '^  velkor/dd +[0-9.]+ +[0-9.]+ +[0-9.]+ ' "$root/bench/compare" -s 16 -r 1 -p zuverlaessig -c "$cli"
run scaling '^0.015625 +[0-9.]+ ' "$root/bench/scaling" -m -c "$cli" 16
run batch '^median serial +wall [0-9.]+ s' "$root/bench/batch" -s 16 -r 1 -c "$cli"
run fill_order '^new +zuverlaessig +[0-9.]+ +[0-9.]+ ' "$root/bench/fill_order" -s 16 -r 1 -w 2 -p zuverlaessig -c "$job_run"
run medium '^  velkor-zuverlaessig +[0-9.]+ +[0-9.]+ ' "$root/bench/medium" -s 8 -q "1 4" -p zuverlaessig -R 100000000 -c "$cli"
[ $failures -eq 0 ] || { echo "$failures bench scripts failed"; exit 1; }
