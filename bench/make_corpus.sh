#!/bin/sh
# The speed corpus: real Portuguese prose from Debian's documentation
# packages (LibreOffice and GIMP help, the Debian Reference, FAQ and Edu
# manuals, the LilyPond and Ubuntu packaging guides, manual pages), about
# 5,000 texts and 10.8 MB in Windows-1252 with no paragraph repeated.
# The packages are fetched with `apt-get download` and unpacked with
# `dpkg -x` into the cache folder; nothing is installed.  Prints the folder
# of the texts (00001.txt, 00002.txt...), building it only if it is missing.
#
#   bench/make_corpus.sh [CACHE_FOLDER]   (${XDG_CACHE_HOME:-~/.cache}/casewright-corpus)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
cache=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/casewright-corpus}
texts=$cache/texts
if [ -f "$texts/.complete" ]; then
  echo "$texts"
  exit 0
fi

packages="debian-edu-doc-legacy-pt-br debian-edu-doc-legacy-pt-pt debian-edu-doc-pt-br
  debian-edu-doc-pt-pt debian-faq-pt debian-reference-pt-br gimp-help-pt gimp-help-pt-br
  libreoffice-help-pt libreoffice-help-pt-br lilypond-doc-html-pt manpages-pt-br
  manpages-pt-br-dev ubuntu-packaging-guide-html-pt-br"

mkdir -p "$cache/debs"
rm -rf "$cache/unpacked" "$texts"
echo "make_corpus.sh: fetching the documentation packages into $cache/debs" >&2
# shellcheck disable=SC2086
(cd "$cache/debs" && apt-get download $packages >&2)
for deb in "$cache"/debs/*.deb; do dpkg -x "$deb" "$cache/unpacked"; done
python3 "$here/corpus_text.py" "$cache/unpacked" "$texts" >&2
rm -rf "$cache/unpacked"
touch "$texts/.complete"
echo "$texts"
