#!/usr/bin/env bash
# velkor-cli in the hands of someone who wants to break it, as root and as an unprivileged user:
# files planted under the names it uses, results files that cannot be saved, exports of damaged or
# hostile input, FIFOs where files are expected, signals, wrong options. Every file that is not the
# program's own is checksummed before and compared after.
#
# Usage: hostile_e2e.sh VELKOR_CLI [VELKOR_FAULT_FS]. Needs root (tmpfs volumes, the runs as
# nobody); without it the script skips (exit 77). The cases on the fault file system skip alone
# where FUSE is missing.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
fault_fs=$here/../fixtures/fault-fs
[ -n "${2:-}" ] && export VELKOR_FAULT_FS=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
[ "$(id -u)" = 0 ] || { echo "SKIP: the volumes and the runs as nobody need root"; exit 77; }
work=$(mktemp -d)
chmod 755 "$work"
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do
    if [ "$(stat -f -c %T "$m" 2>/dev/null)" = tmpfs ]; then umount -l "$m"; else "$fault_fs" unmount "$m" >/dev/null 2>&1; fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$1" "${2:-err.txt}"; }
# run [--as USER] ARG...: velkor-cli with its output in out.txt and err.txt; prints the exit code.
# A bound of 120 s turns a hang into exit 124 instead of a stuck test.
run() {
  local as=()
  if [ "$1" = --as ]; then as=(runuser -u "$2" --); shift 2; fi
  "${as[@]}" timeout -k 5 120 "$cli" "$@" >out.txt 2>err.txt </dev/null
  echo $?
}
tmpfs_volume() {  # NAME SIZE: a tmpfs of its own at $work/NAME, open to everyone
  mkdir -p "$work/$1"
  mount -t tmpfs -o "size=$2,mode=1777" velkor-hostile "$work/$1" || { echo "FAIL mount $1"; exit 1; }
  mounts+=("$work/$1")
}
fuse_volume() {  # NAME OPTION...: a fault-fs volume; false (after a SKIP line) without FUSE
  local name=$1; shift
  "$fault_fs" mount "$work/$name" "$@" >/dev/null 2>mount-err.txt
  case $? in
    0) mounts+=("$work/$name") ;;
    77) echo "SKIP $name: FUSE not usable here"; return 1 ;;
    *) cat mount-err.txt; echo "FAIL mount $name"; failures=$((failures + 1)); return 1 ;;
  esac
}
sums() { sha256sum -- "$@" 2>/dev/null; }

echo "== the fault file system: a truncate past what a file holds leaves other files alone =="
if fuse_volume fixture real=1M; then
  head -c 262144 /dev/urandom >"$work/fixture/a"
  before=$(sums "$work/fixture/a")
  head -c 65536 /dev/zero >"$work/fixture/b"
  truncate -s 1M "$work/fixture/b" && truncate -s 200K "$work/fixture/b"
  sync
  check "fixture: file a unchanged after b was grown and cut" [ "$(sums "$work/fixture/a")" = "$before" ]
  check "fixture: b reads as zeros" cmp -s "$work/fixture/b" <(head -c 204800 /dev/zero)
fi

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
