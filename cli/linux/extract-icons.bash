# Completion of extract-icons's options and arguments for bash (bash-completion).
_extract_icons() {
    local cur prev words cword
    _init_completion || return

    # --thumbnail SIZE INPUT OUTPUT: the usual sizes, then two files.
    if [[ ${words[1]} == --thumbnail ]]; then
        case $cword in
            2) COMPREPLY=($(compgen -W '128 256 512 1024' -- "$cur")) ;;
            3 | 4) _filedir ;;
        esac
        return
    fi

    case $prev in
        -o)
            _filedir -d
            return
            ;;
        --files-from)
            _filedir
            return
            ;;
        -j)
            COMPREPLY=($(compgen -W "$(seq 1 "$(nproc 2>/dev/null || echo 4)")" -- "$cur"))
            return
            ;;
        --size)
            COMPREPLY=($(compgen -W 'all largest 16 32 48 64 128 256' -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options='-o -r -j --list -v --files-from -0 --png --size --help --version'
        ((cword == 1)) && options+=' --thumbnail'
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    _filedir
}
complete -F _extract_icons extract-icons
