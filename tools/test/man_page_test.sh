#!/bin/sh
# Checks the man page of casewright-cli as man-db reads it: no warning from
# man --warnings, a NAME line that lexgrog (and so apropos and whatis)
# reads, and UTF-8 text whole ("Léxico.db", which help2man in the C locale
# writes as "L??xico.db").  Skips (77) without man-db, and fails then when
# CASEWRIGHT_REQUIRE_TOOLS=1.
page=$1
fail() { echo "FAIL: $*"; exit 1; }
for tool in man lexgrog; do
  if ! command -v $tool > /dev/null; then
    [ "$CASEWRIGHT_REQUIRE_TOOLS" = 1 ] && fail "$tool (Debian package man-db) is missing"
    echo "SKIP: $tool (Debian package man-db) is missing"
    exit 77
  fi
done
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
lexgrog "$page" | grep -q ': "casewright-cli - .' || fail "lexgrog finds no NAME line: $(lexgrog "$page")"
iconv -f UTF-8 -t UTF-8 "$page" > /dev/null || fail "$page is not UTF-8"
grep -q 'Build Léxico\.db' "$page" || fail "the help's \"Léxico.db\" is not whole in $page"
echo "PASS: $page"
