# Bash completion of casewright-cli: subcommands, options, the values of
# options that take a list (--format, --encoding...), feature lists and file
# names.  Everything is read from the program's own --help, so that the
# completion follows the program as its options change.

# The help of the subcommand at the command line's cursor.
_casewright_cli_help() {
  "$@" --help 2> /dev/null
}

# The names listed under `section` ("Subcommands") in the help `help`.
_casewright_cli_list() {
  local help=$1 section=$2
  sed -n "/^$section:\$/,/^\$/s/^  \\([a-z][a-z0-9-]*\\) .*/\\1/p" <<< "$help"
}

# The options in the help `help`.
_casewright_cli_options() {
  sed -n 's/^  \(-[a-zA-Z],\)\{0,1\}\(--[a-z][a-z0-9-]*\).*/\2/p' <<< "$1"
}

# What option `option` of the help `help` takes (FILE, DIR, TEXT:{a,b}...),
# or nothing for a flag.
_casewright_cli_value() {
  sed -n "s/^  \\(-[a-zA-Z],\\)\\{0,1\\}$2 \\([^ ]*[^ :]\\)\\( .*\\)\\{0,1\\}\$/\\2/p" <<< "$1" | head -n 1
}

# The features of the help `help`, as numbers, for --features.
_casewright_cli_features() {
  local help=$1 cur=$2 numbers
  numbers=$(sed -n 's/^ \{20,\}\([0-9]\{1,\}\)  [A-Z].*/\1/p' <<< "$help")
  case $cur in
    *[,-])
      COMPREPLY=($(printf "$cur%s\n" $numbers))
      compopt -o nospace
      ;;
    *[0-9])
      COMPREPLY=("$cur," "$cur-")
      compopt -o nospace
      ;;
    *)
      COMPREPLY=($(compgen -W "none $numbers" -- "$cur"))
      ;;
  esac
}

_casewright_cli() {
  local cur prev words cword split
  _init_completion -s || return

  # The subcommands named before the cursor, each one among those the help
  # of the one before lists.
  local command=("${words[0]}") help i
  help=$(_casewright_cli_help "${command[@]}") || return
  for ((i = 1; i < cword; i++)); do
    if [[ $'\n'$(_casewright_cli_list "$help" Subcommands)$'\n' == *$'\n'"${words[i]}"$'\n'* ]]; then
      command+=("${words[i]}")
      help=$(_casewright_cli_help "${command[@]}") || return
    fi
  done

  # A chart is written as SVG or PNG, by its extension.
  if [[ $prev == --plot ]]; then
    _filedir '@(svg|png)'
    return
  fi
  if [[ $prev == -* ]]; then
    local value
    value=$(_casewright_cli_value "$help" "$prev")
    case $value in
      *:{*}*)
        value=${value#*:\{}
        value=${value%%\}*}
        COMPREPLY=($(compgen -W "${value//,/ }" -- "$cur"))
        return
        ;;
      DIR*)
        _filedir -d
        return
        ;;
      LIST*)
        _casewright_cli_features "$help" "$cur"
        return
        ;;
      *FILE* | *MANIFEST* | *SHARD*)
        _filedir
        return
        ;;
      ?*)
        return  # a number or a share: nothing to offer
        ;;
    esac
  fi
  $split && return

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(_casewright_cli_options "$help")" -- "$cur"))
  elif grep -q '^Positionals:$' <<< "$help"; then
    _filedir
  else
    COMPREPLY=($(compgen -W "$(_casewright_cli_list "$help" Subcommands)" -- "$cur"))
  fi
} && complete -F _casewright_cli casewright-cli
