# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# bash completion for weqbarcode, installed as
# share/bash-completion/completions/weqbarcode. scripts/check-packaging holds
# the lists below against `weqbarcode --help` and the program's own answers,
# so an option added there fails the check until it is added here.

_weqbarcode()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local flags='--no-marker --complete --gs1-strict --verify --pdf-x --roll --crop-marks --quiet --help --version'
    local values='--input --gtin-column --add-on-column --output --symbology --issn-variant --add-on
        --dpi --x-dimension --magnification --bar-height --bar-width-reduction --bar-color --background-color
        --text-color --output-condition --min-grade --template --sheet --label --gap --columns --rows --margin
        --jobs --memory'

    # bash splits "--sheet=A" at the '=': the value is completed as after "--sheet A".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    COMPREPLY=()
    case $prev in
        -i | --input | -o | --output | --template)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --symbology)
            mapfile -t COMPREPLY < <(compgen -W 'ean13 ean8 upca upce auto isbn ismn issn' -- "$cur")
            return
            ;;
        --min-grade)
            mapfile -t COMPREPLY < <(compgen -W 'A B C D' -- "$cur")
            return
            ;;
        --sheet)
            mapfile -t COMPREPLY < <(compgen -W 'A4 Letter' -- "$cur")
            return
            ;;
        --background-color)
            mapfile -t COMPREPLY < <(compgen -W 'none' -- "$cur")
            return
            ;;
        --output-condition)
            mapfile -t COMPREPLY < <(compgen -W 'FOGRA39 FOGRA51 FOGRA52 GRACoL2006_Coated1v2 SWOP2006_Coated3v2' -- "$cur")
            return
            ;;
        -x | -j)
            return
            ;;
    esac
    # Any other option that takes a value takes a number, a size or a colour
    # (#rrggbb, cmyk(...) and spot(...) need quoting: nothing is offered).
    [[ " ${values//$'\n'/ } " == *" $prev "* ]] && return

    # The other words are GTINs: nothing to offer.
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$flags $values" -- "$cur")
    fi
}
complete -F _weqbarcode weqbarcode
