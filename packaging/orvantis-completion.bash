# The completion's logic, on the tables above. It completes commands, options and the values
# the help names: ports, rates, local files and folders. It never talks to the instrument, so
# names of files on the Orvantis (get, rm) are not completed.

_orvantis() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        # ":" and "=" stay in the word: network ports such as rfc2217://host:2000.
        _init_completion -n := || return
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
        cur=${words[cword]}
        prev=${words[cword - 1]}
    fi
    local commands value_word
    local -A options value operand choices
    _orvantis_tables

    # The command is the first word that is neither an option nor an option's value.
    local command='' i word
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ $word == -?* && $word != -- ]]; then
            _orvantis_value_of "$word"
            [[ -n $value_word ]] && ((i++))
        elif [[ -z $command && $word != -- ]]; then
            command=$word
        fi
    done

    _orvantis_value_of "$prev"
    if ((cword > 1)) && [[ $prev == -?* && -n $value_word ]]; then
        _orvantis_complete_value "$value_word"
    elif [[ $cur == -* ]]; then
        _orvantis_reply "${options[-]} ${command:+${options[$command]-}}"
    elif [[ -z $command ]]; then
        _orvantis_reply "$commands"
    elif [[ -n ${operand[$command]-} ]]; then
        _orvantis_complete_value "${operand[$command]}"
    fi
    if declare -F __ltrim_colon_completions >/dev/null; then
        __ltrim_colon_completions "$cur"
    fi
}

# Sets value_word to what the value of OPTION stands for with the command found so far, or
# to nothing for a switch.
_orvantis_value_of() {
    value_word=${value["$command $1"]-}
    [[ -n $value_word ]] || value_word=${value["- $1"]-}
}

_orvantis_reply() {
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

# Completes a value that stands for WORD: a port, a file, a folder, or one of the values the
# help lists for WORD. Numbers, durations, texts and names on the Orvantis get nothing.
_orvantis_complete_value() {
    case $1 in
    *DEVICE*) _orvantis_ports ;;
    FILE) _orvantis_files ;;
    DIR) _orvantis_files -d ;;
    *) [[ -n $1 && -n ${choices[$1]-} ]] && _orvantis_reply "${choices[$1]}" ;;
    esac
}

_orvantis_files() {
    if declare -F _filedir >/dev/null; then
        _filedir "$@"
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen "${1:--f}" -- "$cur")
    fi
}

# Port numbers 1-16, the entries of ORVANTIS_PORTS and the serial devices that are there;
# a path that is none of them completes as a file (a simulator's link, say).
_orvantis_ports() {
    local -a ports=({1..16})
    local rest=${ORVANTIS_PORTS-} entry
    while [[ -n $rest ]]; do
        # An address's own colon (rfc2217://host:2000) does not end the entry.
        if [[ $rest =~ ^[A-Za-z0-9+.-]+://(\[[^]]*\]|[^:]*)(:[0-9]*)? ]]; then
            entry=${BASH_REMATCH[0]}
        else
            entry=${rest%%:*}
        fi
        [[ -n $entry ]] && ports+=("$entry")
        rest=${rest:${#entry}}
        rest=${rest#:}
    done
    for entry in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM*; do
        [[ -e $entry ]] && ports+=("$entry")
    done
    _orvantis_reply "${ports[*]}"
    if [[ ${#COMPREPLY[@]} -eq 0 && $cur == [/.~]* ]]; then
        _orvantis_files
    fi
}

complete -F _orvantis orvantis
