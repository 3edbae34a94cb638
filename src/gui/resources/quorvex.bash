# Bash completion for quorvex, the window program: --help, --version and "--", then at most
# two files, the Latin text and its French translation. Qt's options are left alone, but
# their values are not taken for files.

_quorvex()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD-1]}
    local qt_with_value=" -platform --platform -style --style -stylesheet --stylesheet -display --display -geometry --geometry -qwindowgeometry -qwindowtitle -qwindowicon -platformtheme -platformpluginpath -plugin -session -name -title -icon "
    local i word files=0 ended=
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -n $ended || $word != -?* ]]; then
            files=$((files + 1))
        elif [[ $word == -- ]]; then
            ended=1
        elif [[ $word == --help || $word == --version || $word == -h ]]; then
            return 0
        elif [[ $qt_with_value == *" $word "* ]]; then
            i=$((i + 1))
        fi
    done
    if [[ -z $ended && ($prev == -platform || $prev == --platform) ]]; then
        COMPREPLY=($(compgen -W "xcb wayland offscreen" -- "$cur"))
        return 0
    fi
    [[ -z $ended && $qt_with_value == *" $prev "* ]] && return 0
    if [[ -z $ended && $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--help --version --" -- "$cur"))
        return 0
    fi
    [[ $files -ge 2 ]] && return 0
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        local IFS=$'\n'
        COMPREPLY=($(compgen -f -- "$cur"))
        compopt -o filenames 2>/dev/null
    fi
    return 0
}

complete -F _quorvex quorvex
