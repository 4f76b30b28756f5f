#!/usr/bin/env bash
# The window on a screen of 150 % under Wine: the prefix's LogPixels is 144 for the DPI test and
# back to what it was afterwards (ctest runs this alone: the whole prefix sees the setting).
#   dpi_wine.sh UI_TESTS_EXE WINE_RUN
set -euo pipefail
exe=$1
runner=$2
[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
key='HKCU\Control Panel\Desktop'
before=$("$runner" reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" {print $3}' || true)
restore() {
  if [ -n "$before" ]; then
    "$runner" reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f >/dev/null 2>&1 || true
  else
    "$runner" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap restore EXIT
"$runner" reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
VELKOR_EXPECT_DPI=144 "$runner" "$exe" --gtest_filter='MainWindow.OpensAtTheScreensDpi:TextsFit.*:DiagnosisWindowTest.*' --gtest_color=no
