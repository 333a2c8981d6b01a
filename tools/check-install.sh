#!/usr/bin/env bash
# The Debian packages as a user gets them: built by dpkg-buildpackage (the
# programs alone, no tests or benchmarks), checked by lintian (no error, no
# warning), installed with apt-get, then run: the installed casewright-cli
# writes the golden cases of the bundled example from the installed default
# tables, the window answers --version, the installed desktop file and
# metainfo validate, and Debian's python3 imports the installed module, whose
# cases of the example are the golden ones.  The packages are removed again at the end.  Run as root.
#   tools/check-install.sh [OUT_DIR]    the packages are moved to OUT_DIR
#                                       (default build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build-deb}
version=$(dpkg-parsechangelog -S Version)
work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  if dpkg -s casewright-cli >/dev/null 2>&1; then
    apt-get purge -y casewright casewright-cli python3-casewright >/dev/null
  fi
}
trap cleanup EXIT

dpkg-buildpackage -us -uc -b -j"$(nproc)"
# dpkg-buildpackage writes beside the source tree; the packages go to OUT_DIR.
rm -rf "$out"
mkdir -p "$out"
mv ../casewright*_"$version"_*.deb ../python3-casewright*_"$version"_*.deb ../casewright_"$version"_*.buildinfo ../casewright_"$version"_*.changes "$out"/
lintian --fail-on error,warning "$out"/casewright_"$version"_*.changes

apt-get install -y ./"$out"/casewright-cli_"$version"_*.deb ./"$out"/casewright_"$version"_*.deb \
  ./"$out"/python3-casewright_"$version"_*.deb
test "$(command -v casewright-cli)" = /usr/bin/casewright-cli
zgrep -q 'combined' /usr/share/man/man1/casewright-cli.1.gz
test -f /usr/share/bash-completion/completions/casewright-cli
test -f /usr/share/man/man1/casewright.1.gz
test -f /usr/share/doc/casewright/README.md
test -f /usr/share/doc/casewright/data/tables/README.md
test -f /usr/share/icons/hicolor/scalable/apps/org.casewright.Casewright.svg
desktop-file-validate /usr/share/applications/org.casewright.Casewright.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.casewright.Casewright.metainfo.xml
casewright --version
casewright-cli --text data/examples/example.txt --classes data/examples/example.classes \
  --output "$work/example.cases"
cmp "$work/example.cases" data/examples/golden/example.cases
echo "The installed casewright-cli writes the golden cases of the example"

# Debian's python3, from a folder without the sources, so that the installed
# module is the one imported.
examples=$PWD/data/examples
(cd "$work" && /usr/bin/python3 - "$examples" <<'PY'
import pathlib, sys
import casewright
examples = pathlib.Path(sys.argv[1])
assert casewright.__file__.startswith("/usr/lib/python3/dist-packages/casewright/"), casewright.__file__
frame = casewright.cases(examples / "example.txt", classes=str(examples / "example.classes"))
rows = [" ".join(map(str, row)) for row in frame.drop(columns=["text", "sentence"]).itertuples(index=False)]
assert rows == (examples / "golden" / "example.cases").read_text().splitlines()
PY
)
echo "The installed Python module gives the golden cases of the example"
