#!/usr/bin/env bash
# Every folder of the program includes only its own files and those of the
# folders on lower floors. Prints each include that leans on a floor above
# (or beside) its own and fails if there is one.
set -euo pipefail
root="${1:?source folder}"
declare -A floor=(
    [library]=0
    [rules]=1 [sgf]=1
    [solver]=2 [platform]=2 [history]=2
    [board]=3 [tools]=3
    [shell]=4
    [records]=5 [selection]=5
    [modes]=6
    [app]=7
)
bad=0
for dir in "${!floor[@]}"; do
    [ -d "$root/$dir" ] || continue
    while IFS= read -r line; do
        file="${line%%:*}"
        target="$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$line")"
        [ "$target" = "$dir" ] && continue
        if [ -z "${floor[$target]+set}" ] || [ "${floor[$target]}" -ge "${floor[$dir]}" ]; then
            echo "${file#"$root"/} includes ${target}/ (floor ${floor[$target]:-?} >= ${floor[$dir]})"
            bad=1
        fi
    done < <(grep -rEH '^#include "[a-z_]+/' "$root/$dir" --include='*.h' --include='*.cpp' || true)
done
exit "$bad"
