#!/usr/bin/env bash
# The bash completion and the man page against the program's own help: every command of
# `ipcore-host --help` and every option of `ipcore-host <command> --help` must be completed and
# described, and option values must complete to what they name.
#   test_cli_reference.sh PROGRAM COMPLETION MANPAGE.gz
# Exits 77 (skipped) without bash-completion.
set -uo pipefail
program=$1 completion=$2 manpage=$3
framework=/usr/share/bash-completion/bash_completion
[ -f "$framework" ] || { echo "no $framework"; exit 77; }
export QT_QPA_PLATFORM=offscreen
unset QT_LOGGING_RULES

# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$completion"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# What the completion offers for a command line whose last word is being typed.
complete_line() {
    COMP_WORDS=("$program" "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _ipcore_host "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

offers() { # offers WORD LINE...: the completion of LINE includes WORD
    local word=$1
    shift
    grep -qxF -- "$word" <<<"$(complete_line "$@")"
}

# The program's own lists, read here independently of the build's generator.
commands=$("$program" --help | sed -n '/^Commands:$/,/^$/s/^  \([a-z][a-z0-9-]*\)  .*/\1/p')
[ -n "$commands" ] || fail "no commands in --help"
man=$(zcat "$manpage")

for command in $commands; do
    offers "$command" "" || fail "command $command not completed"
    offers "$command" "${command:0:2}" || fail "command $command not completed from '${command:0:2}'"
    grep -qxF ".SS \"$command\"" <<<"$man" || fail "man page: no section for $command"
    options=$("$program" "$command" --help 2>/dev/null |
        sed -n '/^Options:$/,/^$/p' | grep -oE '^  (-[A-Za-z], )?--[a-z][a-z0-9-]*' | grep -oE -- '--[a-z0-9-]+$')
    [ -n "$options" ] || fail "$command --help lists no options"
    for option in $options; do
        offers "$option" "$command" "--" || fail "$command $option not completed"
        grep -qF "\\fB${option//-/\\-}\\fR" <<<"$man" || fail "man page: $command $option missing"
    done
done

# Values: devices from the device database, words from the value name, directories, files.
device=$("$program" devices | head -1 | cut -f1)
offers "$device" check --device "${device:0:3}" || fail "check --device does not complete $device"
offers yes configure --answer "" || fail "configure --answer does not offer yes"
[ "$(complete_line configure --answer "")" = $'yes\nno' ] || fail "configure --answer offers more than yes and no"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub" && touch "$work/set.json" "$work/notes.txt"
cd "$work" || exit 1
got=$(complete_line generate "" | sort | tr '\n' ' ')
[ "$got" = "set.json sub " ] || fail "generate PARAMS.json offers '$got', not the JSON file and the folder"
got=$(complete_line list --plugin-dir "" | tr '\n' ' ')
[ "$got" = "sub " ] || fail "--plugin-dir offers '$got', not folders only"
[ -z "$(complete_line nosuchcommand --)" ] || fail "an unknown command completes options"

[ "$failures" -eq 0 ] && echo "PASS: $(wc -w <<<"$commands") commands, their options and values"
exit $((failures > 0))
