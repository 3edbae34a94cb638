# Bash completion for quorvex-cli.
# The options are read from "quorvex-cli --help", the text the option table writes, once
# per shell: an option added to the table completes without a change here. In the help, an
# option line is "  --name VALUE"; VALUE "a|b|c" lists the accepted values, FICHIER (or
# FICHIER.ext) takes a file name, DOSSIER a folder name, anything else is free text.

_quorvex_cli_read_help()
{
    local cli=$1 line name value
    _quorvex_cli_options=()
    _quorvex_cli_files=" "
    _quorvex_cli_dirs=" "
    declare -gA _quorvex_cli_values=()
    while IFS= read -r line; do
        [[ $line =~ ^\ \ (--[a-z0-9-]+)(\ (.*))?$ ]] || continue
        name=${BASH_REMATCH[1]}
        value=${BASH_REMATCH[3]}
        _quorvex_cli_options+=("$name")
        if [[ $value == FICHIER || $value == FICHIER.* ]]; then
            _quorvex_cli_files+="$name "
        elif [[ $value == DOSSIER ]]; then
            _quorvex_cli_dirs+="$name "
        elif [[ $value == *"|"* && $value != *[\ \[]* ]]; then
            _quorvex_cli_values[$name]=${value//|/ }
        fi
    done < <(LC_ALL=C.UTF-8 "$cli" --help 2>/dev/null)
}

_quorvex_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD-1]}
    local i option value
    COMPREPLY=()
    if [[ ${_quorvex_cli_options+set} != set ]]; then
        _quorvex_cli_read_help "${COMP_WORDS[0]}"
    fi

    # After "--" every word is a form.
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && return 0
    done

    # "--option=value" and "--option value" complete the same values.
    option=$prev
    value=$cur
    if [[ $cur == --*=* ]]; then
        option=${cur%%=*}
        value=${cur#*=}
    elif [[ $cur == = && $prev == --* ]]; then
        value=
    elif [[ $prev == = && COMP_CWORD -ge 2 ]]; then
        option=${COMP_WORDS[COMP_CWORD-2]}
    fi
    if [[ $option == --* && $cur != "$option" ]]; then
        if [[ $_quorvex_cli_files == *" $option "* ]]; then
            if declare -F _filedir >/dev/null; then
                cur=$value _filedir
            else
                local IFS=$'\n'
                COMPREPLY=($(compgen -f -- "$value"))
                compopt -o filenames 2>/dev/null
            fi
            return 0
        fi
        if [[ $_quorvex_cli_dirs == *" $option "* ]]; then
            if declare -F _filedir >/dev/null; then
                cur=$value _filedir -d
            else
                local IFS=$'\n'
                COMPREPLY=($(compgen -d -- "$value"))
                compopt -o filenames 2>/dev/null
            fi
            return 0
        fi
        if [[ -n ${_quorvex_cli_values[$option]+set} ]]; then
            COMPREPLY=($(compgen -W "${_quorvex_cli_values[$option]}" -- "$value"))
            return 0
        fi
    fi

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "${_quorvex_cli_options[*]} --" -- "$cur"))
    fi
    return 0
}

complete -F _quorvex_cli quorvex-cli
