#!/usr/bin/env bash
# Installs the build into a scratch prefix as a packager would and checks what a desktop
# and a user find there; then builds the two .deb packages and checks what each carries,
# with lintian where it is installed and the build is hardened.
set -u
build=${1:?path to the build folder}
hardened=${2:-ON} # whether the build has the distribution's hardening flags
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
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
png_size() { file -b "$1" | grep -Eo '[0-9]+ x [0-9]+'; }

cmake --install "$build" --prefix "$prefix" > /dev/null
check "the install succeeds" [ $? -eq 0 ]
share=$prefix/share
entry=$share/applications/org.trawlit.Trawlit.desktop
for file in bin/trawlit bin/trawlit-cli share/trawlit/Search.avi \
    share/applications/org.trawlit.Trawlit.desktop \
    share/icons/hicolor/scalable/apps/org.trawlit.Trawlit.svg \
    share/metainfo/org.trawlit.Trawlit.metainfo.xml share/man/man1/trawlit.1.gz \
    share/man/man1/trawlit-cli.1.gz share/doc/trawlit/copyright share/doc/trawlit/changelog.gz \
    share/doc/trawlit-cli/copyright share/doc/trawlit-cli/changelog.gz \
    share/kio/servicemenus/trawlit-search-here.desktop \
    share/bash-completion/completions/trawlit-cli share/zsh/vendor-completions/_trawlit-cli \
    share/fish/vendor_completions.d/trawlit-cli.fish; do
    check "$file is installed" [ -s "$prefix/$file" ]
done
check "the Nautilus script is executable" [ -x "$share/trawlit/search-here-nautilus" ]
for size in 48 64 128; do
    check "the ${size}px icon is ${size} x ${size}" [ "$(png_size \
        "$share/icons/hicolor/${size}x${size}/apps/org.trawlit.Trawlit.png")" = "$size x $size" ]
done
check "the man pages are gzipped" gzip -t "$share/man/man1/trawlit.1.gz" \
    "$share/man/man1/trawlit-cli.1.gz"
check "the desktop entry passes the folder" grep -qx 'Exec=trawlit %f' "$entry"
check "the desktop entry opens folders" grep -qx 'MimeType=inode/directory;' "$entry"
check "Dolphin's Search here passes the folder" \
    grep -qx 'Exec=trawlit %f' "$share/kio/servicemenus/trawlit-search-here.desktop"
check "the installed trawlit-cli runs" grep -Eqx 'trawlit-cli [0-9]+\.[0-9]+' \
    <("$prefix/bin/trawlit-cli" --version)
check "the installed trawlit answers --version without a display" \
    grep -Eqx 'trawlit [0-9]+\.[0-9]+' <(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/trawlit" --version)
refused() { # arguments...: exit status 2 and a message naming the program
    local message
    message=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/trawlit" "$@" 2>&1 > /dev/null)
    [ $? -eq 2 ] && [[ $message == *"trawlit: "* ]]
}
check "trawlit with two folders is refused with a message" refused /a /b
check "trawlit with an unknown option is refused with a message" refused --bogus
if command -v desktop-file-validate > /dev/null; then
    check "the desktop entry is valid" desktop-file-validate "$entry"
fi
if command -v appstreamcli > /dev/null; then
    check "the metainfo is valid" \
        appstreamcli validate --no-net "$share/metainfo/org.trawlit.Trawlit.metainfo.xml"
fi

# The packages, built as a packager builds them.
if command -v dpkg-deb > /dev/null && command -v dpkg-shlibdeps > /dev/null; then
    (cd "$build" && cpack -G DEB -B "$scratch/deb" > "$scratch/cpack.log" 2>&1)
    check "cpack builds the packages" [ $? -eq 0 ]
    cli=$(echo "$scratch"/deb/trawlit-cli_*.deb)
    window=$(ls "$scratch"/deb/trawlit_*.deb 2> /dev/null | head -n 1)
    check "trawlit-cli's package exists" [ -f "$cli" ]
    check "trawlit's package exists" [ -f "$window" ]
    cli_files=$(dpkg-deb -c "$cli" 2> /dev/null | awk '{print $NF}')
    window_files=$(dpkg-deb -c "$window" 2> /dev/null | awk '{print $NF}')
    has() { grep -qx "$2" <<< "$1"; }
    lacks() { ! has "$@"; }
    check "trawlit-cli carries the command" has "$cli_files" ./usr/bin/trawlit-cli
    check "trawlit-cli carries no window" lacks "$cli_files" ./usr/bin/trawlit
    check "trawlit-cli needs no Qt" \
        bash -c '! dpkg-deb -f "$1" Depends | grep -qi qt' _ "$cli"
    for file in ./usr/bin/trawlit ./usr/share/applications/org.trawlit.Trawlit.desktop \
        ./usr/share/icons/hicolor/48x48/apps/org.trawlit.Trawlit.png \
        ./usr/share/icons/hicolor/scalable/apps/org.trawlit.Trawlit.svg \
        ./usr/share/trawlit/Search.avi ./usr/share/doc/trawlit/copyright; do
        check "trawlit carries $file" has "$window_files" "$file"
    done
    check "trawlit leaves the command to trawlit-cli" lacks "$window_files" ./usr/bin/trawlit-cli
    check "trawlit depends on trawlit-cli" \
        grep -q 'trawlit-cli (=' <(dpkg-deb -f "$window" Depends)
    check "trawlit recommends qt6-wayland" grep -q qt6-wayland <(dpkg-deb -f "$window" Recommends)
    if [ "$hardened" != ON ]; then
        echo "skip - lintian judges only a build with the distribution's hardening flags"
    elif command -v lintian > /dev/null; then
        lintian --fail-on error,warning "$cli" "$window" > "$scratch/lintian.log" 2>&1
        check "lintian finds no error and no warning" [ $? -eq 0 ]
        sed 's/^/    /' "$scratch/lintian.log"
    fi
fi
[ "$failures" -eq 0 ]
