#!/usr/bin/env bash
# Installs the build into a scratch prefix as a packager would and checks what a desktop
# and a user find there.
set -u
build=${1:?path to the build folder}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
check() { # description, condition...
    local what=$1
    shift
    if "$@"; then
        echo "ok - $what"
    else
        echo "FAIL - $what"
        failures=$((failures + 1))
    fi
}

cmake --install "$build" --prefix "$prefix" > /dev/null
check "the install succeeds" [ $? -eq 0 ]
share=$prefix/share
for file in bin/trawlit bin/trawlit-cli share/trawlit/Search.avi \
    share/applications/org.trawlit.Trawlit.desktop \
    share/icons/hicolor/scalable/apps/org.trawlit.Trawlit.svg \
    share/metainfo/org.trawlit.Trawlit.metainfo.xml share/man/man1/trawlit.1 \
    share/man/man1/trawlit-cli.1 share/doc/trawlit/LICENSE \
    share/bash-completion/completions/trawlit-cli share/zsh/vendor-completions/_trawlit-cli \
    share/fish/vendor_completions.d/trawlit-cli.fish; do
    check "$file is installed" [ -s "$prefix/$file" ]
done
check "the installed trawlit-cli runs" grep -Eqx 'trawlit-cli [0-9]+\.[0-9]+' \
    <("$prefix/bin/trawlit-cli" --version)
check "the installed trawlit answers --version without a display" \
    grep -Eqx 'trawlit [0-9]+\.[0-9]+' <(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/trawlit" --version)
if command -v desktop-file-validate > /dev/null; then
    check "the desktop entry is valid" \
        desktop-file-validate "$share/applications/org.trawlit.Trawlit.desktop"
fi
if command -v appstreamcli > /dev/null; then
    check "the metainfo is valid" \
        appstreamcli validate --no-net "$share/metainfo/org.trawlit.Trawlit.metainfo.xml"
fi
[ "$failures" -eq 0 ]
