#!/bin/sh
# Checks the window's desktop integration as the distributions' tools do:
# the .desktop file with desktop-file-validate, the AppStream metainfo with
# appstreamcli (no network), and the man page with man --warnings and
# lexgrog (whatis must find its NAME line).
#
# Usage: desktop_files_test.sh DESKTOP METAINFO MANPAGE
# Exits 77 (a skip for ctest) when a tool is missing, unless
# CASEWRIGHT_REQUIRE_TOOLS=1 (set by CI): then a missing tool fails.
set -u
desktop=$1 metainfo=$2 manpage=$3

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db lexgrog:man-db; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    message="${tool%%:*} is missing (Debian package ${tool#*:})"
    if [ "${CASEWRIGHT_REQUIRE_TOOLS:-}" = 1 ]; then
      echo "FAIL: $message, and CASEWRIGHT_REQUIRE_TOOLS=1 requires it"
      exit 1
    fi
    echo "SKIP: $message"
    exit 77
  fi
done

status=0
# desktop-file-validate prints hints without failing; a hint is a fault too.
out=$(desktop-file-validate "$desktop" 2>&1) || status=1
[ -z "$out" ] || { echo "$out"; status=1; }
appstreamcli validate --no-net "$metainfo" || status=1
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "man --warnings: $warnings"; status=1; }
lexgrog "$manpage" || status=1
exit $status
