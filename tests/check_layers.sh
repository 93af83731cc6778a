#!/usr/bin/env bash
# The folders as layers: a folder includes only its own files and those of the folders below
# it (nothing sideways or up; cli/ nothing of app/), and the Qt-free core (conversion/,
# settings/, words/ and every project header they reach) never includes a Qt header.
# Usage: check_layers.sh SOURCE_DIR
set -euo pipefail
cd "${1:?usage: check_layers.sh SOURCE_DIR}"

# What each folder may include; app/, the program itself, may include every folder.
declare -A allowed=(
    [toolkit]="toolkit"
    [conversion]="conversion words toolkit"
    [settings]="settings toolkit"
    [documents]="documents toolkit"
    [appearance]="appearance settings toolkit"
    [commands]="commands conversion documents toolkit"
    [integration]="integration settings toolkit"
    [about]="about toolkit"
    [editing]="editing toolkit"
    [help]="help toolkit"
    [dictedit]="dictedit conversion toolkit"
    [words]="words toolkit"
    [cli]="cli conversion settings words toolkit"
)

failures=0
fail() {
    echo "$1"
    failures=$((failures + 1))
}
sources() { find "$@" \( -name '*.h' -o -name '*.cpp' \) | sort; }
includes() { sed -n 's/^#include "\([^"]*\)".*/\1/p' "$1"; }

for folder in "${!allowed[@]}"; do
    for file in $(sources "$folder"); do
        for include in $(includes "$file"); do
            [[ " ${allowed[$folder]} " == *" ${include%%/*} "* ]] ||
                fail "$file includes $include: $folder/ may include only ${allowed[$folder]}"
        done
    done
done

declare -A seen=()
queue=($(sources conversion settings words))
while ((${#queue[@]} > 0)); do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    [[ -z ${seen[$file]:-} ]] || continue
    seen[$file]=1
    qt=$(grep -m1 -oE '^#include <Q[^>]*>' "$file" || true)
    [[ -z $qt ]] || fail "$file includes $qt, and conversion/, settings/ or words/ reach it"
    for include in $(includes "$file"); do
        [[ ! -f $include ]] || queue+=("$include")
    done
done

if ((failures > 0)); then
    echo "$failures include(s) against the layers"
    exit 1
fi
echo "layers kept: ${#seen[@]} files of the Qt-free core, ${#allowed[@]} folders"
