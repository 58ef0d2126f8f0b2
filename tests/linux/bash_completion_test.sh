#!/usr/bin/env bash
# The bash completion (linux/vorlix.bash-completion) under the real bash-completion
# library: commands, each command's options, image names only where an image goes,
# folders where a folder goes. Skips (77) where bash-completion is not installed.
# Usage: bash_completion_test.sh SOURCE_DIR
set -u
source_dir=$(realpath "$1")
library=/usr/share/bash-completion/bash_completion
[ -f "$library" ] || { echo "skipped: bash-completion is not installed (scripts/setup)"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-completion.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir folder
touch a.img b.IMZ c.vfd d.zip e.exe notes.txt

# The candidates for a command line whose last word is being completed, sorted, on one line.
complete_line() {
    bash --norc --noprofile -c '
        source "$1"; source "$2"
        read -r -a COMP_WORDS <<< "$3"
        [[ $3 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=$3; COMP_POINT=${#3}
        _vorlix vorlix "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' \
        _ "$library" "$source_dir/linux/vorlix.bash-completion" "$1"
}

failures=0
while IFS='|' read -r line expected; do
    got=$(complete_line "$line")
    [ "$got" = "$expected" ] || { echo "FAIL: [$line] gave [$got], not [$expected]" >&2; failures=$((failures + 1)); }
done <<'CASES'
vorlix |check convert drives extract info list make read write
vorlix dr|drives
vorlix read |a.img b.IMZ c.vfd d.zip e.exe folder
vorlix -q write --v|--verify --version
vorlix write --no|--no-verify
vorlix list --j|--json
vorlix read --ba|--batch
vorlix make |folder
vorlix extract a.img -o |folder
vorlix drives -|--help --quiet --version --yes -V -h -q -y
vorlix read -m |
CASES
[ "$failures" -eq 0 ] || exit 1
echo "bash completion: all passed"
