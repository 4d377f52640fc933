#!/usr/bin/env bash
# Scans the sources for what the include roots cannot catch: an include that climbs out of its
# folder with "..", and a forward declaration of a class that belongs to a layer the file's
# layer does not link. Prints file:line for each, and fails when there is one.
#
# usage: check_sources.sh SRC_DIR   (the layers and their links are read from SRC_DIR/CMakeLists.txt)
set -u
src=${1:?usage: check_sources.sh SRC_DIR}
cd "$src" || exit 2
shopt -s globstar

declare -A below  # layer -> " the layers it links, itself included "
while read -r name deps; do
    below[$name]=" $name $deps "
done < <(sed -n 's/^morvane_layer(\([a-z]*\)\( DEPENDS \(.*\)\)\?)$/\1 \3/p' CMakeLists.txt)
# The windows link every layer of the core.
below[ui]=" ui ${!below[*]} "
if [ "${#below[@]}" -lt 2 ]; then
    echo "no layers found in $src/CMakeLists.txt" >&2
    exit 2
fi

# Where each class or struct is defined: the layer of the header that opens its body.
declare -A owner
while IFS=: read -r file _ text; do
    name=$(sed -E 's/^(class|struct) +([A-Za-z_][A-Za-z0-9_]*).*/\2/' <<<"$text")
    owner[$name]=${file%%/*}
done < <(grep -nE '^(class|struct) +[A-Za-z_][A-Za-z0-9_]*( +final)?( *[:{]|$)' -- **/*.h)

failed=0
while IFS=: read -r file line _; do
    echo "$file:$line: include climbs out of its folder"
    failed=1
done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\.\.' -- **/*.h **/*.cpp)

while IFS=: read -r file line text; do
    name=$(sed -E 's/^[[:space:]]*(class|struct) +([A-Za-z_][A-Za-z0-9_]*) *;.*/\2/' <<<"$text")
    layer=${file%%/*}
    home=${owner[$name]:-}
    [ -z "$home" ] && continue  # not one of ours (Qt, the standard library)
    [ -z "${below[$layer]:-}" ] && continue
    case "${below[$layer]}" in
        *" $home "*) ;;
        *)
            echo "$file:$line: declares $name of layer $home, which $layer does not link"
            failed=1
            ;;
    esac
done < <(grep -nE '^[[:space:]]*(class|struct) +[A-Za-z_][A-Za-z0-9_]* *;' -- **/*.h **/*.cpp)

exit $failed
