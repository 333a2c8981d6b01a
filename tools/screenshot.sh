#!/bin/sh
# Makes the documentation's pictures of the window from the current build,
# on Qt's offscreen platform (no display needed): the main form filled with
# the bundled example and run, the Sentences view, the Summary view with its
# marks and figures, and a cross-validation's result, each 1280 x 900
# (src/gui/screenshots.cpp drives the window).  The main form's picture is
# also the README's, docs/screenshot.png.
#
# Usage: tools/screenshot.sh [BUILD_DIR] [PICTURES]
#   BUILD_DIR  a build tree configured with the window (default: build)
#   PICTURES   where the PNGs go (default: docs/images)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
pictures=${2:-$root/docs/images}
examples=$root/data/examples

cmake --build "$build" --target casewright-screenshots casewright-cli default_tables >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# The program works in a scratch folder holding copies of the examples, so
# the pictures show short relative paths rather than this machine's folders.
for text in example faq-debian foca-seguranca; do
  cp "$examples/$text.txt" "$examples/$text.classes" "$work/"
  printf '%s.txt\t%s.classes\t\n' "$text" "$text" >>"$work/corpus.tsv"
done
# The reference extract: the sentences of class 1, chosen by their classes
# as scores (ties go to the earlier sentence, so exactly those).
tr -s ' ' '\n' <"$work/example.classes" | grep . >"$work/example.scores"
ones=$(grep -c '^1$' "$work/example.scores")
(cd "$work" && "$build/bin/casewright-cli" summarize --text example.txt --scores example.scores \
  --sentences "$ones" --output example.reference --tables "$build/share/casewright/tables" >/dev/null)

mkdir -p "$pictures"
# A fixed locale and style keep the pictures the same from one machine to
# the next.
env LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen QT_STYLE_OVERRIDE=Fusion \
  CASEWRIGHT_ORBELIN="$build/share/casewright/tables" \
  "$build/bin/casewright-screenshots" "$work" "$pictures"
cp "$pictures/window.png" "$root/docs/screenshot.png"
