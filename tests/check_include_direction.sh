#!/usr/bin/env bash
# Fails when an include under src/ points up the layers. Allowed, from each layer:
#   core -> core, ports          ports -> ports          platform -> ports, core
#   qt -> anything but app       app -> anything
# The core and the ports also take no Qt header and no operating-system header. The matching
# engine (core/search) stands alone: it takes nothing of the runs, the tools, the formats or
# the window.
set -euo pipefail
src="${1:-$(dirname "$0")/..}/src"
status=0
quoted_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)"'

allowed() { # layer of the including file, layer of the included one
    case "$1:$2" in
        core:core | core:ports | ports:ports | platform:ports | platform:core | platform:platform) return 0 ;;
        qt:core | qt:ports | qt:platform | qt:qt | app:*) return 0 ;;
    esac
    return 1
}

while IFS= read -r -d '' file; do
    layer=${file#"$src"/}
    layer=${layer%%/*}
    while IFS= read -r line; do
        [[ $line =~ $quoted_include ]] || continue
        target=${BASH_REMATCH[1]}
        [ "$target" = Version.h ] && continue # generated from core/Version.h.in
        to=${target%%/*}
        if ! allowed "$layer" "$to"; then
            echo "${file#"$src"/}: $layer must not include $target"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    case "${file#"$src"/}" in core/search/*)
        if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(core/(run|searchrun|tools|formats)/|ports/MainWindowPort\.h)' "$file"; then
            echo "${file#"$src"/}: the matching engine must not include the runs, tools, formats or window"
            status=1
        fi ;;
    esac
    if [ "$layer" = core ] || [ "$layer" = ports ]; then
        if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|unistd\.h|fcntl\.h|dirent\.h|sys/[^>]*|signal\.h|pthread\.h|windows\.h)>' "$file"; then
            echo "${file#"$src"/}: $layer takes no Qt or operating-system header"
            status=1
        fi
    fi
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
[ "$status" -eq 0 ] && echo "every include points down the layers"
exit "$status"
