#!/usr/bin/env bash
# Fails when a file of src/ includes a folder above its own. The floors, from the top:
#   main.cpp window_icon.*; shell/ check/ command_line/ kit/; content/ graphics/ input/ activities/
#   sound/; form/; display/;
#   platform/sdl/ platform/headless/; platform/portable/; platform/; base/ and the demo's drawing
#   library (make_demo/, in tools/), which includes nothing of src/.
set -euo pipefail
cd "$(dirname "$0")/../src"

floor() {
    case "$1" in
        main.cpp | window_icon.*) echo 9 ;;
        shell/* | check/* | command_line/* | kit/*) echo 8 ;;
        content/* | graphics/* | input/* | activities/* | sound/*) echo 7 ;;
        form/*) echo 6 ;;
        display/*) echo 5 ;;
        platform/sdl/* | platform/headless/*) echo 4 ;;
        platform/portable/*) echo 3 ;;
        platform/*) echo 2 ;;
        base/* | make_demo/*) echo 1 ;;
        *) echo 0 ;;
    esac
}

status=0
while IFS= read -r file; do
    own=$(floor "$file")
    while IFS= read -r included; do
        theirs=$(floor "$included")
        if [ "$theirs" -eq 0 ] || [ "$theirs" -gt "$own" ]; then
            echo "check-layers: $file includes $included, a floor above its own" >&2
            status=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort)
[ "$status" -eq 0 ] && echo "check-layers: every include goes down or stays on its floor"
exit "$status"
