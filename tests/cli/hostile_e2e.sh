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
  cp "$work/err.txt" /tmp/h29-last-err.txt 2>/dev/null
  for m in "${mounts[@]}"; do
    if [ "$(stat -f -c %T "$m" 2>/dev/null)" = tmpfs ]; then umount -l "$m"; else "$fault_fs" unmount "$m" >/dev/null 2>&1; fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failures=0
bin=$work/bin
mkdir "$bin" && cp "$cli" "$bin/velkor-cli"
mkdir "$work/results" "$work/home-nobody" && chown nobody "$work/home-nobody"
nobody_env=(HOME="$work/home-nobody")
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$1" "${2:-err.txt}"; }
# run [--as USER] [NAME=VALUE...] ARG...: velkor-cli (a copy in a folder only root may change)
# with that environment, its output in out.txt and err.txt; prints the exit code. A bound of 120 s
# turns a hang into exit 124 instead of a stuck test.
run() {
  local as=() vars=()
  if [ "$1" = --as ]; then as=(runuser -u "$2" --); shift 2; fi
  while [[ "${1:-}" == [A-Z_]*=* ]]; do vars+=("$1"); shift; done
  "${as[@]}" env "${vars[@]}" timeout -k 5 120 "$bin/velkor-cli" --lang de "$@" >out.txt 2>err.txt </dev/null
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

tmpfs_volume stick 64m
small=(--size 4 --block 256 --yes --delete)
saved() { local f; f=$(sed -n 's/^Ergebnisdatei: //p' out.txt); [ -n "$f" ] && python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$f"; }
saved_with() { [ "$1" = 0 ] && saved; }  # exit code
not_claimed() { ! grep -q '^Ergebnisdatei' out.txt; }

echo "== lock files: never by a name others can plant, never made writable for all =="
# Where earlier versions kept the volume lock: a name in /tmp anyone could take first.
old_lock=/tmp/velkor-volume-dev-$(printf '%x' "$(stat -c %d "$work/stick")").lock
rm -f "$old_lock"
head -c 1000 /dev/urandom >"$work/secret" && chmod 600 "$work/secret"
ln "$work/secret" "$old_lock"
before=$(stat -c '%a %h' "$work/secret")$(sums "$work/secret")
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/results")
check "hard link under the old lock name: the run goes on (exit $rc)" [ "$rc" = 0 ]
check "hard link under the old lock name: the linked file keeps mode and content" \
  [ "$(stat -c '%a %h' "$work/secret")$(sums "$work/secret")" = "$before" ]
rm -f "$old_lock"
# A user who holds a lock of that name must not keep root off the volume.
# One process holds it, so killing it frees the lock and leaves nothing behind on our output.
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  bash -c 'exec 9>"$1" && flock 9 && exec sleep 300' _ "$old_lock" >/dev/null 2>&1 &
holder=$!
held() { [ -e "$old_lock" ] && grep -q ":$(stat -c %i "$old_lock") " /proc/locks; }
for _ in $(seq 100); do held && break; sleep 0.1; done
check "fixture: nobody holds the lock" held
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/results")
check "lock held by nobody under the old name: root's run is not kept off (exit $rc)" [ "$rc" = 0 ]
kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null; rm -f "$old_lock"
# The folder of a user's locks planted by someone else: a link to a folder of root's. The run
# goes on without the lock and writes nothing there.
mkdir -p "$work/roots-folder" && rm -rf /tmp/velkor-65534 && ln -s "$work/roots-folder" /tmp/velkor-65534
chmod 777 "$work/roots-folder"
rc=$(run --as nobody "${nobody_env[@]}" test "$work/stick" "${small[@]}")
check "nobody's lock folder planted as a link: the run goes on (exit $rc)" [ "$rc" = 0 ]
check "nobody's lock folder planted as a link: nothing written behind it" [ -z "$(ls -A "$work/roots-folder")" ]
check "nobody's lock folder planted as a link: the log says the lock is missing" has "Sperre gegen einen zweiten Test"
rm -f /tmp/velkor-65534
# And nobody's own folder works: the second of two runs at once is kept off.
rc=$(run --as nobody "${nobody_env[@]}" test "$work/stick" "${small[@]}")
check "nobody's run with its own lock folder (exit $rc)" [ "$rc" = 0 ]
check "nobody's lock folder is nobody's alone" [ "$(stat -c '%U %a' /tmp/velkor-65534 2>/dev/null)" = "nobody 700" ]
rm -rf /tmp/velkor-65534

echo "== temporary files: a link under the name of the results file's copy =="
mkdir -p "$work/shared" && chmod 1777 "$work/shared"
head -c 1000 /dev/urandom >"$work/victim"
before=$(sums "$work/victim")
# The results file is named after the second the run starts: links for the next minute.
now=$(date +%s)
for t in $(seq "$now" $((now + 60))); do
  stamp=$(date -d "@$t" +%Y%m%d-%H%M%S)
  runuser -u nobody -- ln -s "$work/victim" "$work/shared/$stamp-$(echo "$work/stick" | tr / _)-velkor.json.tmp"
done
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/shared")
check "links under the .tmp names: the run is saved (exit $rc)" saved_with "$rc"
check "links under the .tmp names: their target unchanged" [ "$(sums "$work/victim")" = "$before" ]

echo "== a results file that cannot be saved is no result =="
tmpfs_volume full 64k
head -c 65536 /dev/zero >"$work/full/filler" 2>/dev/null
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/full")
check "full results folder: exit 2 (exit $rc)" [ "$rc" = 2 ]
check "full results folder: the FEHLER line names the file and the reason" \
  grep -qE "FEHLER: Ergebnisdatei konnte nicht gespeichert werden\. Datei=$work/full/.*velkor\.json, .*(No space|Speicher)" err.txt
check "full results folder: no results file claimed" not_claimed
mkdir -p "$work/readonly-data" && chmod 755 "$work/readonly-data"
rc=$(run --as nobody "${nobody_env[@]}" XDG_DATA_HOME="$work/readonly-data" test "$work/stick" "${small[@]}")
check "read-only XDG_DATA_HOME as nobody: exit 2 (exit $rc)" [ "$rc" = 2 ]
check "read-only XDG_DATA_HOME as nobody: the FEHLER line names the file" has "FEHLER: Ergebnisdatei konnte nicht gespeichert werden. Datei=$work/readonly-data/velkor/results/"
check "read-only XDG_DATA_HOME as nobody: no results file claimed" not_claimed
rc=$(run --as nobody test "$work/stick" "${small[@]}")
check "read-only program folder, HOME unset, as nobody: exit 2 (exit $rc)" [ "$rc" = 2 ]
check "read-only program folder, HOME unset, as nobody: no results file claimed" not_claimed
long=$work/stick/$(printf 'x%.0s' $(seq 120))/$(printf 'y%.0s' $(seq 120))
mkdir -p "$long"
rc=$(run test "$long" "${small[@]}" --results-dir "$work/results")
check "target path of ${#long} characters: saved under a shorter name (exit $rc)" saved_with "$rc"
rm -rf "$work/stick/x"*

echo "== export: never over its own input, never waiting on a pipe =="
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/results")
input=$(sed -n 's/^Ergebnisdatei: //p' out.txt)
before=$(sums "$input")
ln -s "$input" "$work/alias.json"
ln "$input" "$work/hardlink.json"
for output in "$input" "$work/alias.json" "$work/hardlink.json"; do
  rc=$(run export "$input" --format csv --output "$output")
  check "export onto its input as $(basename "$output"): refused (exit $rc)" [ "$rc" = 2 ]
  check "export onto its input as $(basename "$output"): the results file unchanged" [ "$(sums "$input")" = "$before" ]
done
mkfifo "$work/fifo.json"
for format in csv text json; do
  rc=$(run export "$work/fifo.json" --format "$format" --output "$work/out.$format")
  check "export of a FIFO as $format: refused at once (exit $rc)" [ "$rc" = 2 ]
done
rm -f "$work/fifo.json" "$work/alias.json" "$work/hardlink.json"

echo "== verify: a FIFO under a test file's name is refused, not waited on =="
mkfifo "$work/stick/velkor.bin"
rc=$(run verify "$work/stick" --results-dir "$work/results")
check "verify with a FIFO named velkor.bin: refused (exit $rc)" [ "$rc" = 2 ]
check "verify with a FIFO named velkor.bin: the FIFO stays" [ -p "$work/stick/velkor.bin" ]
rm -f "$work/stick/velkor.bin"
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/results")
check "the volume is free again after the refused verify (exit $rc)" [ "$rc" = 0 ]

echo "== the compact whole-drive mode keeps its files without --delete, and says so =="
tmpfs_volume compact 48m
rc=$(run test "$work/compact" --yes --profile quorvel --results-dir "$work/results")
check "compact mode without --delete: exit $rc" [ "$rc" = 0 ]
check "compact mode without --delete: the log says the files stay" has "LöschenAmEnde=nein"
check "compact mode without --delete: the files stay" [ -f "$work/compact/velkor.bin" ]

echo "== a hang-up ends a run like SIGTERM, however often it comes =="
if fuse_volume slow real=256M slow=2000; then
  timeout -k 5 120 "$cli" --lang de test "$work/slow" --yes --size 200 --block 1024 --workers 1 --delete \
    --results-dir "$work/results" >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 300); do
    [ "$(stat -c %s "$work/slow/velkor.bin" 2>/dev/null || echo 0)" -gt 8388608 ] && break
    sleep 0.1
  done
  # A closed terminal hangs up the process and its group: the same request twice at once.
  program=$(pgrep -P $pid)
  kill -HUP $program; kill -HUP $program
  wait $pid
  rc=$?
  check "SIGHUP: exit 130 as for SIGTERM (exit $rc)" [ "$rc" = 130 ]
  results=$(sed -n 's/^.*JSON-Datenbankdatei: //p' err.txt)
  check "SIGHUP: the results file is final" python3 -c 'import json,sys; sys.exit(not json.load(open(sys.argv[1]))["final"])' "$results"
  check "SIGHUP: the test file deleted" [ ! -e "$work/slow/velkor.bin" ]
fi

echo "== messages that name what is wrong =="
while IFS='|' read -r options expected; do
  rc=$(run test "$work/stick" --yes $options)
  check "test $options: exit 2 (exit $rc)" [ "$rc" = 2 ]
  check "test $options: names the option and its range" has "$expected"
done <<'CASES'
--size 0|Ungültiger Wert für --size: 0 (erlaubt: 1 bis 17592186044415 MB).
--block 0|Ungültiger Wert für --block: 0 (erlaubt: 4 bis 4194303 KB).
--block 3|Ungültiger Wert für --block: 3 (erlaubt: 4 bis 4194303 KB).
--block 4194304|Ungültiger Wert für --block: 4194304 (erlaubt: 4 bis 4194303 KB).
--workers 0|Ungültiger Wert für --workers: 0 (erlaubt: ab 1).
--size 2 --block 4096|Blockgröße
CASES
: >"$work/stick/a-file"
rc=$(run test "$work/stick/a-file" "${small[@]}")
check "a file as target: refused as no folder (exit $rc)" has "Das Ziel ist kein Ordner: $work/stick/a-file"
rm -f "$work/stick/a-file"
for pseudo in /proc /sys; do
  rc=$(run test "$pseudo" --size 1 --yes --system-drive)
  check "$pseudo as target: refused as no medium (exit $rc)" bash -c "[ $rc = 2 ] && grep -q 'ist kein Datenträger' err.txt"
done
mkdir -p "$work/stick/roots" && chmod 755 "$work/stick/roots"
rc=$(run --as nobody "${nobody_env[@]}" test "$work/stick/roots" "${small[@]}")
check "a folder nobody may not write: exit $rc, the system's reason under its Linux name" \
  has "Linux-Fehler 13 (EACCES): Permission denied"
check "a folder nobody may not write: no virus scanner blamed" bash -c '! grep -q "Virenscanner" err.txt'
check "no Linux error named as a Windows one" bash -c '! grep -q "Windows-Fehler" err.txt'
rmdir "$work/stick/roots"
rc=$(run test "$work/stick" "${small[@]}" --results-dir "$work/results")
input=$(sed -n 's/^Ergebnisdatei: //p' out.txt)
rc=$(run export "$input" --format csv --output "$work/no-such-folder/x.csv")
check "export into a missing folder: exit $rc, said as missing" has "No such file or directory"

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
