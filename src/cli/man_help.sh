#!/bin/sh
# help2man reads the help of casewright-cli (the program named in
# $CASEWRIGHT_CLI) through this script: its --help-all, with each
# subcommand's heading and its lists of arguments, options and subcommands
# starting paragraphs of their own, which help2man makes subsections of.
# The list of features in --features's help and the closing example and notes
# go: the page has sections of their own for them (docs/casewright-cli.h2m).
set -e
case $1 in
  --version) exec "$CASEWRIGHT_CLI" --version ;;
esac
"$CASEWRIGHT_CLI" --help-all | sed \
  -e 's/^Subcommands:$/Commands:/' \
  -e 's/^\([a-z]\{1,\}\)$/\nCommand \1:/' \
  -e 's/^  Positionals:$/\nArguments:/' \
  -e 's/^  Options:$/\nOptions of the command:/' \
  -e 's/^  Subcommands:$/\nSubcommands:/' \
  -e '/^ \{20,\}[1-8]  [A-Z]/d' \
  -e '/^Example:$/,$d'
