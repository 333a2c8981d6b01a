#!/usr/bin/env bash
# A packager's build: the programs alone (no GoogleTest, Google Benchmark or
# QtTest), installed into a temporary prefix, from which casewright-cli must
# find its default tables and write the golden cases of the bundled example;
# the man pages, the bash completion, the READMEs and the desktop files are
# installed beside them.
#   tools/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=OFF
cmake --build "$build"
cmake --install "$build" --prefix "$prefix"
test -x "$prefix/bin/casewright"
grep -q 'combined' "$prefix/share/man/man1/casewright-cli.1"
test -f "$prefix/share/bash-completion/completions/casewright-cli"
test -f "$prefix/share/doc/casewright/README.md"
test -f "$prefix/share/man/man1/casewright.1"
test -f "$prefix/share/applications/org.casewright.Casewright.desktop"
test -f "$prefix/share/icons/hicolor/scalable/apps/org.casewright.Casewright.svg"
test -f "$prefix/share/metainfo/org.casewright.Casewright.metainfo.xml"
test -f "$prefix/share/doc/casewright/data/tables/README.md"
"$prefix/bin/casewright-cli" --text data/examples/example.txt --classes data/examples/example.classes \
  --output "$prefix/example.cases"
cmp "$prefix/example.cases" data/examples/golden/example.cases
echo "The installed casewright-cli writes the golden cases of the example"
