#!/bin/sh
# Every include under src/ must point down the layers: app, then the subsystems, then output
# (spreadsheet export, printing and pictures of any list), then the interchange formats, the
# document and the widgets, then data, util and platform. Prints each include that points up.
set -eu
cd "$(dirname "$0")/../src"

rank() {
    case "$1" in
        app) echo 6 ;;
        work|crm|desk|safety|sync|search) echo 5 ;;
        output) echo 4 ;;
        interchange|document|widgets) echo 3 ;;
        data) echo 2 ;;
        util) echo 1 ;;
        platform) echo 0 ;;
        *) echo -1 ;;
    esac
}

status=0
for file in $(find . -name '*.cpp' -o -name '*.h' | sed 's#^\./##' | sort); do
    layer=${file%%/*}
    [ "$layer" = "$file" ] && continue # main.cpp stands above every layer
    own=$(rank "$layer")
    for target in $(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
        [ "$target" = "$layer" ] && continue
        theirs=$(rank "$target")
        if [ "$theirs" -lt 0 ] || [ "$theirs" -ge "$own" ]; then
            echo "$file includes from $target/"
            status=1
        fi
    done
done
exit $status
