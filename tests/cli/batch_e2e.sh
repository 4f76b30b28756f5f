#!/usr/bin/env bash
# velkor-cli test and verify over several targets at once: healthy volumes of different sizes, a
# read-only one, a fake (velkor-fault-fs), the system drive, a non-empty one, two folders of one
# volume, a volume pulled while the others run, and Ctrl-C. Each target must get its own verdict,
# table row, results file and marked log lines, and the batch the exit code of its worst target.
#
# Usage: batch_e2e.sh VELKOR_CLI [VELKOR_FAULT_FS|- [RUNNER]]. With RUNNER (scripts/wine-run) the
# Windows build runs under Wine, each volume behind a drive letter of its own (the cases that need
# a signal or a pull are left out there). The volumes are tmpfs mounts (root) and fault-fs ones
# (FUSE): without root the script skips (exit 77), and without FUSE too, unless
# VELKOR_REQUIRE_FUSE=1 makes that a failure.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runner=${3:-}
# The script works in a folder of its own: a runner given by a relative path must still be found.
[ -n "$runner" ] && runner=$(cd "$(dirname "$runner")" && pwd)/$(basename "$runner")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fault_fs=$here/../fixtures/fault-fs
wine_drive=$here/../fixtures/wine-drive
[ -n "${2:-}" ] && [ "$2" != - ] && export VELKOR_FAULT_FS=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
[ "$(id -u)" = 0 ] || { echo "SKIP: mounting the test volumes needs root"; exit 77; }
work=$(mktemp -d)
tmpfs_mounts=()
fuse_mounts=()
letters=()
cleanup() {
  for l in "${letters[@]}"; do "$wine_drive" unmap "$l" >/dev/null 2>&1; done
  for m in "${fuse_mounts[@]}"; do "$fault_fs" unmount "$m" >/dev/null 2>&1; done
  for m in "${tmpfs_mounts[@]}"; do mountpoint -q "$m" && umount -l "$m"; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
mkdir results
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$1" "${2:-err.txt}"; }
run() { $runner "$cli" --lang de "$@" >out.txt 2>err.txt </dev/null; echo $?; }

tmpfs_volume() {  # NAME SIZE [ro]: a tmpfs of its own at $work/NAME
  mkdir -p "$work/$1"
  mount -t tmpfs -o "size=$2${3:+,$3}" velkor-batch "$work/$1" || { echo "FAIL mount $1"; exit 1; }
  tmpfs_mounts+=("$work/$1")
}
fault_volume() {  # NAME OPTION...: a fresh fault-fs volume at $work/NAME
  local name=$1; shift
  [ -n "$runner" ] && set -- "$@" direct_io  # Wine reads through the page cache otherwise
  "$fault_fs" mount "$work/$name" "$@" 2>mount-err.txt
  local rc=$?
  if [ $rc -ne 0 ]; then
    cat mount-err.txt
    if [ $rc -eq 77 ] && [ "${VELKOR_REQUIRE_FUSE:-0}" != 1 ]; then echo "SKIP: cannot mount FUSE here"; exit 77; fi
    echo "FAIL mount $name $*"
    exit 1
  fi
  fuse_mounts+=("$work/$name")
}

# What velkor-cli calls a volume: its folder natively, under Wine the root of a drive letter of its
# own (mapped on first use).
declare -A letter_of
wine_letters=(j k l m n o p q)
target() {  # NAME: the target for the volume into $REPLY
  if [ -z "$runner" ]; then REPLY=$work/$1; return; fi
  if [ -z "${letter_of[$1]:-}" ]; then
    local l=${wine_letters[${#letters[@]}]}
    "$wine_drive" map "$l" "$work/$1" floppy >/dev/null || exit 1
    letters+=("$l")
    letter_of[$1]=$(echo "$l" | tr a-z A-Z)
  fi
  REPLY="${letter_of[$1]}:\\"
}
if [ -n "$runner" ]; then
  export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
  results="Z:$work/results"
  summary="Z:$work/summary.json"
else
  results=$work/results
  summary=$work/summary.json
fi

# The table's cell of a target's row, by column heading; rows and headings split at two blanks.
cell() {  # TARGET HEADING
  python3 - "$1" "$2" "$work/out.txt" <<'PY'
import re, sys
target, heading, path = sys.argv[1:]
lines = [l.rstrip("\r\n") for l in open(path, encoding="utf-8")]
head = re.split(r" {2,}", lines[0].strip())
for line in lines[1:]:
    cells = re.split(r" {2,}", line.strip())
    if len(cells) == len(head) and cells[0] == target:
        print(cells[head.index(heading)])
        break
else:
    print("(no row)")
PY
}
verdict() { cell "$1" Ergebnis; }
# The summary file's value of a target: KEY of the target's object, or a top-level KEY.
summary() {  # KEY [TARGET]
  python3 - "$work/summary.json" "$@" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
key = sys.argv[2]
if len(sys.argv) > 3:
    d = next(t for t in d["targets"] if t["target"] == sys.argv[3])
print(json.dumps(d[key], ensure_ascii=False))
PY
}
results_final_for() {  # TARGET: the target's results file is final and names its drive
  python3 - "$work/summary.json" "$1" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
t = next(t for t in d["targets"] if t["target"] == sys.argv[2])
path = t["resultsFile"].replace("\\", "/")
if path.startswith("Z:"):
    path = path[2:]
r = json.load(open(path, encoding="utf-8"))
sys.exit(not (r["final"] and r["drive"] == sys.argv[2]))
PY
}
# Every log line on standard error is marked with its target, but the batch's own.
lines_marked() {
  ! grep -E '^\[[0-9]{2}:[0-9]{2}:[0-9]{2}\] ' err.txt |
    grep -vE '^\[[0-9:]{8}\] (\[[^]]+\] |Bedienung: |Hinweis: .* laufen nacheinander|Stop-Anforderung gesendet)' | grep -q .
}
MiB=1048576

echo "== four healthy volumes of different sizes, a read-only one and a fake =="
tmpfs_volume h48 48m
tmpfs_volume h64 64m
tmpfs_volume h80 80m
# Under Wine the label file takes a page of its own: the volume gets that page on top.
tmpfs_volume h96 $([ -n "$runner" ] && echo 98308k || echo 96m)
tmpfs_volume ro 40m ro
fault_volume fake claimed=1G real=64M
[ -n "$runner" ] && printf 'KARTE96' >"$work/h96/.windows-label"
target h48; A=$REPLY; target h64; B=$REPLY; target h80; C=$REPLY; target h96; D=$REPLY
target ro; R=$REPLY; target fake; F=$REPLY
[ -n "$runner" ] && WINEPREFIX=$WINEPREFIX wineserver -w  # a new session learns the new letters
rc=$(run test "$A" "$B" "$C" "$D" "$R" "$F" --yes --results-dir "$results" --summary-json "$summary")
cat out.txt
check "mixed batch exits 1 (the fake's errors)" [ "$rc" = 1 ]
i=0
for t in "$A" "$B" "$C" "$D"; do
  mb=$((16 * (i + 1)))  # the free space less the 32 MiB safety buffer
  check "$t: OK" [ "$(verdict "$t")" = OK ]
  check "$t: $mb MB written and read back, no error" \
    [ "$(cell "$t" Geschrieben) $(cell "$t" Geprüft) $(cell "$t" Fehler) $(cell "$t" Nutzbar)" = "$mb.0 MB $mb.0 MB 0 $mb.0 MB" ]
  check "$t: speeds both ways" bash -c "[[ '$(cell "$t" "Schreiben MB/s")' =~ ^[0-9]+\.[0-9]{2}$ && '$(cell "$t" "Lesen MB/s")' =~ ^[0-9]+\.[0-9]{2}$ ]]"
  check "$t: its own final results file" results_final_for "$t"
  check "$t: its lines marked" has "] [$t] Test abgeschlossen."
  i=$((i + 1))
done
check "the volumes' sizes" [ "$(cell "$A" Größe) $(cell "$D" Größe)" = "48.0 MB 96.0 MB" ]
[ -n "$runner" ] && check "a label shows" [ "$(cell "$D" Name)" = KARTE96 ]
check "read-only volume refused" [ "$(verdict "$R")" = abgelehnt ]
check "read-only volume: nothing measured" [ "$(cell "$R" Geschrieben) $(cell "$R" Fehler)" = "– –" ]
if [ -z "$runner" ]; then
  check "read-only volume: says why" has "[$R] Das ausgewählte Laufwerk ist schreibgeschützt."
else
  # Wine does not tell a read-only volume by its flags: the first file it cannot create does.
  check "read-only volume: says why" has "[$R] FEHLER: Testdatei konnte nicht erstellt werden. Datei=$R"
fi
check "fake: Fehler" [ "$(verdict "$F")" = Fehler ]
check "fake: 500 errors, the diagnosis's 64 MB usable" \
  bash -c "[ '$(cell "$F" Fehler)' = 500 ] && [ '$(cell "$F" Nutzbar)' = '64.0 MB' ] && [ '$(cell "$F" Geprüft)' != '$(cell "$F" Geschrieben)' ]"
only_marked() {  # TEXT MARK: lines with TEXT exist, each under MARK
  grep -qF -- "$1" err.txt && ! grep -F -- "$1" err.txt | grep -vqF -- "] [$2] "
}
check "fake: its mismatches under its own mark only" only_marked "FEHLER: Datenabweichung bei Block" "$F"
check "fake: ended by the error limit" has "[$F] Fehler: Test wegen Fehlern des Mediums beendet: "
check "every log line marked with its target" lines_marked
check "summary: exit code and six targets" \
  [ "$(summary exitCode) $(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["targets"]))' summary.json)" = "1 6" ]
check "summary: the verdicts" \
  [ "$(for t in "$A" "$D" "$R" "$F"; do summary verdict "$t"; done | tr '\n' ' ')" = '"OK" "OK" "abgelehnt" "Fehler" ' ]
check "summary: the fake's stop and the read-only's reason" \
  [ "$(summary stopReason "$F") $(summary writtenBytes "$R")" = '"errorLimit" null' ]
check "summary: the amounts in bytes" \
  [ "$(summary verifiedBytes "$D") $(summary usableBytes "$F")" = "$((64 * MiB)) $((64 * MiB))" ]
check "summary: the fake's results file final" results_final_for "$F"

echo "== verify of several targets =="
rc=$(run verify "$A" "$D" "$F" --results-dir "$results" --summary-json "$summary")
cat out.txt
check "verify batch exits 1" [ "$rc" = 1 ]
check "verify: healthy ones OK, nothing written" \
  [ "$(verdict "$A") $(verdict "$D") $(cell "$D" Geschrieben) $(cell "$D" Geprüft)" = "OK OK – 64.0 MB" ]
check "verify: the fake Fehler, 64 MB usable" [ "$(verdict "$F") $(cell "$F" Nutzbar)" = "Fehler 64.0 MB" ]
check "verify: summary says verify" [ "$(summary command)" = '"verify"' ]
"$fault_fs" unmount "$work/fake"

echo "== the system drive, a non-empty volume and --yes =="
for v in h48 h64; do rm -f "$work/$v/velkor.bin"; done
head -c $((24 * MiB)) /dev/urandom >"$work/h64/foto.jpg"
if [ -z "$runner" ]; then sys=/; else sys='C:\'; fi
rc=$(run test "$A" "$B" "$sys" --size 8 --results-dir "$results" --summary-json "$summary")
check "without --yes: exits 2" [ "$rc" = 2 ]
check "without --yes: the empty volume runs" [ "$(verdict "$A")" = "OK (Teiltest)" ]
check "without --yes: the non-empty one refused" \
  bash -c "[ '$(verdict "$B")' = abgelehnt ] && grep -qF '[$B] Start abgebrochen: Zielpartition war nicht mindestens 99% frei. (--yes testet trotzdem)' err.txt"
check "without --yes: the system drive refused" [ "$(verdict "$sys")" = abgelehnt ]
rm -f "$work/h48/velkor.bin"
rc=$(run test "$A" "$B" "$sys" --size 8 --yes --delete --results-dir "$results")
check "with --yes: exits 2 (the system drive)" [ "$rc" = 2 ]
check "with --yes: the non-empty one runs" [ "$(verdict "$B")" = OK ]
check "with --yes: the system drive still refused" \
  bash -c "[ '$(verdict "$sys")' = abgelehnt ] && grep -qF 'liegt auf dem Systemlaufwerk' err.txt"
check "--delete: each run took its own file away" bash -c "[ ! -e '$work/h48/velkor.bin' ] && [ ! -e '$work/h64/velkor.bin' ]"
check "--delete: the user's file stays" [ "$(stat -c %s "$work/h64/foto.jpg")" = $((24 * MiB)) ]
rm -f "$work/h64/foto.jpg"

echo "== one target alone: output as always, plus the summary =="
rc=$(run test "$A" --size 8 --yes --delete --results-dir "$results" --summary-json "$summary")
check "single target exits 0" [ "$rc" = 0 ]
check "single target: the report, no table" \
  bash -c 'grep -q "^Zusammenfassung: geschrieben 8.0 MB" out.txt && grep -q "^Ergebnisdatei: " out.txt && ! grep -q "^Ziel " out.txt'
check "single target: lines unmarked" bash -c "! grep -qF '] [' err.txt"
check "single target: summary with its row" [ "$(summary verdict "$A") $(summary exitCode)" = '"OK (Teiltest)" 0' ]

if [ -z "$runner" ]; then
  echo "== two folders of one volume run one after the other =="
  mkdir -p "$work/h96/x" "$work/h96/y"
  rm -f "$work/h96/velkor.bin"
  rc=$(run test "$work/h96/x" "$work/h96/y" --size 16 --yes --parallel 4 --delete --results-dir "$results")
  check "same volume: exits 0" [ "$rc" = 0 ]
  check "same volume: said so" has "liegen auf einem Gerät"
  # One run's end comes before the other's start: never both at once.
  check "same volume: one after the other" python3 - "$work/h96/x" "$work/h96/y" <<'PY'
import sys
lines = open("err.txt", encoding="utf-8").read().splitlines()
def at(mark, text):
    return next(i for i, l in enumerate(lines) if f"[{mark}] {text}" in l)
x, y = sys.argv[1:]
ends = {m: at(m, "Test abgeschlossen.") for m in (x, y)}
starts = {m: at(m, "Start gedrückt") for m in (x, y)}
first, second = sorted((x, y), key=lambda m: starts[m])
sys.exit(not ends[first] < starts[second])
PY
  rm -rf "$work/h96/x" "$work/h96/y"

  echo "== a volume pulled while the others run =="
  fault_volume pulled real=256M slow=2000
  fault_volume slow1 real=64M slow=300
  fault_volume slow2 real=64M slow=300
  "$cli" --lang de test "$work/slow1" "$work/pulled" "$work/slow2" --size 24 --block 1024 --yes --results-dir "$results" \
    --summary-json "$summary" >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 300); do
    [ "$(stat -c %s "$work/pulled/velkor.bin" 2>/dev/null || echo 0)" -gt $((4 * MiB)) ] && break
    sleep 0.1
  done
  "$fault_fs" remove "$work/pulled"
  for _ in $(seq 1200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && kill -KILL $pid
  wait $pid
  rc=$?
  cat out.txt
  check "pulled volume: exits 1" [ "$rc" = 1 ]
  check "pulled volume: the others OK, everything read back" \
    [ "$(verdict "$work/slow1")|$(verdict "$work/slow2")|$(cell "$work/slow2" Geprüft)" = "OK (Teiltest)|OK (Teiltest)|24.0 MB" ]
  check "pulled volume: its own verdict" bash -c "[[ '$(verdict "$work/pulled")' =~ ^(Fehler|gestoppt)$ ]]"
  check "pulled volume: its failure under its mark" \
    grep -qE "\] \[$work/pulled\] (FEHLER|Warnung): " err.txt

  echo "== Ctrl-C stops every run =="
  fault_volume stop1 real=256M slow=2000
  fault_volume stop2 real=256M slow=2000
  rm -f out.txt err.txt
  "$cli" --lang de test "$work/stop1" "$work/stop2" --size 200 --block 1024 --yes --parallel 1 --results-dir "$results" \
    --summary-json "$summary" >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 300); do
    [ "$(stat -c %s "$work/stop1/velkor.bin" 2>/dev/null || echo 0)" -gt $((4 * MiB)) ] && break
    sleep 0.1
  done
  kill -INT $pid
  for _ in $(seq 600); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && kill -KILL $pid
  wait $pid
  rc=$?
  cat out.txt
  check "Ctrl-C: exits 130" [ "$rc" = 130 ]
  check "Ctrl-C: the running one stopped with its results file" \
    bash -c "[ '$(verdict "$work/stop1")' = gestoppt ] && [ '$(summary stopReason "$work/stop1")' = '\"user\"' ]"
  check "Ctrl-C: its results file final" results_final_for "$work/stop1"
  check "Ctrl-C: the waiting one never started" \
    bash -c "[ '$(verdict "$work/stop2")' = gestoppt ] && [ ! -e '$work/stop2/velkor.bin' ]"
  check "Ctrl-C: summary says so" [ "$(summary interrupted)" = true ]
fi

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
