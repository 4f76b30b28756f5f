#!/usr/bin/env bash
# velkor-cli as a user runs it: a test on a folder, a verify of it, a verify after a block in the
# middle was overwritten, exports in all six formats, bad options. Usage: cli_e2e.sh VELKOR_CLI [RUNNER]
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runner=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir drive results
# The runs write to "drive": a small volume of its own where one can be mounted (as root), so they
# never touch the disk the system runs from; elsewhere a folder on that disk, which velkor-cli
# tests only when told to.
sys=""
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=1200m velkor-cli-e2e drive 2>/dev/null; then
  trap 'umount "$work/drive"; rm -rf "$work"' EXIT
else
  sys=--system-drive
fi
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
run() { $runner "$cli" --lang de "$@" >out.txt 2>err.txt < /dev/null; echo $?; }

rc=$(run test drive $sys --size 16 --block 256 --workers 1 --results-dir results --yes)
check "test exits 0" [ "$rc" = 0 ]
check "report on standard output" grep -q "Zusammenfassung: geschrieben 16.0 MB, zurück gelesen/geprüft 16.0 MB, Fehler 0, Zuverlässigkeit 100.00%" out.txt
check "results file named" grep -q "^Ergebnisdatei: " out.txt
check "log lines on standard error" grep -q "Test abgeschlossen." err.txt
check "test file left for verify" [ "$(stat -c %s drive/velkor.bin)" = 16777216 ]
results_file=$(sed -n "s/^Ergebnisdatei: //p" out.txt | tr -d "\r" | tr "\\\\" /)
python3 -c "import json,sys; d=json.load(open(sys.argv[1])); assert d['final'] is True" "$results_file"
check "results file is final JSON" [ $? = 0 ]

rc=$(run verify drive --block 256 --results-dir results)
check "verify exits 0" [ "$rc" = 0 ]
check "verify checked 64 blocks" grep -q "geprüft=64, Fehler=0" err.txt
check "verify wrote nothing" [ "$(stat -c %s drive/velkor.bin)" = 16777216 ]

# Verify-only takes the block size and the size the files were written with, and says so.
rc=$(run verify drive --block 1024 --size 8 --results-dir results)
check "verify with another block size and size exits 0" [ "$rc" = 0 ]
check "written block size found" grep -q "Hinweis: Die Testdateien wurden mit einer Blockgröße von 256 KB geschrieben, eingestellt sind 1024 KB" err.txt
check "size of the files found" grep -q "Hinweis: Die Testdateien enthalten 16.0 MB, eingestellt sind 8.0 MB" err.txt
check "every block checked with the written block size" grep -q "geprüft=64, Fehler=0" err.txt

printf 'XXXXXXXXXXXXXXXX' | dd of=drive/velkor.bin bs=1 seek=$((33 * 262144 + 100)) conv=notrunc status=none
rc=$(run verify drive --block 256 --results-dir results)
check "verify of a damaged file exits 1" [ "$rc" = 1 ]
check "mismatch logged with block and offset" grep -q "FEHLER: Datenabweichung bei Block 33, Offset=8650752" err.txt
check "report shows the error" grep -q "Zuverlässigkeit 0.00%" out.txt

for format in csv xls text formatted json pdf; do
  rc=$(run export "$results_file" --format $format --output "export.$format")
  check "export $format" [ "$rc" = 0 -a -s "export.$format" ]
done
python3 -c "import csv,sys; rows=list(csv.reader(open(sys.argv[1], encoding='utf-8'), delimiter=';')); i=rows.index([]); assert rows[i+1][0]=='Art des Zugriffs', rows" export.csv
check "CSV reads back" [ $? = 0 ]
python3 - export.json "$results_file" <<'PY'
import json, sys
export, source = (json.load(open(p, encoding="utf-8")) for p in sys.argv[1:3])
for key in ("drive", "fileSystem", "testSizeBytes", "reserveFreeBytes", "testPoints"):
    assert export[key] == source[key], (key, export[key], source[key])
assert export["drive"] and export["testSizeBytes"] == 16777216, export
PY
check "JSON export: the results file's drive and settings" [ $? = 0 ]
check "CSV export: yes/no in German" grep -qE ";(ja|nein);[0-9]+;" export.csv
check "PDF export is a PDF" grep -q "^%PDF-1.4" export.pdf

for bad in "" "frobnicate" "test" "test drive --size" "test drive --size 1x" "test drive --bogus" \
           "export $results_file --format doc --output x" "verify drive --delete"; do
  rc=$(run $bad)
  check "bad input '$bad' exits 2" [ "$rc" = 2 ]
  check "bad input '$bad' says one line" [ "$(wc -l < err.txt)" = 1 ]
