#!/usr/bin/env bash
# Checks what scripts/package wrote to dist/: the checksums, the Debian package's fields, its
# install into an empty folder tree (no network, nothing of the host touched), the installed
# velkor-cli's version, the four manual pages as man renders them, the bash completion against the
# program's own help, and the zip's contents and version resource.
# Usage: package_check.sh DIST_DIR
set -u
source "$(dirname "$0")/../../scripts/lib.sh"
dist=$(cd "$1" && pwd)
version=$(velkor_version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
contains() { grep -qF -- "$2" "$1"; }

deb=$(ls "$dist"/velkor-cli_"$version"_*.deb 2>/dev/null | head -n 1)
zip=$dist/velkor-$version-win64.zip
check "the .deb is there" [ -f "$deb" ]
check "the zip is there" [ -f "$zip" ]
check "SHA256SUMS holds both and matches" bash -c "cd '$dist' && [ \$(wc -l < SHA256SUMS) = 2 ] && sha256sum --quiet -c SHA256SUMS"
[ -f "$deb" ] && [ -f "$zip" ] || { echo "$failures checks failed"; exit 1; }

# --- the Debian package ----------------------------------------------------------------------
dpkg-deb -f "$deb" >"$work/control"
check "package name" [ "$(dpkg-deb -f "$deb" Package)" = velkor-cli ]
check "package version is the program's" [ "$(dpkg-deb -f "$deb" Version)" = "$version" ]
check "dependencies from dpkg-shlibdeps" bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libc6 (>= '"
check "maintainer and description" bash -c "[ -n \"\$(dpkg-deb -f '$deb' Maintainer)\" ] && [ -n \"\$(dpkg-deb -f '$deb' Description)\" ]"
dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' >"$work/contents"
for path in ./usr/bin/velkor-cli ./usr/share/man/man1/velkor-cli.1.gz ./usr/share/man/de/man1/velkor-cli.1.gz \
            ./usr/share/man/fr/man1/velkor-cli.1.gz ./usr/share/man/es/man1/velkor-cli.1.gz \
            ./usr/share/bash-completion/completions/velkor-cli ./usr/share/doc/velkor-cli/copyright; do
  check "holds $path" contains "$work/contents" " $path"
done
check "owned by root" bash -c "! grep -v ' root/root ' '$work/contents'"
check "program is executable" grep -q '^-rwxr-xr-x root/root ./usr/bin/velkor-cli$' "$work/contents"

# Into an empty tree: with dpkg itself where we are root (the tree gets its own package database;
# the libraries it depends on are the host's, so their check is left to apt), else unpacked.
tree=$work/root
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p "$tree/var/lib/dpkg/info" "$tree/var/lib/dpkg/updates"
  touch "$tree/var/lib/dpkg/status"
  # Container images often exclude manual pages and docs from every install: not here.
  dpkg --root="$tree" --log=/dev/null --force-depends --force-script-chrootless \
    --path-include='/usr/share/man/*' --path-include='/usr/share/doc/*' -i "$deb" >"$work/dpkg.txt" 2>&1
  check "dpkg -i --root installs it" [ $? = 0 ]
  check "dpkg lists it as installed" bash -c "dpkg --root='$tree' -s velkor-cli 2>/dev/null | grep -q '^Status: install ok installed'"
else
  dpkg-deb -x "$deb" "$tree"
  check "dpkg-deb -x unpacks it" [ $? = 0 ]
fi

"$tree/usr/bin/velkor-cli" --version >"$work/version.txt" 2>&1
check "installed velkor-cli --version exits 0" [ $? = 0 ]
check "installed velkor-cli names version $version" [ "$(head -n 1 "$work/version.txt")" = "velkor-cli $version" ]
check "installed velkor-cli names the licence" contains "$work/version.txt" "Copyright (c) 2026 The Velkor authors"
check "nothing written beside the installed program" [ "$(ls "$tree/usr/bin")" = velkor-cli ]
check "copyright file carries the licence line" contains "$tree/usr/share/doc/velkor-cli/copyright" \
  "Copyright (c) 2026 The Velkor authors"

for page in "man1:NAME:DESCRIPTION" "de/man1:NAME:BESCHREIBUNG" "fr/man1:NOM:DESCRIPTION" "es/man1:NOMBRE:DESCRIPCIÓN"; do
  IFS=: read -r folder first section <<<"$page"
  file=$tree/usr/share/man/$folder/velkor-cli.1.gz
  MANWIDTH=80 man --warnings -E UTF-8 -l "$file" >"$work/page.txt" 2>"$work/page.err"
  check "man -l $folder/velkor-cli.1.gz renders" [ $? = 0 ]
  check "man -l $folder/velkor-cli.1.gz without warnings" [ ! -s "$work/page.err" ]
  check "$folder page: title, $section, version" bash -c "grep -q '^VELKOR-CLI(1)' '$work/page.txt' &&
    grep -q '^$section' '$work/page.txt' && grep -q 'velkor-cli $version' '$work/page.txt'"
  [ -s "$work/page.err" ] && head -n 5 "$work/page.err"
done
check "an English locale gets the English page" bash -c "MANPATH='$tree/usr/share/man' man -L en -w velkor-cli | grep -q '/share/man/man1/'"
for language in de fr es; do
  check "a $language locale gets the $language page" bash -c "MANPATH='$tree/usr/share/man' man -L $language -w velkor-cli | grep -q '/$language/man1/'"
  # Each page lists every option its language's help lists.
  MANWIDTH=200 man -E UTF-8 -l "$tree/usr/share/man/$language/man1/velkor-cli.1.gz" 2>/dev/null >"$work/page.txt"
  for command in test verify export drives; do
    for option in $("$tree/usr/bin/velkor-cli" --lang $language $command --help | grep -oE '^  --[a-z-]+' | sort -u); do
      check "$language page names $option" grep -q -- "$option" "$work/page.txt"
    done
  done
done

# The completion offers what the program's help lists, command by command.
completion=$tree/usr/share/bash-completion/completions/velkor-cli
complete_words() {  # words of the command line; the last one is completed
  PATH=$tree/usr/bin:$PATH bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
    _velkor_cli; printf "%s\n" "${COMPREPLY[@]}" | sort -u | tr "\n" " "' _ "$completion" "$@"
}
check "completion: commands" [ "$(complete_words velkor-cli '')" = "--help --lang --version drives export test verify " ]
check "completion: languages" [ "$(complete_words velkor-cli test /m --lang f)" = "fr " ]
check "completion: a language before the command" [ "$(complete_words velkor-cli --lang '')" = "de en es fr " ]
check "completion: a started command" [ "$(complete_words velkor-cli te)" = "test " ]
check "completion: profiles" [ "$(complete_words velkor-cli test /m --profile z)" = "zuverlaessig " ]
check "completion: formats" [ "$(complete_words velkor-cli export r.json --format p)" = "pdf " ]
mkdir -p "$work/targets/stick"
check "completion: folders as targets" bash -c "cd '$work/targets' && [ \"\$(PATH='$tree/usr/bin':\$PATH bash -c 'source \"$completion\"; COMP_WORDS=(velkor-cli verify st); COMP_CWORD=2; _velkor_cli; echo \${COMPREPLY[0]}')\" = stick ]"
for command in test verify export drives; do
  helped=$("$tree/usr/bin/velkor-cli" $command --help | grep -oE '^  (-h, )?--[a-z-]+' | grep -oE -- '--[a-z-]+' | sort | tr "\n" " ")
  check "completion: options of $command as its help lists them" [ "$(complete_words velkor-cli $command x --)" = "$helped" ]
done

# --- the zip ---------------------------------------------------------------------------------
unzip -Z1 "$zip" >"$work/zip.txt"
for name in velkor.exe velkor-cli.exe LIESMICH.txt LICENSE.txt; do
  check "zip holds velkor-$version-win64/$name" grep -qx "velkor-$version-win64/$name" "$work/zip.txt"
done
check "zip's licence carries the licence line" bash -c "unzip -p '$zip' velkor-$version-win64/LICENSE.txt | grep -q 'Copyright (c) 2026 The Velkor authors'"
for exe in velkor.exe velkor-cli.exe; do
  unzip -p "$zip" "velkor-$version-win64/$exe" >"$work/$exe"
  check "$exe has version $version in its version resource" python3 - "$work/$exe" "$version" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
key = "ProductVersion".encode("utf-16-le")
at = data.find(key)
sys.exit(0 if at >= 0 and sys.argv[2].encode("utf-16-le") in data[at:at + 80] else 1)
PY
done

if [ "$failures" -ne 0 ]; then echo "$failures checks failed"; exit 1; fi
echo "all package checks passed"
