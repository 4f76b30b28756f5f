#!/usr/bin/env bash
# velkor-cli on media that lie or fail, simulated by velkor-fault-fs (tests/fixtures/fault_fs.cpp):
# a fake drive, silent corruption, read and write errors, a full disk, a write-protected and a
# self-locking card, a stick pulled or unmounted while the run writes, a run stopped with Ctrl-C.
# Each run must end with the right exit code, "FEHLER:" lines, records and results file, and
# leave every user file on the volume as it was, deleting only its own test files.
#
# Usage: faults_e2e.sh VELKOR_CLI [VELKOR_FAULT_FS]. Needs root (or fusermount3) and /dev/fuse;
# without them it skips (exit 77), unless VELKOR_REQUIRE_FUSE=1 makes that a failure.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
fault_fs=$here/../fixtures/fault-fs
[ -n "${2:-}" ] && export VELKOR_FAULT_FS=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
mounts=()
loops=()
cleanup() {
  for m in "${mounts[@]}"; do "$fault_fs" unmount "$m" >/dev/null 2>&1; done
  for l in "${loops[@]}"; do losetup -d "$l" 2>/dev/null; done
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
run() { "$cli" --lang de "$@" >out.txt 2>err.txt </dev/null; echo $?; }

# volume NAME OPTION...: a fresh fault-fs volume at $work/NAME.
volume() {
  local name=$1; shift
  "$fault_fs" mount "$work/$name" "$@" 2>mount-err.txt
  local rc=$?
  if [ $rc -ne 0 ]; then
    cat mount-err.txt
    if [ $rc -eq 77 ] && [ "${VELKOR_REQUIRE_FUSE:-0}" != 1 ]; then echo "SKIP: cannot mount FUSE here"; exit 77; fi
    echo "FAIL mount $name $*"
    exit 1
  fi
  mounts+=("$work/$name")
}

# fat32_volume NAME OPTION...: a fresh fault-fs volume mounted as "fuseblk" over a loop device
# whose first sector is a FAT32 boot sector, as a FUSE FAT driver over a card would be; velkor
# then plans for FAT32 (test files of at most 3800 MiB). False (after a SKIP line) where loop
# devices or mkfs.vfat are missing, unless VELKOR_REQUIRE_FUSE=1 makes that a failure.
fat32_volume() {
  local name=$1; shift
  local loop=""
  if command -v mkfs.vfat >/dev/null && truncate -s 40M "$work/$name.img" &&
     mkfs.vfat -F 32 "$work/$name.img" >/dev/null 2>&1; then
    loop=$(losetup -f --show "$work/$name.img" 2>/dev/null)
  fi
  if [ -z "$loop" ]; then
    if [ "${VELKOR_REQUIRE_FUSE:-0}" = 1 ]; then
      echo "FAIL no loop device or mkfs.vfat for $name"
      failures=$((failures + 1))
    else
      echo "SKIP $name: no loop device or mkfs.vfat here"
    fi
    return 1
  fi
  loops+=("$loop")
  volume "$name" "$@" blkdev "fsname=$loop"
}

# A user's files, some named like ours, of different sizes; their checksums go to NAME.sums.
put_user_files() {
  local dir=$work/$1
  head -c 3000000 /dev/urandom >"$dir/velkor.bin.bak"
  printf 'Einkaufsliste\n' >"$dir/velkor_p01.txt"
  head -c 70000 /dev/urandom >"$dir/velkor_full_01.txt"
  head -c 4096 /dev/urandom >"$dir/velkor.bin~"
  : >"$dir/leer.txt"
  head -c 1048583 /dev/urandom >"$dir/Foto 2024.jpg"
  (cd "$dir" && sha256sum -- * >"$work/$1.sums")
}

# The user files are all there, byte for byte, and nothing but the run's own test files was added.
user_files_intact() {
  local dir=$work/$1
  (cd "$dir" && sha256sum --quiet -c "$work/$1.sums") || return 1
  [ "$(cd "$dir" && ls | grep -v -E '^velkor(_full_[0-9]+|_p[0-9]+)?\.bin$' | sort)" = \
    "$(sed 's/^[0-9a-f]*  //' "$work/$1.sums" | sort)" ]
}

no_test_files_left() { ! ls "$work/$1" | grep -q -E '^velkor(_full_[0-9]+|_p[0-9]+)?\.bin$'; }

# Device position where the test file starts: the user files take 64 KiB chunks first.
user_bytes() {
  local total=0 size
  for f in "$work/$1"/*; do
    size=$(stat -c %s "$f")
    total=$((total + (size + 65535) / 65536 * 65536))
  done
  echo $total
}

results_file() { sed -n 's/^.*JSON-Datenbankdatei: //p' err.txt; }
no_results_file() { local f; f=$(results_file); [ -n "$f" ] && [ ! -e "$f" ]; }

# results KEY...: the results file's values, e.g. "final", "0.errors" (record 0), "count",
# "diagnosis.usableBytes" ("-" when missing), "speedCurve.write" (its number of points).
results() {
  python3 - "$(results_file)" "$@" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
out = []
for key in sys.argv[2:]:
    if key == "count":
        out.append(len(d["results"]))
    elif "." in key and key.split(".")[0].isdigit():
        i, k = key.split(".")
        out.append(d["results"][int(i)][k])
    elif "." in key:
        outer, inner = key.split(".")
        value = d.get(outer, {}).get(inner, "-") if outer != "speedCurve" else len(d.get(outer, {}).get(inner, []))
        out.append(value)
    else:
        out.append(d[key])
print(" ".join(json.dumps(v) for v in out))
PY
}

# One line per run for the log: exit code, errors of the first record, first "FEHLER:" line.
summary() {
  local errors
  errors=$(results 0.errors 2>/dev/null || echo -)
  echo "     -> exit $rc, errors $errors, first: $(grep -m1 -oE '(FEHLER|Warnung): .*' err.txt | sed 's/Datei=[^,]*, //')"
}

MiB=1048576

echo "== the fixture hides a fake drive from a read served by the cache =="
volume probe claimed=8M real=4M writeback kernel_cache
python3 - "$work/probe/f" >probe.txt <<'PY'
import os, struct, sys
fd = os.open(sys.argv[1], os.O_WRONLY | os.O_CREAT)
for i in range(5):  # block 4 lands on block 0's storage
    os.pwrite(fd, struct.pack("<I", i) * 262144, i << 20)
os.close(fd)
fd = os.open(sys.argv[1], os.O_RDONLY)
cached = struct.unpack("<I", os.pread(fd, 4, 0))[0]
os.fdatasync(fd)
os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
print(cached, struct.unpack("<I", os.pread(fd, 4, 0))[0])
PY
check "cached read sees the written block, the device the wrapped one" [ "$(cat probe.txt)" = "0 4" ]

echo "== fake drive: 256 MiB real, 1 GiB claimed =="
volume fake claimed=1G real=256M writeback kernel_cache
rc=$(run test "$work/fake" --yes --results-dir results)
summary
check "fake drive exits 1" [ "$rc" = 1 ]
check "first block already wrong" has "FEHLER: Datenabweichung bei Block 0, Offset=0"
check "stopped at the error limit" has "Abbruch: Fehlergrenze erreicht."
check "report: errors found, not a user's stop" bash -c 'grep -q "^FEHLER GEFUNDEN" out.txt && ! grep -q ABGEBROCHEN out.txt'
check "reliability is not 100.00 %" bash -c '! grep -q "100.00%" out.txt err.txt'
check "results file: final, 500 errors, ended by the error limit" \
  [ "$(results final 0.errors 0.cancelled 0.result 0.stopReason)" = 'true 500 false "Fehler" "errorLimit"' ]
check "run ends as ended by errors" has "Test wegen Fehlern des Mediums beendet."
check "last status: ended by errors" bash -c 'tail -n 1 err.txt | grep -q "^Fehler: Test wegen Fehlern des Mediums beendet: "'
check "mismatches name the block whose data came back" \
  grep -qE "FEHLER: Datenabweichung bei Block 0, Offset=0, Art: überschrieben \(Daten von Block [0-9]+\)" err.txt
check "the rest is sampled after the early end" grep -qE "Diagnose: Stichprobe aus [0-9]+ von [0-9]+ ungeprüften Blöcken" err.txt
check "report: the medium repeats itself after 256 MiB" \
  has "  Befund: Das Medium wiederholt sich nach 256.0 MB: spätere Daten überschreiben frühere." out.txt
check "report: 256 MiB usable" has "  Nutzbare Kapazität (geschätzt): 256.0 MB" out.txt
check "report: the diagnosis between the figures and the summary" \
  bash -c "grep -nE '^(Volltest / Prüfung|Diagnose|Zusammenfassung)' out.txt | cut -d: -f2 | tr '\n' '|' | grep -qx 'Volltest / Prüfung|Diagnose|Zusammenfassung|'"
check "log: the diagnosis too" has "Diagnose: Nutzbare Kapazität (geschätzt): 256.0 MB"
check "results file: the diagnosis and the speed curve" \
  [ "$(results diagnosis.usableBytes diagnosis.periodBytes diagnosis.finding speedCurve.write speedCurve.read)" = '268435456 268435456 "wraps" 100 100' ]
rc=$("$cli" --lang de export "$(results_file)" --format pdf --output fake.pdf 2>/dev/null; echo $?)
check "PDF export: a second page with the map and the curves" \
  bash -c "[ $rc = 0 ] && qpdf --check fake.pdf >/dev/null && [ \"\$(pdfinfo fake.pdf | awk '/^Pages:/{print \$2}')\" = 2 ] &&
           pdftotext fake.pdf - | grep -q 'Blockkarte und Geschwindigkeit' && pdftotext fake.pdf - | grep -q 'überschrieben'"
rc=$(run verify "$work/fake" --results-dir results)
summary
check "verify of the fake drive exits 1" [ "$rc" = 1 ]
check "verify finds block 0 wrong" has "FEHLER: Datenabweichung bei Block 0, Offset=0"
check "verify: 256 MiB usable" has "  Nutzbare Kapazität (geschätzt): 256.0 MB" out.txt
"$fault_fs" unmount "$work/fake"

# Blocks that are no sector multiple still read past the cache, through an aligned bounce buffer.
volume fake2 claimed=1G real=256M writeback kernel_cache
rc=$(run test "$work/fake2" --yes --size 300 --block 6 --workers 1 --results-dir results)
summary
check "fake drive on the cached path exits 1" [ "$rc" = 1 ]
check "no fallback to cached reads" bash -c '! grep -q "Hinweis: Direktes Lesen am Cache vorbei" err.txt'
check "cached path finds block 0 wrong" has "FEHLER: Datenabweichung bei Block 0, Offset=0"
check "cached path: reliability is not 100.00 %" bash -c '! grep -q "100.00%" out.txt err.txt'
"$fault_fs" unmount "$work/fake2"

echo "== FAT32 fake that wraps its writes after the first test file =="
# It claims 8 GiB and holds 3900 MiB: of the full test's two files (3800 + 200 MiB) the second
# one's last 100 MiB land on the first one's start. Each file, read back right after it was
# written, is intact; only a read-back after both were written sees the damage.
if fat32_volume wrap claimed=8G real=3900M; then
  rc=$(run test "$work/wrap" --yes --size 4000 --delete --results-dir results)
  summary
  check "wrapping FAT32 fake exits 1" [ "$rc" = 1 ]
  check "FAT32 recognised: two test files" has "Volltest 2/2: $work/wrap/velkor_full_02.bin"
  check "both files written before the first is read back" \
    bash -c "grep -E 'Volltest (2/2|prüfen 1/2)' err.txt | head -n 1 | grep -q 'Volltest 2/2'"
  check "the overwritten start of the first file is found" has "FEHLER: Datenabweichung bei Block 0, Offset=0"
  check "results: the first file's 100 errors in its own record" \
    [ "$(results final count 0.errors 1.errors 0.result 1.result)" = 'true 2 100 0 "Fehler" "OK"' ]
  check "report counts both files" bash -c 'grep -qE "  (Geplante )?Testmenge: 3.9 GB" out.txt && grep -q "  Fehler: 100" out.txt'
  check "the first file's start holds the second file's end" \
    has "FEHLER: Datenabweichung bei Block 0, Offset=0, Art: überschrieben (Daten von Block 100 aus velkor_full_02.bin)"
  check "report: 3900 MiB usable" has "  Nutzbare Kapazität (geschätzt): 3.8 GB" out.txt
  check "report: no 100 %" bash -c '! grep -q "100.00%" out.txt'
  "$fault_fs" unmount "$work/wrap"
fi

echo "== a file system that refuses large files =="
# Its limit is the file system's, not the medium's: no "Fehler" verdict, no full check either.
volume limit real=256M file_limit=64M
rc=$(run test "$work/limit" --yes --size 128 --block 1024 --workers 1 --delete --results-dir results)
summary
check "file-system limit exits 1" [ "$rc" = 1 ]
check "file-system limit named" has "FEHLER: Das Dateisystem nimmt keine so große Datei an (Grenze des Dateisystems, kein Fehler des Mediums)."
check "file-system limit: no error counted" [ "$(results final 0.errors 0.cancelled 0.result 0.stopReason)" = 'true 0 true "abgebrochen" "fileSystemLimit"' ]
check "file-system limit: report blames no medium" bash -c 'grep -q "kein Fehler des Mediums" out.txt && ! grep -q "FEHLER GEFUNDEN" out.txt'
check "file-system limit: end status names it" bash -c 'grep -q "^Fehler: Grenze des Dateisystems erreicht: " err.txt'
"$fault_fs" unmount "$work/limit"

# The position-bound faults: 64 MiB into the device, behind the user files, in a 128 MiB test
# of 1 MiB blocks. The first bad block is the one holding device position 64 MiB.
fault_at=$((64 * MiB))
fault_run() {  # name, fixture option, extra cli options...
  local name=$1 option=$2; shift 2
  volume "$name" real=256M "$option=$fault_at"
  put_user_files "$name"
  first=$(( (fault_at - $(user_bytes "$name")) / MiB ))
  file="$work/$name/velkor.bin"
  rc=$(run test "$work/$name" --yes --size 128 --block 1024 --workers 1 --delete --results-dir results "$@")
}
block_line() {  # the common part of the read and write error lines
  echo "Datei=$file, Worker=0, Block=$first, Offset=$((first * MiB)), Blockgröße=$MiB, I/O-Teilstück=$1, $2"
}

echo "== silent corruption past 64 MiB =="
fault_run corrupt corrupt_after
summary
check "corruption exits 1" [ "$rc" = 1 ]
check "first mismatch at block $first" has "FEHLER: Datenabweichung bei Block $first, Offset=$((first * MiB))"
check "earlier blocks clean" bash -c "! grep -q 'Datenabweichung bei Block $((first - 1)),' err.txt"
check "24 mismatches logged" [ "$(grep -c 'FEHLER: Datenabweichung' err.txt)" = 24 ]
check "below the error limit the run completes" has "Test abgeschlossen."
check "results file: every bad block counted, not cancelled" \
  [ "$(results final 0.errors 0.cancelled)" = "true $((128 - first)) false" ]
check "report shows the errors" has "Fehler: $((128 - first))" out.txt
check "corruption: mismatches classed as damaged" \
  grep -qE "FEHLER: Datenabweichung bei Block $first, Offset=[0-9]+, Art: beschädigt \([0-9]+ Bytes abweichend\)" err.txt
check "corruption: damaged from the first bad block on" has "  Befund: Daten ab $first.0 MB kommen beschädigt zurück." out.txt
check "corruption: usable up to it" has "  Nutzbare Kapazität (geschätzt): $first.0 MB" out.txt
check "corruption: only the test file deleted" has "Testdatei gelöscht: $file"
check "corruption: user files intact" user_files_intact corrupt
check "corruption: no test file left" no_test_files_left corrupt
"$fault_fs" unmount "$work/corrupt"

echo "== read errors past 64 MiB =="
fault_run readerr read_error_after
summary
check "read error exits 1" [ "$rc" = 1 ]
check "read error logged with block, offset and system text" \
  has "FEHLER: Lesefehler. $(block_line 65536 'Linux-Fehler 5 (EIO): Input/output error')"
check "read error ends the run by errors" has "Test wegen Fehlern des Mediums beendet."
check "results file: one error, an I/O failure" [ "$(results final 0.errors 0.cancelled 0.stopReason)" = 'true 1 false "ioFailure"' ]
check "read error: the rest is sampled" grep -qE "Diagnose: Stichprobe aus [0-9]+ von [0-9]+ ungeprüften Blöcken" err.txt
check "read error: unreadable from the first bad block on" has "  Befund: Lesefehler ab $first.0 MB." out.txt
check "read error: usable up to it" has "  Nutzbare Kapazität (geschätzt): $first.0 MB" out.txt
check "read error: the unreadable blocks counted" grep -qE "^  Blöcke: $first OK, 0 überschrieben, 0 leer, 0 beschädigt, $((128 - first)) unlesbar" out.txt
check "results file: unreadable from there" [ "$(results diagnosis.finding diagnosis.usableBytes)" = "\"unreadableFrom\" $((first * MiB))" ]
check "read error: user files intact" user_files_intact readerr
check "read error: no test file left" no_test_files_left readerr
"$fault_fs" unmount "$work/readerr"

# Media that lose data, made by altering what a healthy volume got and checking again without
# writing: zeros from 300 MiB on, and three corrupted blocks in the middle.
echo "== verify-only: zeros past 300 MiB, corrupted blocks =="
volume altered real=1100M
rc=$(run test "$work/altered" --yes --size 1024 --block 1024 --results-dir results)
check "altered: the healthy test passes" [ "$rc" = 0 ]
python3 - "$work/altered/velkor.bin" <<'PY'
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(300 << 20)
    for _ in range(1024 - 300):
        f.write(bytes(1 << 20))
PY
rc=$(run verify "$work/altered" --results-dir results)
summary
check "zeros: exit 1" [ "$rc" = 1 ]
check "zeros: mismatches classed as empty" has "FEHLER: Datenabweichung bei Block 300, Offset=314572800, Art: leer"
check "zeros: empty from 300 MiB on" has "  Befund: Daten ab 300.0 MB kommen leer zurück." out.txt
check "zeros: 300 MiB usable" has "  Nutzbare Kapazität (geschätzt): 300.0 MB" out.txt
check "zeros: every block classed" grep -qE "^  Blöcke: 300 OK, 0 überschrieben, 724 leer, 0 beschädigt, 0 unlesbar \(1024 geprüft, davon [0-9]+ Stichprobe\)$" out.txt
rm "$work/altered/velkor.bin"
rc=$(run test "$work/altered" --yes --size 1024 --block 1024 --results-dir results)
check "altered: the second healthy test passes" [ "$rc" = 0 ]
python3 - "$work/altered/velkor.bin" <<'PY'
import sys
with open(sys.argv[1], "r+b") as f:
    for block in (400, 401, 650):
        f.seek((block << 20) + 1000)
        data = f.read(64)
        f.seek((block << 20) + 1000)
        f.write(bytes(b ^ 0x55 for b in data))
PY
rc=$(run verify "$work/altered" --results-dir results)
summary
check "corrupted blocks: exit 1" [ "$rc" = 1 ]
check "corrupted blocks: classed as damaged" has "FEHLER: Datenabweichung bei Block 400, Offset=419430400, Art: beschädigt (64 Bytes abweichend)"
check "corrupted blocks: single blocks" has "  Befund: Einzelne Blöcke sind beschädigt." out.txt
# No map of the file on this fixture: the estimate counts the blocks that came back intact.
check "corrupted blocks: the intact blocks usable" has "  Nutzbare Kapazität (geschätzt): 1021.0 MB" out.txt
check "corrupted blocks: with a warning" grep -q "^  Warnung: " out.txt
check "corrupted blocks: counted" has "  Blöcke: 1021 OK, 0 überschrieben, 0 leer, 3 beschädigt, 0 unlesbar (1024 geprüft, davon 0 Stichprobe)" out.txt
"$fault_fs" unmount "$work/altered"

echo "== write errors past 64 MiB =="
fault_run writeerr write_error_after
summary
check "write error exits 1" [ "$rc" = 1 ]
check "write error logged with block, offset and system text" \
  has "FEHLER: Schreibfehler. $(block_line 65536 'Linux-Fehler 5 (EIO): Input/output error')"
check "nothing verified after a write error" has "geschrieben=$first, geprüft=0, Fehler=1, abgebrochen=nein"
check "results file: one error, what was written" \
  [ "$(results final 0.errors 0.cancelled 0.writtenBytes 0.verifiedBytes)" = "true 1 false $((first * MiB)) 0" ]
check "write error: user files intact" user_files_intact writeerr
check "write error: no test file left" no_test_files_left writeerr
"$fault_fs" unmount "$work/writeerr"

# Without write-through the error surfaces when the written data is flushed to the device.
echo "== write errors past 64 MiB, found by the flush =="
volume lateerr real=256M write_error_after=$fault_at writeback
put_user_files lateerr
rc=$(run test "$work/lateerr" --yes --size 128 --block 1024 --workers 1 --profile ausgeglichen --delete --results-dir results)
summary
check "late write error exits 1" [ "$rc" = 1 ]
check "flush failure logged" has "FEHLER: Testdatei konnte nicht auf das Medium geschrieben werden. Datei=$work/lateerr/velkor.bin, Linux-Fehler 5 (EIO): Input/output error"
check "results file: one error, not cancelled" [ "$(results final 0.errors 0.cancelled)" = "true 1 false" ]
check "late write error: user files intact" user_files_intact lateerr
"$fault_fs" unmount "$work/lateerr"

echo "== disk full past 64 MiB =="
fault_run full full_after
summary
check "full disk exits 1" [ "$rc" = 1 ]
check "full disk logged with block, offset and system text" \
  has "FEHLER: Schreibfehler. $(block_line 65536 'Linux-Fehler 28 (ENOSPC): No space left on device')"
check "results file: one error, not cancelled" [ "$(results final 0.errors 0.cancelled)" = "true 1 false" ]
check "full disk: user files intact" user_files_intact full
check "full disk: no test file left" no_test_files_left full
"$fault_fs" unmount "$work/full"

echo "== write-protected volume =="
volume ro real=64M ro
rc=$(run test "$work/ro" --yes --size 16 --results-dir results)
summary
check "write-protected volume refused with exit 2" [ "$rc" = 2 ]
check "write protection named" has "Das ausgewählte Laufwerk ist schreibgeschützt."
"$fault_fs" unmount "$work/ro"

echo "== card that locked itself =="
volume locked real=64M
put_user_files locked
"$fault_fs" lock "$work/locked"
rc=$(run test "$work/locked" --yes --size 16 --delete --results-dir results)
summary
check "locked card exits 2" [ "$rc" = 2 ]
check "creation failure logged with the system text" \
  has "FEHLER: Testdatei konnte nicht erstellt werden. Datei=$work/locked/velkor.bin, Linux-Fehler 30 (EROFS): Read-only file system"
# A run that tested nothing leaves no results file among the saved tests.
check "no results file for a run that tested nothing" no_results_file
check "its removal logged" has "JSON-Datenbankdatei ohne Ergebnis entfernt: $(results_file)"
check "locked card: user files intact" user_files_intact locked
"$fault_fs" unmount "$work/locked"

# A slow device leaves time to act while the run writes. start_run NAME: runs in the background
# and returns once the test file has grown past 8 MiB.
start_run() {
  "$cli" --lang de test "$work/$1" --yes --size 200 --block 1024 --workers 1 --delete --results-dir results \
    >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 300); do
    [ "$(stat -c %s "$work/$1/velkor.bin" 2>/dev/null || echo 0)" -gt $((8 * MiB)) ] && return
    sleep 0.1
  done
}
finish_run() {  # waits at most 60 s for the run started by start_run; its exit code into rc
  for _ in $(seq 600); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && kill -KILL $pid
  wait $pid
  rc=$?
}

echo "== stopped with Ctrl-C =="
volume stopped real=256M slow=2000
put_user_files stopped
start_run stopped
kill -INT $pid
finish_run
summary
check "Ctrl-C exits 130" [ "$rc" = 130 ]
check "stopped run ends as stopped" has "Test abgebrochen."
check "results file: final, the user's stop" [ "$(results final 0.cancelled 0.stopReason 0.verified)" = 'true true "user" false' ]
check "results file: less written than planned, nothing verified" \
  python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; sys.exit(not (0 < r["writtenBytes"] < r["bytes"] and r["verifiedBytes"] == 0))' "$(results_file)"
check "stopped run: report says stopped" has "ABGEBROCHEN" out.txt
check "stopped run: only the test file deleted" has "Testdatei gelöscht: $work/stopped/velkor.bin"
check "stopped run: user files intact" user_files_intact stopped
check "stopped run: no test file left" no_test_files_left stopped
"$fault_fs" unmount "$work/stopped"

echo "== stick pulled while writing =="
volume pulled real=256M slow=2000
start_run pulled
"$fault_fs" remove "$work/pulled"
finish_run
summary
check "pulled stick exits 1" [ "$rc" = 1 ]
# A failed write is asked about first: the stick has gone, which says nothing about the medium.
check "pulled stick: the drive's going logged" has "Warnung: Das Ziellaufwerk $work/pulled wurde während des Tests entfernt"
check "pulled stick: run ends as stopped, not for the medium's errors" \
  bash -c "grep -qF 'Test abgebrochen.' err.txt && ! grep -qF 'Fehlern des Mediums' err.txt"
check "pulled stick: results file final, drive gone, no error" \
  [ "$(results final 0.stopReason 0.errors)" = 'true "driveGone" 0' ]
check "pulled stick: no deletion tried on a drive that is gone" \
  bash -c "! grep -qF 'FEHLER: Testdatei konnte nicht gelöscht werden.' err.txt"

# The file-system driver dies (its process killed, the mount left in place): the request in
# flight fails (EIO), every later call with "Transport endpoint is not connected". While writing and while reading back, that is a
# drive gone, not a bad medium: no error, no unreadable blocks, no report of a failed medium.
# The read-back is seen by the bytes velkor-cli has read.
cli_read_bytes() { awk '/^rchar:/ {print $2}' "/proc/$pid/io" 2>/dev/null || echo 0; }
for phase in writing reading; do
  echo "== file-system driver dies while $phase =="
  volume "dies-$phase" real=256M slow=2000
  "$cli" --lang de test "$work/dies-$phase" --yes --size 200 --block 1024 --workers 1 --results-dir results \
    >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 1200); do
    if [ $phase = writing ]; then
      [ "$(stat -c %s "$work/dies-$phase/velkor.bin" 2>/dev/null || echo 0)" -gt $((8 * MiB)) ] && break
    else
      [ "$(cli_read_bytes)" -gt $((16 * MiB)) ] && break
    fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  "$fault_fs" die "$work/dies-$phase"
  finish_run
  summary
  check "driver dies while $phase: exits 1" [ "$rc" = 1 ]
  check "driver dies while $phase: the failed call is logged with the system's text" \
    grep -qE "FEHLER: .*$work/dies-$phase/velkor.bin.*(Windows-Fehler [0-9]+|Linux-Fehler [0-9]+ \([A-Z0-9]+\)): " err.txt
  check "driver dies while $phase: the drive's going logged" \
    has "Warnung: Das Ziellaufwerk $work/dies-$phase wurde während des Tests entfernt"
  check "driver dies while $phase: results file final, drive gone, no error" \
    [ "$(results final 0.stopReason 0.errors)" = 'true "driveGone" 0' ]
  check "driver dies while $phase: no unreadable blocks, no diagnosis" [ "$(results diagnosis.usableBytes)" = '"-"' ]
  check "driver dies while $phase: not reported as a failed medium" \
    bash -c "! grep -qE 'FEHLER GEFUNDEN|Fehlern des Mediums|dürfen keine Daten' out.txt err.txt"
  if [ $phase = reading ]; then
    check "driver dies while reading: what was read before counts" \
      python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"][0]; sys.exit(not (r["writtenBytes"] == r["bytes"] and 0 < r["verifiedBytes"] < r["bytes"]))' "$(results_file)"
  fi
  "$fault_fs" unmount "$work/dies-$phase"
done

echo "== volume unmounted while writing: nothing lands in the folder beneath =="
# A user's file in the mount point's own folder, named like a method-test file, hidden by the mount.
mkdir -p "$work/unmounted"
printf 'unter dem Einhängepunkt' >"$work/unmounted/velkor_p02.bin"
volume unmounted real=256M slow=2000
"$cli" --lang de test "$work/unmounted" --yes --size 200 --block 1024 --workers 1 --method-test --test-points 3 \
  --no-random-points --results-dir results >out.txt 2>err.txt </dev/null &
pid=$!
for _ in $(seq 300); do
  [ "$(stat -c %s "$work/unmounted/velkor_p01.bin" 2>/dev/null || echo 0)" -gt $((8 * MiB)) ] && break
  sleep 0.1
done
fusermount3 -u -z "$work/unmounted" 2>/dev/null || umount -l "$work/unmounted"
finish_run
summary
check "unmounted volume exits 1" [ "$rc" = 1 ]
check "target change noticed" has "Warnung: Das Ziellaufwerk $work/unmounted wurde während des Tests entfernt oder geändert. Test wird gestoppt."
check "unmounted volume: run ends as stopped" has "Test abgebrochen."
# It may stop inside a job or between two: the last record is the one the drive's going ended,
# or a complete one.
check "unmounted volume: results file final" [ "$(results final)" = true ]
check "unmounted volume: the folder beneath keeps only the user's file" [ "$(ls "$work/unmounted")" = velkor_p02.bin ]
check "unmounted volume: the user's file beneath unchanged" [ "$(cat "$work/unmounted/velkor_p02.bin")" = "unter dem Einhängepunkt" ]

echo "== healthy volume: method test, full test, deletion =="
volume healthy real=256M
put_user_files healthy
rc=$(run test "$work/healthy" --yes --size 64 --block 256 --method-test --delete --results-dir results)
summary
check "healthy volume exits 0" [ "$rc" = 0 ]
check "healthy volume: 100.00 %" has "Zuverlässigkeit 100.00%" out.txt
check "healthy volume: no diagnosis anywhere" bash -c '! grep -q "Diagnose" out.txt err.txt'
check "healthy volume: the speed curve alone in the results file" \
  [ "$(results diagnosis.usableBytes speedCurve.write speedCurve.read)" = '"-" 100 100' ]
check "method-test files removed before the full test" has "Methodentest-Datei vor Volltest entfernt"
check "healthy volume: only the test file deleted" [ "$(grep -c 'Testdatei gelöscht: ' err.txt)" = 1 ]
check "healthy volume: user files intact" user_files_intact healthy
check "healthy volume: no test file left" no_test_files_left healthy
rc=$(run test "$work/healthy" --yes --results-dir results)
summary
check "compact run over the whole free space exits 0" [ "$rc" = 0 ]
check "compact run: the mode's lines reach the console" \
  bash -c 'grep -q "Kompaktmodus: Quorvel-Modus ohne geöffnete Einstellungen gewählt." err.txt &&
           grep -q "Quorvel-Modus: Testmenge auf freien Speicher" err.txt'
check "compact run: user files intact" user_files_intact healthy
"$fault_fs" unmount "$work/healthy"

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