done
rc=$(run test missing-folder --size 1 --yes)
check "missing target exits 2" [ "$rc" = 2 ]
rc=$(run test drive $sys --size 1 --block 4 --reserve 99999999 --yes --results-dir results)
check "preflight failure exits 2" [ "$rc" = 2 ]
check "preflight failure logged" grep -q "FEHLER: Nicht genug freier Speicher" err.txt
check "the failure is the last status, not an end summary" \
  [ "$(tail -n 1 err.txt | tr -d '\r')" = "Fehler: Testgröße plus gewünschter Rest passt nicht in den freien Speicher." ]
# "Quorvel-Modus" tests the whole free space: a size given with it is refused, not dropped.
before=$(ls -l drive)
rc=$(run test drive $sys --size 4 --profile quorvel --yes --results-dir results)
check "--size with --profile quorvel exits 2" [ "$rc" = 2 ]
check "--size with --profile quorvel says why" grep -q "profile quorvel" err.txt
check "--size with --profile quorvel writes nothing" [ "$(ls -l drive)" = "$before" ]
rc=$(run test drive $sys --size 4 --block 256 --results-dir results)
check "non-empty target without terminal or --yes refused" [ "$rc" = 2 ]

rc=$(run test drive $sys --size 4 --block 256 --yes --delete --results-dir results)
check "test with --delete exits 0" [ "$rc" = 0 ]
check "--delete removed the run's file" [ ! -e drive/velkor.bin ]
if [ -z "$runner" ]; then  # a console Ctrl-C cannot be sent through Wine from here
  # The previous run's err.txt also holds "Volltest 1/1": gone first, the wait below cannot see it
  # and send the signal before the program handles it (a background job starts with it ignored).
  rm -f out.txt err.txt
  $runner "$cli" --lang de test drive $sys --size 1000 --block 1024 --yes --results-dir results >out.txt 2>err.txt </dev/null &
  pid=$!
  for _ in $(seq 50); do grep -q "Volltest 1/1" err.txt 2>/dev/null && break; sleep 0.1; done
  kill -INT $pid; wait $pid; rc=$?
  check "Ctrl-C exits 130" [ "$rc" = 130 ]
  check "Ctrl-C ends as a stopped run" grep -q "Test abgebrochen." err.txt
  stopped_file=$(sed -n 's/^Ergebnisdatei: //p' out.txt)
  check "Ctrl-C run has its results file" [ -s "$stopped_file" ]
  check "Ctrl-C report: stopped" grep -q "^ABGEBROCHEN" out.txt
  # What was done, not what was planned: written less than 4000 MB, nothing verified.
  python3 - "$stopped_file" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
r = d["results"][0]
assert r["cancelled"] is True and r["stopReason"] == "user" and r["verified"] is False, r
assert r["writtenBytes"] < r["bytes"] and r["verifiedBytes"] == 0, r
assert "Prüfung unvollständig" in d["summaryText"] and "100.00%" not in d["summaryText"], d["summaryText"]
assert "3.9 GB" not in d["summaryText"], d["summaryText"]
PY
  check "Ctrl-C results file: the amounts done, no full check" [ $? = 0 ]
  rm -f drive/velkor.bin
fi
rc=$(run --help)
check "help exits 0" [ "$rc" = 0 ]

# The terminal's language from the locale variables, most specific first; --lang wins over them.
if [ -z "$runner" ]; then  # Wine takes its language from its own configuration
  say() { env -u LC_ALL -u LC_MESSAGES -u LANG "$@" 2>&1 </dev/null | head -n 1; }
  check "LANG=fr: French help" [ "$(say LANG=fr_FR.UTF-8 "$cli" test --help)" = "velkor-cli test CIBLE... [options]" ]
  check "LC_ALL=C over LANG=de: English" [ "$(say LC_ALL=C LANG=de_DE.UTF-8 "$cli" frobnicate)" = \
    "velkor-cli: Unknown command: frobnicate. Help: velkor-cli --help" ]
  check "LC_MESSAGES=es over LANG=fr: Spanish" [ "$(say LC_MESSAGES=es_ES LANG=fr_FR "$cli" test)" = \
    "velkor-cli: No se indicó ningún destino. Ayuda: velkor-cli test --help" ]
  check "no locale: English" [ "$(say "$cli" drives --help)" = "velkor-cli drives" ]
  check "--lang de over LANG=fr" [ "$(say LANG=fr_FR.UTF-8 "$cli" --lang de test --help)" = "velkor-cli test ZIEL... [Optionen]" ]
fi

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all checks passed"
