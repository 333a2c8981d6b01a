#!/usr/bin/env bash
# Rebuild Casewright's default table sources and example texts from pinned
# Debian packages.
#
#   [CASEWRIGHT_CLI=PATH] tools/build-tables-data.sh [DEB_DIR]
#
# Downloads the packages below with `apt-get download` (or takes them from
# DEB_DIR when it holds the same files), checks their SHA-256 sums, unpacks
# them with `dpkg-deb -x` and writes:
#   data/tables/lexicon.tsv, stoplist.txt, SOURCES, copyright/
#   data/examples/*.txt, *.classes, SOURCES, copyright/
# data/tables/cues.txt is hand-written: it is only checked here.
# The sentences of the examples (its `sentences --format tsv` listing), their
# classes and the characters a word key may hold come from a built
# casewright-cli: the one CASEWRIGHT_CLI names, else build/bin/casewright-cli
# of this repository.
# Needs apt-get, dpkg-deb, python3 and lt-print (Debian package lttoolbox-dev).
# Running it twice gives identical files.
set -euo pipefail

case ${1:-} in
  -h | --help)
    sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"
    exit 0
    ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
tables=$root/data/tables
examples=$root/data/examples
helpers=$root/tools/data
cli=${CASEWRIGHT_CLI:-$root/build/bin/casewright-cli}

# package, version, sha256 of the .deb (Debian 12 "bookworm")
packages=(
  "apertium-por-cat 0.10.1-2 64503281f1b9f853318fc1f5d64c8c794f5468882a2d14baf7a8bffa6eae211b"
  "liblingua-stopwords-perl 0.12-2 9e8fe6d73c5d85cb54f2670cb60d0427c51ffca4ac64a78335041276597abbd8"
  "focalinux-text 2010-09-3.1 21e42b7112aec61f255cdafbeb441a50526c98e167fc0d33d74939d191db92dc"
  "debian-faq-pt 11.1 ec3c25671b78da0359611fb904976d5a62f4054953a97a3db0f42883b21d45ea"
  "debian-reference-pt 2.100 c9c5d30a8608485bad60f7bd7ce6c755af4a129c2b30511ee733b90ac17e7dfa"
)

for tool in apt-get dpkg-deb python3 lt-print sha256sum; do
  command -v "$tool" >/dev/null || {
    echo "build-tables-data: $tool not found (lt-print: apt-get install lttoolbox-dev)" >&2
    exit 1
  }
