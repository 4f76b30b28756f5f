#!/usr/bin/env bash
# velkor-cli on fake sticks made at the block level: a disk image that keeps REAL of what it
# claims and wraps or loses the rest (tests/fixtures/block-fake), formatted ext4 or exFAT and
# mounted through that file system's own driver. The file system, not the test, decides where the
# test file lies: ext4 does not fill front to back, and on the exFAT stick user files deleted in
# between leave the free space in pieces. Where the system tells where the file's blocks lie, the
# diagnosis gives the usable capacity and the period as offsets on the medium and draws the map
# in the medium's order; where it cannot, the capacity counts the intact blocks, says so, and
# never calls the capacity present.
#
# Usage: block_fake_e2e.sh VELKOR_CLI [VELKOR_BLOCK_FAKE]. Needs root, /dev/fuse, loop devices,
# mkfs.ext4, mkfs.exfat and exfat-fuse; without them it skips (exit 77), unless
# VELKOR_REQUIRE_FUSE=1 makes that a failure.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
block_fake=$here/../fixtures/block-fake
[ -n "${2:-}" ] && export VELKOR_BLOCK_FAKE=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
mounted=""
cleanup() {
  [ -n "$mounted" ] && "$block_fake" unmount "$mounted" >/dev/null 2>&1
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
MiB=1048576
real=$((128 * MiB))

# results KEY...: values of the results file's "diagnosis" object.
diagnosis() {
  python3 - "$(sed -n 's/^.*JSON-Datenbankdatei: //p' err.txt)" "$@" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8")).get("diagnosis", {})
print(" ".join(json.dumps(d.get(k, "-")) for k in sys.argv[2:]))
PY
}
in_range() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }

for fs in ext4 exfat; do
  for mode in lose wrap; do
    echo "== $fs on a stick that claims 512 MiB, holds 128 MiB and ${mode}s the rest =="
    vol=$work/$fs-$mode
    # exFAT keeps its tables at the start, which exfat-fuse reads again and dies on when a wrap
    # overwrote them: this fake spares its first 16 MiB.
    keep=0
    [ $fs = exfat ] && [ $mode = wrap ] && keep=$((16 * MiB))
    "$block_fake" mount "$vol" $fs 512M 128M $mode $keep 2>mount-err.txt
    rc=$?
    if [ $rc -ne 0 ]; then
      cat mount-err.txt
      if [ $rc -eq 77 ] && [ "${VELKOR_REQUIRE_FUSE:-0}" != 1 ]; then echo "SKIP: block-level fakes cannot be made here"; exit 77; fi
      echo "FAIL mount $fs $mode"
      exit 1
    fi
    mounted=$vol
    if [ $fs = exfat ]; then
      # A user's files, every other one deleted again: the free space comes in pieces.
      for i in $(seq 1 12); do head -c $((4 * MiB)) /dev/zero >"$vol/urlaub$i.jpg"; done
      for i in $(seq 1 2 12); do rm "$vol/urlaub$i.jpg"; done
    fi
    "$cli" --lang de test "$vol" --yes --results-dir results >out.txt 2>err.txt </dev/null
    rc=$?
    echo "     -> exit $rc; $(grep -E '^  (Befund|Nutzbare|Grundlage)' out.txt | tr -s ' ' | tr '\n' ';')"
    check "$fs $mode: exits 1" [ "$rc" = 1 ]
    check "$fs $mode: found bad blocks" grep -q "FEHLER: Datenabweichung bei Block" err.txt
    check "$fs $mode: never 'the capacity is there'" bash -c '! grep -q "Die Kapazität ist vorhanden" out.txt'
    read -r order finding usable period mark cells <<<"$(diagnosis order finding usableBytes periodBytes markCell cells)"
    first=${cells:1:1}
    last=${cells: -2:1}
    if [ "$order" = '"device"' ]; then
      check "$fs $mode: says the figures are offsets on the medium" \
        grep -q "^  Grundlage: Lage der Testdateien auf dem Medium" out.txt
      if [ $mode = wrap ]; then
        check "$fs $mode: repeats after the real size, on the medium" \
          [ "$finding $period $usable" = "\"wraps\" $((real - keep)) $((real - keep))" ]
        check "$fs $mode: report says so" grep -q "Befund: Das Medium wiederholt sich nach $(((real - keep) / MiB)).0 MB" out.txt
        check "$fs $mode: the map shows the real part first, marked" test "$first$last" = ow -a "$mark" -gt 0
      else
        check "$fs $mode: data from the real size on comes back empty, on the medium" \
          bash -c "[ '$finding' = '\"emptyFrom\"' ] && grep -q 'Befund: Daten ab 1[23][0-9].[0-9] MB kommen leer zurück' out.txt"
        check "$fs $mode: usable capacity below the real size, at most 64 MiB short" \
          in_range "$usable" $((real - 64 * MiB)) $real
        check "$fs $mode: the map shows the real part first, marked" test "$first$last" = oe -a "$mark" -gt 0
      fi
    else
      # No map from the driver: the blocks that came back intact are counted.
      check "$fs $mode: says the estimate follows the files' order" \
        grep -q "^  Grundlage: Reihenfolge in den Testdateien; wo ihre Blöcke auf dem Medium liegen, ist nicht bekannt" out.txt
      check "$fs $mode: usable capacity counts the intact blocks" in_range "$usable" $((real - 64 * MiB)) $real
    fi
    # The test file did not lie front to back: its first block is already past the real part.
    [ $fs = ext4 ] && check "$fs $mode: the file's first block is bad" grep -q "FEHLER: Datenabweichung bei Block 0," err.txt
    "$block_fake" unmount "$vol"
    mounted=""
  done
done

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
