#!/usr/bin/env bash
# velkor-cli where a run could harm what is not its own: entries with a test file's name that are
# links, hard links, folders or pipes; the system drive; the drive the program itself was started
# from. User files stay byte for byte, and nothing is written where it does not belong.
#
# Usage: safety_e2e.sh VELKOR_CLI [RUNNER]. With RUNNER (scripts/wine-run) the Windows build runs
# under Wine, the test volume as drive S:. The test volumes are small tmpfs mounts: without root
# the script skips (exit 77).
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runner=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine_drive=$here/../fixtures/wine-drive
[ "$(id -u)" = 0 ] || { echo "SKIP: mounting the test volumes needs root"; exit 77; }
work=$(mktemp -d)
cleanup() {
  [ -n "$runner" ] && "$wine_drive" unmap s >/dev/null 2>&1
  for m in stick other sys own; do mountpoint -q "$work/$m" && umount -l "$work/$m"; done
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
# ANSWER COMMAND...: COMMAND with a pseudo-terminal as standard input, its output in out.txt and
# err.txt; ANSWER and Enter are typed once the question ("[j/N]") stands in err.txt. Prints the exit
# code. Enter is a carriage return: Wine reads its terminal raw.
on_terminal() {
  python3 - "$@" <<'PY'
import os, pty, select, sys, time
open("err.txt", "wb").close()
pid, master = pty.fork()
if pid == 0:
    for fd, name in ((1, "out.txt"), (2, "err.txt")):
        os.dup2(os.open(name, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644), fd)
    os.execvp(sys.argv[2], sys.argv[2:])
answered, deadline = False, time.monotonic() + 300
while True:
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    if not answered and (b"[j/N]" in open("err.txt", "rb").read() or time.monotonic() > deadline):
        os.write(master, (sys.argv[1] + "\r").encode())
        answered = True
    # Drain the echo, so the program never waits on a full terminal.
    if select.select([master], [], [], 0.2)[0]:
        try:
            os.read(master, 4096)
        except OSError:
            pass
print(os.waitstatus_to_exitcode(status))
PY
}
run() { $runner "$cli" --lang de "$@" >out.txt 2>err.txt </dev/null; echo $?; }
volume() {  # NAME SIZE: a tmpfs of its own at $work/NAME
  mkdir -p "$work/$1"
  mount -t tmpfs -o "size=$2" velkor-safety "$work/$1" || { echo "FAIL mount $1"; exit 1; }
}
GiB=1073741824

volume stick 64m
volume other 16m
if [ -n "$runner" ]; then
  prefix=${WINEPREFIX:-$root/build/windows/wineprefix}
  "$wine_drive" map s "$work/stick" floppy || exit 1
  # Wine's mount manager learns of a new letter when its session starts; only then does the volume
  # have a serial number of its own (else every volume unknown to it reads 0).
  WINEPREFIX=$prefix wineserver -w
  target='S:\'
  results="Z:$work/results"
else
  target=$work/stick
  results=$work/results
fi
shown() { [ -n "$runner" ] && echo "S:\\$1" || echo "$work/stick/$1"; }

# --- Entries with a test file's name that are not our files ------------------------------------
# What lstat shows of an entry (type, inode, links, link target): it must be left as it was.
fingerprint() { stat -c '%F %i %h' "$1" 2>/dev/null; readlink "$1" 2>/dev/null; }
# Every name on the stick but the case's own entry and the user's files: none may appear.
others() { ls -A "$work/stick" | grep -v -x -e foto.jpg -e "$1" -e velkor-cli -e velkor-cli.exe; }

entry_case() {  # description, entry name, what the log calls it, command making the entry, extra options
  local what=$1 name=$2 text=$3 make=$4 extra=${5:-}
  echo "== $what =="
  head -c 1048583 /dev/urandom >"$work/stick/foto.jpg"
  head -c 70000 /dev/urandom >"$work/other/system.dat"
  (cd "$work/stick" && eval "$make")
  (sha256sum "$work/stick/foto.jpg" "$work/other/system.dat"; fingerprint "$work/stick/$name") >before.txt
  [ -d "$work/stick/$name" ] && (cd "$work/stick/$name" && sha256sum -- * >>"$work/before.txt")
  rc=$(run test "$target" --size 8 --block 256 --yes --results-dir "$results" $extra)
  check "$what: refused with exit 2" [ "$rc" = 2 ]
  check "$what: named in a FEHLER line" has "FEHLER: Name einer Testdatei ist belegt: $(shown "$name") ist $text"
  (sha256sum "$work/stick/foto.jpg" "$work/other/system.dat"; fingerprint "$work/stick/$name") >after.txt
  [ -d "$work/stick/$name" ] && (cd "$work/stick/$name" && sha256sum -- * >>"$work/after.txt")
  check "$what: user files and the entry unchanged" cmp -s before.txt after.txt
  check "$what: no test file made" [ -z "$(others "$name")" ]
  rm -rf "${work:?}/stick/$name"
}
link_text="eine symbolische Verknüpfung"
if [ -z "$runner" ]; then
  entry_case "link to a user file beside it" velkor.bin "$link_text" "ln -s foto.jpg velkor.bin"
  entry_case "link to a file on another volume" velkor.bin "$link_text" "ln -s '$work/other/system.dat' velkor.bin"
  entry_case "dangling link" velkor.bin "$link_text" "ln -s gibt-es-nicht velkor.bin"
  entry_case "link named like a method-test file" velkor_p02.bin "$link_text" "ln -s foto.jpg velkor_p02.bin" \
    "--method-test --test-points 3 --no-random-points"
else
  # Wine shows a link as the file it leads to: a link leading off the drive shows as a file on
  # another drive; one to a file beside it cannot be told from that file.
  entry_case "link to a file on another volume" velkor.bin \
    "eine Datei auf einem anderen Laufwerk (über eine Verknüpfung erreicht)" "ln -s '$work/other/system.dat' velkor.bin"
fi
entry_case "hard link of a user file" velkor.bin "eine Datei mit 2 Namen (harte Verknüpfung)" "ln foto.jpg velkor.bin"
entry_case "folder" velkor.bin "ein Ordner" "mkdir velkor.bin && echo Brief >velkor.bin/brief.txt"
entry_case "pipe" velkor.bin "ein Gerät oder eine andere Sonderdatei" "mkfifo velkor.bin"

echo "== verify-only over a link =="
# It would read, and judge, a file on another drive.
head -c 4194304 /dev/zero >"$work/other/system.dat"
ln -s "$work/other/system.dat" "$work/stick/velkor.bin"
rc=$(run verify "$target" --size 4 --block 256 --results-dir "$results")
check "verify over a link refused with exit 2" [ "$rc" = 2 ]
[ -n "$runner" ] && link_text="eine Datei auf einem anderen Laufwerk (über eine Verknüpfung erreicht)"
check "verify over a link: named in a FEHLER line" has "FEHLER: Name einer Testdatei ist belegt: $(shown velkor.bin) ist $link_text"
rm -f "$work/stick/velkor.bin"

# --- The system drive --------------------------------------------------------------------------
echo "== the system drive =="
rc=$(run drives)
if [ -z "$runner" ]; then
  check "drives: the root file system is marked System" grep -qE '^/ .* System$' out.txt
  rc=$(run test / --size 1 --yes --results-dir "$results")
  check "test / refused with exit 2" [ "$rc" = 2 ]
  check "test /: nothing written" [ ! -e /velkor.bin ]
  # The volume of the user's home is the system's too: a test volume stands in for it.
  volume sys 2304m
  mkdir "$work/sys/home"
  sysrun() { (export HOME=$work/sys/home; run "$@"); }
  rc=$(sysrun test "$work/sys" --yes --results-dir "$results")
  check "home volume refused with exit 2" [ "$rc" = 2 ]
  check "home volume: the refusal names drive and amount" \
    grep -qE "^Fehler: $work/sys liegt auf dem Systemlaufwerk; der Test würde bis zu [0-9.]+ MB darauf schreiben. Mit --system-drive wird trotzdem getestet \(2.0 GB bleiben frei\).$" err.txt
  check "home volume: nothing written" [ "$(ls -A "$work/sys")" = home ]
  rc=$(sysrun test "$work/sys" --yes --system-drive --results-dir "$results")
  check "home volume with --system-drive exits 0" [ "$rc" = 0 ]
  check "home volume: the floor is logged" has "Hinweis: Das Ziel ist das Systemlaufwerk. Dort bleiben immer mindestens 2.0 GB frei"
  check "home volume: at least 2 GiB stayed free" [ "$(df -B1 --output=avail "$work/sys" | tail -n 1)" -ge $GiB ]
  check "home volume: the test wrote something" [ "$(stat -c %s "$work/sys/velkor.bin")" -gt 0 ]
  rc=$(sysrun verify "$work/sys" --results-dir "$results")
  check "home volume: verify needs no permission" [ "$rc" = 0 ]
  umount "$work/sys"
else
  check "drives: C: is marked System" grep -qE '^C:\\ .* System' out.txt
  rc=$(run test 'C:\' --size 1 --yes --results-dir "$results")
  check "test C:\\ refused with exit 2" [ "$rc" = 2 ]
  check "test C:\\: the refusal says why" has 'Fehler: C:\ liegt auf dem Systemlaufwerk'
  check "test C:\\: nothing written" [ ! -e "$prefix/drive_c/velkor.bin" ]
fi

# --- The program started from the drive under test --------------------------------------------
echo "== the program on the drive under test =="
rm -rf "${work:?}/stick/"*
if [ -z "$runner" ]; then
  cp "$cli" "$work/stick/velkor-cli"
  own_cli=(env XDG_DATA_HOME="$work/xdg" "$work/stick/velkor-cli" --lang de)
  user_log=$work/xdg/velkor/logs/velkor.log
  user_results=$work/xdg/velkor/results
else
  cp "$cli" "$work/stick/velkor-cli.exe"
  own_cli=("$root/scripts/wine-run" 'S:\velkor-cli.exe' --lang de)
  user_folder=$(echo "$prefix"/drive_c/users/*/AppData/Local)/velkor
  rm -rf "$user_folder"
  user_log=$user_folder/logs/velkor.log
  user_results=$user_folder/results
fi
own() { "${own_cli[@]}" "$@" >out.txt 2>err.txt </dev/null; echo $?; }
# --yes answers the question a script expects (a non-empty target), not this one: without a
# terminal the start is refused either way.
for yes in "" --yes; do
  rc=$(own test "$target" --size 4 --block 256 $yes)
  check "own drive without a terminal, '$yes': refused with exit 2" [ "$rc" = 2 ]
  check "own drive, '$yes': the refusal says why" has "Start abgebrochen: Velkor läuft von dem Laufwerk, das getestet werden sollte."
  check "own drive, '$yes': no test file" [ ! -e "$work/stick/velkor.bin" ]
done
check "own drive: the refusal says that --yes does not answer it" has "nicht mit --yes"
rm -rf "$work/stick/logs"
# A person says Yes on the terminal; --yes answers the other question (the program fills the stick).
rc=$(on_terminal j "${own_cli[@]}" test "$target" --size 4 --block 256 --yes)
check "own drive: the question asked on a terminal" has "[j/N]"
check "own drive with Yes on the terminal exits 0" [ "$rc" = 0 ]
check "own drive: the log says where log and results went" has "Hinweis: Velkor läuft vom getesteten Laufwerk. Log und Ergebnisse liegen deshalb im Benutzerordner: Log "
check "own drive: the run's log in the per-user folder" grep -q "Test abgeschlossen." "$user_log"
check "own drive: the results file in the per-user folder" [ -n "$(ls "$user_results"/*.json 2>/dev/null)" ]
check "own drive: no log or results on the drive" [ ! -e "$work/stick/logs" -a ! -e "$work/stick/results" ]
rc=$(own verify "$target" --size 4 --block 256)
check "own drive: verify asks nothing and exits 0" [ "$rc" = 0 ]
check "own drive: verify's log in the per-user folder too" [ ! -e "$work/stick/logs" ]
[ -n "$runner" ] && rm -rf "$user_folder"

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