done
[ -x "$cli" ] || {
  echo "build-tables-data: $cli is not an executable casewright-cli" \
    "(build it, or name it in CASEWRIGHT_CLI)" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debs=$work/debs
mkdir -p "$debs" "$work/x"

for entry in "${packages[@]}"; do
  read -r name version sum <<<"$entry"
  file=${name}_${version}_all.deb
  if [ -n "${1:-}" ] && [ -f "$1/$file" ]; then
    cp "$1/$file" "$debs/"
  else
    (cd "$debs" && apt-get download -q "$name=$version" >/dev/null 2>&1) || {
      echo "build-tables-data: cannot download $name=$version (apt-get update?)" >&2
      exit 1
    }
  fi
  echo "$sum  $debs/$file" | sha256sum -c --quiet - || {
    echo "build-tables-data: checksum mismatch for $file" >&2
    exit 1
  }
  dpkg-deb -x "$debs/$file" "$work/x/$name"
done

por=$work/x/apertium-por-cat/usr/share/apertium/apertium-por-cat
snowball=$work/x/liblingua-stopwords-perl/usr/share/perl5/Lingua/StopWords/PT.pm
foca=$work/x/focalinux-text/usr/share/doc/focalinux/text
faq=$work/x/debian-faq-pt/usr/share/doc/debian/FAQ/debian-faq.pt.txt.gz
ref=$work/x/debian-reference-pt/usr/share/debian-reference/debian-reference.pt.txt.gz

# Tables.
lt-print "$por/por-cat.automorf.bin" >"$work/automorf.att"
mkdir -p "$tables/copyright" "$examples/copyright"
python3 -B "$helpers/build_tables.py" --att "$work/automorf.att" \
  --snowball "$snowball" --cues "$tables/cues.txt" --out "$tables" \
  --cli "$cli" >"$work/counts"
# shellcheck disable=SC1091
. "$work/counts"

for name in apertium-por-cat liblingua-stopwords-perl; do
  cp "$work/x/$name/usr/share/doc/$name/copyright" "$tables/copyright/$name"
done
for name in focalinux-text debian-faq-pt debian-reference-pt; do
  cp "$work/x/$name/usr/share/doc/$name/copyright" "$examples/copyright/$name"
done

sha_of() { sha256sum "$debs/$1" | cut -d' ' -f1; }
lt_version=$(dpkg-query -W -f '${Version}' lttoolbox-dev 2>/dev/null || echo unknown)

cat >"$tables/SOURCES" <<SRC
Sources of Casewright's default tables (written by tools/build-tables-data.sh).

Packages (Debian 12 "bookworm"):
  apertium-por-cat 0.10.1-2
    file    apertium-por-cat_0.10.1-2_all.deb
    sha256  $(sha_of apertium-por-cat_0.10.1-2_all.deb)
    used    usr/share/apertium/apertium-por-cat/por-cat.automorf.bin
            (Portuguese morphological analyser; Portuguese data GPL-3+)
    dumped  with lt-print from lttoolbox-dev $lt_version
  liblingua-stopwords-perl 0.12-2
    file    liblingua-stopwords-perl_0.12-2_all.deb
    sha256  $(sha_of liblingua-stopwords-perl_0.12-2_all.deb)
    used    usr/share/perl5/Lingua/StopWords/PT.pm
            (Snowball Portuguese stopword list; Artistic or GPL-1+)

Counts:
  lexicon.tsv   $forms forms, $lemmas distinct lemmas, $ambiguous ambiguous forms
  stoplist.txt  $stopwords keys (from $snowball Snowball words, of which
                $(wc -w <<<"$snowball_dropped") dropped as misspelled: $snowball_dropped)
  cues.txt      $cues cue words (hand-written, checked to be their own keys)

Lexicon filters (an analysis is kept only when all hold):
  - the form is a possible word key: non-empty, made of word characters and
    periods, unchanged by lower-casing, representable in Windows-1252
    (so no capitals, blanks, apostrophes, n-tilde or other letters outside
    the word characters);
  - the lemma passes the same test;
  - no enclitic pronoun (verb+clitic forms such as "faz-se", "dá-lo-ia");
  - not a proper noun (<np>), not a multi-word entry ("#" or a blank);
  - contractions ("do" = de+o, "pelo" = por+o) take the lemma of their
    first part, the preposition.

Ambiguity rule (a form with several lemmas gets the first by this ranking):
  0 function words (prepositions, determiners, pronouns, conjunctions,
    relatives, pre-adverbs)
  1 the verbs ser, estar, ter, haver, ir, in that order
  2 nouns
  3 participles, to their verb
  4 adjectives
  5 adverbs
  6 other verb forms
  7 anything else
  Within a tier a lemma equal to the form wins, then the lemma first in
  byte order. Hand-checked exceptions (in tools/data/build_tables.py):
  estado, estados -> estado; estáveis -> estável; eras -> era;
  fora -> fora; ida, idas -> ida; termos -> termo.

Stoplist: every Snowball word except the misspelled ones, plus every form
and lemma that the analyser tags as preposition, determiner, pronoun,
conjunction or relative, each stored as its lexicon key; function words that
mostly carry content are left out: bastante caso certo extra logo salvo
segundo.
SRC

# Examples.
python3 "$helpers/build_examples.py" --focalinux "$foca" --faq "$faq" \
  --reference "$ref" --out "$examples" >"$work/examples.log"
{
  echo "Example texts (written by tools/build-tables-data.sh): running prose cut"
  echo "from Debian's Portuguese documentation, one paragraph a line, paragraphs"
  echo "separated by a blank line, in Windows-1252."
  echo
  echo "file                 source (package version, file, sections)"
  echo "example.txt          focalinux-text 2010-09-3.1, iniciante/index.txt.gz, chapter 1; CR LF"
  echo "faq-debian.txt       debian-faq-pt 11.1, debian-faq.pt.txt.gz, chapters 1-2; LF"
  echo "foca-seguranca.txt   focalinux-text 2010-09-3.1, avancado/index.txt.gz, chapter 19; CR LF"
  echo "large-1mb.txt        all prose paragraphs and list items of the three focalinux-text"
  echo "                     guides, then debian-faq-pt, then debian-reference-pt 2.100"
  echo "                     (debian-reference.pt.txt.gz), cut below 1,000,000 bytes; LF"
  echo
  echo "Licences (full notices in copyright/):"
  echo "  focalinux-text       GNU Free Documentation License, (C) Gleydson Mazioli da Silva"
  echo "  debian-faq-pt        verbatim and modified copies allowed under the same notice,"
  echo "                       (C) Software in the Public Interest"
  echo "  debian-reference-pt  GPL-2+, (C) Osamu Aoki and translators"
  echo
  echo "Packages:"
  for entry in "${packages[@]:2}"; do
    read -r name version _ <<<"$entry"
    echo "  ${name}_${version}_all.deb  sha256 $(sha_of "${name}_${version}_all.deb")"
  done
  echo
  echo "Sizes and sentences. Each TEXT.classes holds one class a sentence, as"
  echo "location and cue methods would choose: 1 for the first sentence of a"
  echo "paragraph when the paragraph has two or more sentences or that sentence"
  echo "holds a cue word (data/tables/cues.txt), 0 for every other sentence."
  echo "Illustrative data, not hand-annotated summaries."
} >"$examples/SOURCES"
"$cli" tables build --lexicon "$tables/lexicon.tsv" \
  --stoplist "$tables/stoplist.txt" --cues "$tables/cues.txt" \
  --into "$work/built" >/dev/null
for text in example faq-debian foca-seguranca large-1mb; do
  n=$(python3 -B "$helpers/example_classes.py" "$cli" "$work/built" \
    "$examples/$text.txt" --write "$examples/$text.classes")
  w=$(wc -w <"$examples/$text.txt")
  b=$(wc -c <"$examples/$text.txt")
  printf '  %-20s %8d bytes %7d words %6d sentences\n' "$text.txt" "$b" "$w" "$n" \
    >>"$examples/SOURCES"
done

cat "$work/counts" "$work/examples.log"
