#!/usr/bin/env bash
# The Windows velkor-cli.exe under Wine on velkor-fault-fs volumes behind a removable drive letter:
# a fake drive (256 MiB real, 1 GiB claimed) must end with errors and a diagnosis of 256 MiB usable,
# media that lose data (zeros past 300 MiB, corrupted blocks: altered files checked again; read
# errors past a point) must be diagnosed as such, and a run on a volume with user files must
# delete its own test file and nothing else.
#
# Usage: faults_wine.sh VELKOR_CLI_EXE [VELKOR_FAULT_FS]. The file system program is the Linux
# build's (build/linux/bin/velkor-fault-fs unless given). Skips with 77 where FUSE cannot be
# mounted, unless VELKOR_REQUIRE_FUSE=1.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fault_fs=$here/../fixtures/fault-fs
wine_drive=$here/../fixtures/wine-drive
[ -n "${2:-}" ] && export VELKOR_FAULT_FS=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
letter=f
work=$(mktemp -d)
cleanup() {
  "$wine_drive" unmap $letter >/dev/null 2>&1
  for m in "$work"/fake "$work"/healthy "$work"/altered "$work"/readerr; do "$fault_fs" unmount "$m" >/dev/null 2>&1; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
mkdir results
failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
has() { grep -qF -- "$1" "${2:-err.txt}"; }
run() { "$root/scripts/wine-run" "$cli" --lang de "$@" >out.txt 2>err.txt </dev/null; echo $?; }
volume() {
  "$fault_fs" mount "$work/$1" "${@:2}" 2>mount-err.txt
  local rc=$?
  if [ $rc -ne 0 ]; then
    cat mount-err.txt
    if [ $rc -eq 77 ] && [ "${VELKOR_REQUIRE_FUSE:-0}" != 1 ]; then echo "SKIP: cannot mount FUSE here"; exit 77; fi
    echo "FAIL mount $1"
    exit 1
  fi
  "$wine_drive" map $letter "$work/$1" floppy || exit 1
}
results="Z:$work/results"

# direct_io: Wine reads through the page cache even where the program asks for unbuffered reads.
volume fake claimed=1G real=256M direct_io
rc=$(run test 'F:\' --yes --results-dir "$results")
check "fake drive exits 1" [ "$rc" = 1 ]
check "fake drive: block 0 wrong" has "FEHLER: Datenabweichung bei Block 0, Offset=0"
check "fake drive: stopped at the error limit" has "Abbruch: Fehlergrenze erreicht."
check "fake drive: reliability is not 100.00 %" bash -c '! grep -q "100.00%" out.txt err.txt'
check "fake drive: errors found, not a user's stop" bash -c 'grep -q "^FEHLER GEFUNDEN" out.txt && ! grep -q ABGEBROCHEN out.txt'
check "fake drive: blocks classed as overwritten" \
  grep -qE "FEHLER: Datenabweichung bei Block 0, Offset=0, Art: überschrieben \(Daten von Block [0-9]+\)" err.txt
check "fake drive: it repeats itself after 256 MiB" \
  has "  Befund: Das Medium wiederholt sich nach 256.0 MB: spätere Daten überschreiben frühere." out.txt
check "fake drive: 256 MiB usable" has "  Nutzbare Kapazität (geschätzt): 256.0 MB" out.txt
"$fault_fs" unmount "$work/fake"

# What a medium that loses data returns, written into the files of a healthy run; then checked
# again without writing.
volume altered real=512M direct_io
rc=$(run test 'F:\' --yes --size 400 --block 1024 --results-dir "$results")
check "altered: the healthy test passes" [ "$rc" = 0 ]
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(300 << 20); f.write(bytes(100 << 20))' altered/velkor.bin
rc=$(run verify 'F:\' --results-dir "$results")
check "zeros: exit 1" [ "$rc" = 1 ]
check "zeros: classed as empty" has "FEHLER: Datenabweichung bei Block 300, Offset=314572800, Art: leer"
check "zeros: 300 MiB usable" has "  Nutzbare Kapazität (geschätzt): 300.0 MB" out.txt
check "zeros: empty from there" has "  Befund: Daten ab 300.0 MB kommen leer zurück." out.txt
rm altered/velkor.bin
rc=$(run test 'F:\' --yes --size 400 --block 1024 --results-dir "$results")
check "altered: the second healthy test passes" [ "$rc" = 0 ]
python3 -c '
import sys
f = open(sys.argv[1], "r+b")
for block in (100, 101, 250):
    f.seek((block << 20) + 7)
    f.write(b"\xAA" * 8)
' altered/velkor.bin
rc=$(run verify 'F:\' --results-dir "$results")
check "corrupted blocks: exit 1" [ "$rc" = 1 ]
check "corrupted blocks: classed as damaged" grep -qE "FEHLER: Datenabweichung bei Block 100, Offset=104857600, Art: beschädigt \([0-9] Bytes? abweichend\)" err.txt
# No map of the file under Wine: the estimate counts the blocks that came back intact.
check "corrupted blocks: the intact blocks usable, with a warning" \
  bash -c 'grep -q "^  Nutzbare Kapazität (geschätzt): 397.0 MB" out.txt && grep -q "^  Warnung: " out.txt &&
           grep -q "^  Befund: Einzelne Blöcke sind beschädigt." out.txt'
"$fault_fs" unmount "$work/altered"

volume readerr real=512M read_error_after=200M direct_io
rc=$(run test 'F:\' --yes --size 300 --block 1024 --workers 1 --results-dir "$results")
check "read errors: exit 1" [ "$rc" = 1 ]
check "read errors: unreadable from 200 MiB on" has "  Befund: Lesefehler ab 200.0 MB." out.txt
check "read errors: 200 MiB usable" has "  Nutzbare Kapazität (geschätzt): 200.0 MB" out.txt
"$fault_fs" unmount "$work/readerr"

volume healthy real=256M
head -c 3000000 /dev/urandom >healthy/velkor.bin.bak
printf 'Einkaufsliste\n' >healthy/velkor_p01.txt
head -c 70000 /dev/urandom >healthy/velkor_full_01.txt
(cd healthy && sha256sum -- * >"$work/healthy.sums")
rc=$(run test 'F:\' --yes --size 32 --block 256 --method-test --delete --results-dir "$results")
check "healthy volume exits 0" [ "$rc" = 0 ]
check "healthy volume: no diagnosis" bash -c '! grep -q Diagnose out.txt err.txt'
check "healthy volume: only the test file deleted" [ "$(grep -c 'Testdatei gelöscht: ' err.txt)" = 1 ]
check "healthy volume: user files intact" bash -c "cd healthy && sha256sum --quiet -c '$work/healthy.sums'"
check "healthy volume: nothing else left" [ "$(ls healthy | sort | tr '\n' ' ')" = "velkor.bin.bak velkor_full_01.txt velkor_p01.txt " ]

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
