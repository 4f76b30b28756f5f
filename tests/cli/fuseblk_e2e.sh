#!/usr/bin/env bash
# velkor-cli on exFAT and NTFS volumes mounted through their FUSE drivers ("fuseblk"), over a loop
# device. Such a driver reads the block device through the kernel's cache of that device, beneath
# the test file's own cache: a block the medium lost after the test wrote it must still be found.
# The "medium" is the image file; a block is changed there, under the device's cache, and a
# verify-only run must report it.
#
# Usage: fuseblk_e2e.sh VELKOR_CLI. Needs root, loop devices and /dev/fuse, and the packages
# exfat-fuse, exfatprogs and ntfs-3g; without them it skips (exit 77), unless VELKOR_REQUIRE_FUSE=1
# makes that a failure.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
loop=""
cleanup() {
  mountpoint -q "$work/mnt" 2>/dev/null && { fusermount3 -u "$work/mnt" 2>/dev/null || umount -l "$work/mnt"; }
  [ -n "$loop" ] && losetup -d "$loop" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
mkdir mnt results
chmod 777 "$work" results
# A copy the user "nobody" can run: the build tree may lie in a folder only root can enter.
install -m 755 "$cli" "$work/velkor-cli"
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
cannot() {
  echo "SKIP: $*"
  if [ "${VELKOR_REQUIRE_FUSE:-0}" = 1 ]; then echo "FAIL required: $*"; exit 1; fi
  exit 77
}
run() { "$cli" --lang de "$@" >out.txt 2>err.txt </dev/null; echo $?; }

[ "$(id -u)" = 0 ] || cannot "not root"
[ -e /dev/fuse ] || cannot "no /dev/fuse"
for tool in losetup mkfs.exfat mount.exfat-fuse mkntfs ntfs-3g; do
  command -v $tool >/dev/null || cannot "$tool missing"
done

# The image offset where block BLOCK of a test file written with 256 KiB blocks begins: found by
# the block's first bytes (the pattern: xorshift 13/7/17 from seed ^ (index + golden ratio)).
find_block() {
  python3 - "$work/disk.img" "$1" <<'PY'
import sys
mask = (1 << 64) - 1
s = (0xA5A5A5A5D1A5A5A5 ^ (int(sys.argv[2]) + 0x9E3779B97F4A7C15)) & mask
head = bytearray()
for _ in range(64):
    s ^= (s << 13) & mask
    s ^= s >> 7
    s ^= (s << 17) & mask
    head.append(s & 0xFF)
data = open(sys.argv[1], "rb").read()
print(data.find(bytes(head)))
PY
}

# The test file's bytes at an offset, read through the file system past its own cache.
read_direct() {
  python3 - "$work/mnt/velkor.bin" "$1" <<'PY'
import mmap, os, sys
fd = os.open(sys.argv[1], os.O_RDONLY | os.O_DIRECT)
buf = mmap.mmap(-1, 4096)
os.preadv(fd, [buf], int(sys.argv[2]))
print(buf[:16].hex())
PY
}

for fs in exfat ntfs; do
  echo "== $fs through its FUSE driver =="
  rm -f disk.img
  truncate -s 96M disk.img
  if [ $fs = exfat ]; then mkfs.exfat disk.img >/dev/null; else mkntfs -F -Q disk.img >/dev/null 2>&1; fi
  loop=$(losetup -f --show disk.img 2>/dev/null) || cannot "no loop device"
  if [ $fs = exfat ]; then mount.exfat-fuse "$loop" mnt; else ntfs-3g "$loop" mnt; fi || cannot "$fs mount failed"
  grep -q " $work/mnt .* - fuseblk " /proc/self/mountinfo || cannot "$fs is not mounted as fuseblk"

  rc=$(run test mnt --yes --size 16 --block 256 --workers 1 --results-dir results)
  check "$fs: test exits 0" [ "$rc" = 0 ]
  at=$(find_block 5)
  check "$fs: block 5 found in the image" [ "$at" -gt 0 ]
  # The medium loses a block: changed in the image, beneath the loop device's cache. The block is
  # read through the driver just before, so the device's cache holds it even under memory pressure.
  read_direct $((5 * 262144 + 4096)) >/dev/null
  printf 'XXXXXXXXXXXXXXXX' | dd of=disk.img bs=1 seek=$((at + 4096)) conv=notrunc status=none
  before=$(read_direct $((5 * 262144 + 4096)))
  check "$fs: the fixture's device cache still answers with the written block" [ "$before" != 58585858585858585858585858585858 ]

  # A user who may not open the device: the check may be served from the cache, and both the log
  # and the verdict say so.
  if command -v runuser >/dev/null && runuser -u nobody -- test -r mnt/velkor.bin; then
    runuser -u nobody -- "$work/velkor-cli" --lang de verify mnt --block 256 --results-dir "$work/results" >out.txt 2>err.txt </dev/null
    check "$fs: without the device, a hint in the log" grep -q "Hinweis: Der Zwischenspeicher des Geräts" err.txt
    check "$fs: without the device, a hint in the verdict" grep -q "Hinweis: Der Zwischenspeicher des Geräts" out.txt
  fi

  rc=$(run verify mnt --block 256 --results-dir results)
  check "$fs: verify-only exits 1" [ "$rc" = 1 ]
  check "$fs: the lost block is found" grep -q "FEHLER: Datenabweichung bei Block 5, Offset=1310720" err.txt
  check "$fs: no hint that the cache may answer" bash -c '! grep -q "Zwischenspeicher des Geräts" err.txt out.txt'

  fusermount3 -u mnt 2>/dev/null || umount mnt
  losetup -d "$loop"
  loop=""
done

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
