#!/bin/bash
# Completes casewright-cli command lines with its bash completion, as bash
# does at a Tab, and checks what is offered.
#   completion_test.sh CASEWRIGHT_CLI COMPLETION_SCRIPT
# Skips (77) without bash-completion, and fails then when
# CASEWRIGHT_REQUIRE_TOOLS=1.
cli=$1
main=/usr/share/bash-completion/bash_completion
if [[ ! -r $main ]]; then
  [[ $CASEWRIGHT_REQUIRE_TOOLS == 1 ]] && { echo "FAIL: bash-completion is missing"; exit 1; }
  echo "SKIP: bash-completion is missing"
  exit 77
fi
source "$main"
source "$2"
compopt() { :; }  # the builtin works only inside a completion bash runs
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir tables && touch texto.txt

# What a Tab after `line` offers, one word a line, sorted.
offered() {
  COMP_LINE="$cli $1"
  COMP_POINT=${#COMP_LINE}
  read -ra COMP_WORDS <<< "$COMP_LINE"
  [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _casewright_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

failures=0
check() {
  local got
  got=$(offered "$1")
  if [[ $got != "$2" ]]; then
    echo "FAIL: \"$1\" offers \"$got\", not \"$2\""
    failures=$((failures + 1))
  fi
}

check "ba" "batch "
check "--for" "--format "
check "--format " "arff csv plain quinlan "
check "--format=q" "quinlan "
check "sentences --encoding a" "auto "
check "batch --enc" "--encoding "
check "tables " "build "
check "tables build --in" "--into "
check "tables build --into " "tables "
check "--features 1," "1,1 1,10 1,11 1,12 1,13 1,14 1,15 1,16 1,2 1,3 1,4 1,5 1,6 1,7 1,8 1,9 "
check "--features 3" "3, 3- "
check "--features n" "none "
check "--text tex" "texto.txt "
check "batch --jobs " " "
check "join " "tables texto.txt "
exit $((failures > 0))
