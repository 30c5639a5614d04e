#!/usr/bin/env bash
# trawlit-cli searched while reads and opens fail at random (libfiu's fiu-run): every run
# either writes complete results (exit 0, every count right) or says it did not (exit 2,
# each file it could not read in full named on stderr and marked or left out in the output).
# fiu's open faults reach the folders only (files are opened relative to them): a folder not
# read is named, and its files are left out. Skipped (77) without fiu-run.
set -u
cli=$(realpath "${1:?path to trawlit-cli}")
command -v fiu-run > /dev/null || { echo "skipped: fiu-run not found (Debian package fiu-utils)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL - $*"; failures=$((failures + 1)); }

# 200 files of 200 matching lines in 4 folders: 40000 matches in all.
for d in 1 2 3 4; do
    mkdir -p "tree/d$d"
    for f in $(seq 1 50); do yes 'a needle in a line' | head -n 200 > "tree/d$d/f$f.txt"; done
done
(cd tree && find . -type f | sed 's|^\./||' | sort) > all.txt

# Each file as "NAME COUNT" (NAME below the root), and the names marked as cut short.
counts_of() { # format output
    case $1 in
    results) sed -n 's|^ *\([0-9][0-9]*\)  tree/\(.*\)\r$|\2 \1|p' "$2" ;;
    grep) sed -n 's|^tree/\(.*\):\([0-9]*\)$|\1 \2|p' "$2" ;;
    jsonl) sed -n 's|^{"type":"count","path":"\([^"]*\)".*"count":\([0-9]*\)}$|\1 \2|p' "$2" ;;
    esac
}
cut_of() { # format output stderr
    case $1 in
    results) awk '/^ *[0-9]+  tree\// {sub(/\r$/, ""); name = substr($2, 6)}
                  /^ +\(not read in full: / {print name}' "$2" ;;
    grep) sed -n 's|^trawlit-cli: tree/\(.*\): (not read in full: .*)$|\1|p' "$3" ;;
    jsonl) sed -n 's|^{"type":"cut","path":"\([^"]*\)".*|\1|p' "$2" ;;
    esac
}

check_run() { # what format status
    local what=$1 format=$2 status=$3
    # A root folder that cannot be looked at, or a results file that cannot be created, fails
    # the run before anything is written.
    if [ "$status" -eq 2 ] && grep -qE "^trawlit-cli: (tree: Root folder not found!|File Open \
Error: .*, File = out\.txt)$" stderr.txt; then
        echo "ok - $what: refused"
        return
    fi
    counts_of "$format" out.txt | sort > counts.txt
    cut_of "$format" out.txt stderr.txt | sort -u > cut.txt
    sed -n 's|^trawlit-cli: File Open Error: .*File = tree/\(.*\)$|\1|p' stderr.txt \
        | sort -u > named.txt
    # The files of a folder not read are named with it.
    sed -n 's|^trawlit-cli: Folder not read: tree\(/[^ ]*\)* (.*|\1|p' stderr.txt \
        | while read -r folder; do grep "^${folder#/}" all.txt; done >> named.txt
    sort -u -o named.txt named.txt
    # Every file is listed whole, listed and marked, or left out and named.
    awk '$2 != 200 {print $1}' counts.txt > short.txt
    comm -23 all.txt <(cut -d' ' -f1 counts.txt) > unlisted.txt
    [ -z "$(comm -23 short.txt cut.txt)" ] || fail "$what: a short count is not marked"
    [ -z "$(comm -23 unlisted.txt named.txt)" ] || fail "$what: a file left out is not named"
    [ -z "$(comm -23 cut.txt named.txt)" ] || fail "$what: a cut file is not named on stderr"
    if [ "$status" -eq 0 ]; then
        [ "$(awk '$2 == 200' counts.txt | wc -l)" -eq 200 ] \
            || fail "$what: exit 0 with files missing or short"
        grep -q '^40000 matches found in 200 files\.$' stdout.txt \
            || fail "$what: exit 0 without 40000 matches in 200 files"
    elif [ "$status" -eq 2 ]; then
        grep -q '^trawlit-cli: ' stderr.txt || fail "$what: exit 2 with nothing on stderr"
        [ ! -s cut.txt ] && [ ! -s unlisted.txt ] || grep -q 'could not be read' stdout.txt \
            || fail "$what: what was not read is not counted in the closing message"
    else
        fail "$what: exit $status"
    fi
    echo "ok - $what: exit $status, $(wc -l < named.txt) named"
}

# No descriptor left for any file: none is searched, each is named.
(ulimit -n 5; "$cli" search -c -j 1 -o out.txt needle tree > stdout.txt 2> stderr.txt)
check_run "ulimit -n 5" results $?
grep -q '^0 files searched\.$' stdout.txt || fail "files not opened are counted as searched"

run=0
# Each failure with a fixed errno (failinfo): left to chance, an open may fail with ENOENT, which
# means a file or folder gone since it was listed, passed over in silence by design.
for fault in 'posix/io/rw/read,probability=0.02,failinfo=5' \
    'posix/io/oc/open,probability=0.05,failinfo=13'; do
    for format in results grep jsonl; do
        for threads in 1 4; do
            run=$((run + 1))
            what="run $run: $fault, $format, --threads $threads"
            rm -f out.txt
            fiu-run -x -c "enable_random name=$fault" "$cli" search -c -f "$format" \
                -j "$threads" -o out.txt needle tree > stdout.txt 2> stderr.txt
            check_run "$what" "$format" $?
        done
    done
done
[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
