#!/usr/bin/env bash
# trawlit-cli as a script drives it: exit statuses, what goes to stdout and stderr, and the
# results file.
set -u
cli=$(realpath "${1:?path to trawlit-cli}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME="$work/state" # the record of cleaned copies stays in the test
failures=0
passes=0
check() { # description, condition...
    local what=$1
    shift
    if "$@"; then
        echo "ok - $what"
        passes=$((passes + 1))
    else
        echo "FAIL - $what"
        failures=$((failures + 1))
    fi
}

check "--version names the program and its version" \
    grep -Eqx 'trawlit-cli [0-9]+\.[0-9]+' <("$cli" --version)

mkdir -p "$work/tree/sub" "$work/tree/.hidden"
printf 'alpha needle\r\nbeta\r\n' > "$work/tree/a.txt"
printf 'needle in sub\n' > "$work/tree/sub/b.txt"
printf 'needle hidden\n' > "$work/tree/.hidden/c.txt"
out="$work/results.out"

"$cli" search --root "$work/tree" --find needle --output "$out" > "$work/stdout" 2> "$work/stderr"
check "a match exits 0" [ $? -eq 0 ]
check "stdout holds the closing message then the path" \
    [ "$(cat "$work/stdout")" = "$(printf '2 files searched.\n\n2 matches found in 2 files.\n%s' "$out")" ]
check "results file ends with CR LF totals" grep -q $'Number of matches:  2\r$' "$out"
check "no counters on a pipe" [ ! -s "$work/stderr" ]

"$cli" search --root "$work/tree" --find absent --output "$out" > "$work/stdout" 2> "$work/stderr"
check "no match exits 1" [ $? -eq 1 ]
check "no match: stdout holds the closing message then the path" \
    [ "$(cat "$work/stdout")" = "$(printf '2 files searched.\n\nNo matches were found.\n%s' "$out")" ]
check "the results file is still written" grep -q $'Matching files:  0\r$' "$out"

"$cli" search --root "$work/tree" --find needle --no-subfolders --counts-only --output "$out" > /dev/null
check "--no-subfolders and --counts-only" [ "$(grep -c 'b.txt' "$out")" -eq 0 ] 
check "counts line" grep -q "       1  $work/tree/a.txt"$'\r' "$out"

"$cli" search --root "$work/tree" --find needle --output /dev/stdout > "$work/piped" 2> "$work/stderr"
check "results on standard output stay whole" [ "$(head -c 17 "$work/piped")" = "Trawlit (version " ]
check "the closing message then goes to stderr" grep -q '2 matches found in 2 files.' "$work/stderr"

# Results on standard output, and the formats for scripts and editors.
echo earlier > "$work/piped"
"$cli" search --root "$work/tree" --find needle --output - >> "$work/piped" 2> "$work/stderr"
check "--output - appends to what stdout already holds" [ "$(head -2 "$work/piped" | cut -c1-17)" = "$(printf 'earlier\nTrawlit (version ')" ]
check "--output - makes the closing message one line on stderr" \
    [ "$(cat "$work/stderr")" = 'trawlit-cli: 2 files searched. 2 matches found in 2 files.' ]
"$cli" listing --root "$work/tree" --output - 2> /dev/null | grep -q '   Folder Listing'
check "a tool writes to --output - too" [ $? -eq 0 ]
"$cli" search --root "$work/tree" --find needle --output - >&- 2> /dev/null
check "a closed stdout fails with 2" [ $? -eq 2 ]
"$cli" search --root "$work/tree" --find needle --format grep --output - > "$work/grep" 2> /dev/null
check "grep format: PATH:LINE:TEXT, LF ends" \
    [ "$(cat "$work/grep")" = "$(printf '%s/tree/a.txt:1:alpha needle\n%s/tree/sub/b.txt:1:needle in sub' "$work" "$work")" ]
"$cli" search --root "$work/tree" --find needle --format jsonl --output "$work/tree/out.jsonl" > /dev/null
check "jsonl: a file, a match record each, then the summary, its own file passed over" \
    [ "$(grep -c '"type":"file"' "$work/tree/out.jsonl"):$(grep -c '"type":"match"' "$work/tree/out.jsonl"):$(tail -1 "$work/tree/out.jsonl")" \
        = '2:2:{"type":"summary","files_searched":2,"matching_files":2,"matches":2,"files_not_read_in_full":0,"aborted":false}' ]
rm "$work/tree/out.jsonl"
"$cli" search --root "$work/tree" --find needle --format xml > /dev/null 2>&1
check "an unknown format is a usage error" [ $? -eq 2 ]
for threads in 0 257 x; do
    "$cli" search --root "$work/tree" --find needle --threads "$threads" > /dev/null 2>&1
    check "--threads $threads is a usage error" [ $? -eq 2 ]
done
"$cli" search --root "$work/tree" --find needle --threads 1 --output - 2> /dev/null | tail -n +2 > "$work/one"
"$cli" search --root "$work/tree" --find needle --threads 3 --output - 2> /dev/null | tail -n +2 > "$work/three"
check "--threads 3 writes what --threads 1 writes" cmp -s "$work/one" "$work/three"

"$cli" search --root "$work/tree" --find "   " --output "$out" > /dev/null 2> "$work/stderr"
check "blank text exits 2" [ $? -eq 2 ]
check "blank text is refused in the system's words" grep -q 'Search String must be specified!' "$work/stderr"

"$cli" search --root "$work/missing" --find needle --output "$out" > /dev/null 2> "$work/stderr"
check "missing root exits 2" [ $? -eq 2 ]
check "missing root is named" grep -q 'Root folder not found!' "$work/stderr"

"$cli" search --root "$work/tree" --find needle --output "$work/none/out" > /dev/null 2> "$work/stderr"
check "an uncreatable results file exits 2" [ $? -eq 2 ]
check "its cause is named" grep -q 'Path not found' "$work/stderr"

"$cli" search --root "$work/tree" > /dev/null 2>&1
check "a missing --find is a usage error" [ $? -eq 2 ]

# Ctrl-C: twenty thousand small files keep the run busy long enough to interrupt it.
mkdir -p "$work/big"
(cd "$work/big" && seq 1 20000 | sed 's/^/needle /' | split -l 1 -a 5 - f)
# Interrupts a run once it has created its results file (a signal before the program has
# started at all would end it, as any program): its results end with the abort line, then it
# dies by SIGINT (130 in a shell), unless it finished first.
check_interrupt() { # what command...
    local what=$1
    shift
    rm -f "$out"
    "$@" > /dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 500); do
        [ -e "$out" ] && break
        sleep 0.01
    done
    kill -INT "$pid" 2> /dev/null
    wait "$pid"
    local status=$?
    if [ $status -eq 130 ]; then
        check "an interrupted $what ends with the abort line" grep -q 'PROCESSING WAS ABORTED VIA USER ACTION' "$out"
    else
        check "a $what that finished before the interrupt still succeeded" [ $status -eq 0 ]
    fi
}
check_interrupt run "$cli" search --root "$work/big" --find needle --output "$out"

# The batch tools.
mkdir -p "$work/tools/sub"
printf '/*\n   a.c -- sample  \n*/\n#include <a.h>\n' > "$work/tools/a.c"
printf '/D 10, 12\r\n/I 40\r\nnew text\r\n' > "$work/tools/sub/m.txt"
printf 'caf\xc3\xa9\n' > "$work/tools/p.htm"

"$cli" listing --root "$work/tools" --output "$out" > "$work/stdout" 2> "$work/stderr"
check "a listing exits 0" [ $? -eq 0 ]
check "a listing's stdout is the results path alone" [ "$(cat "$work/stdout")" = "$out" ]
subLine=$(grep -a "/sub  ($work/tools/sub)"$'\r$' "$out")
fileLine=$(grep -a $'m.txt\r$' "$out")
check "a listing shows a sub-folder with its path" [ -n "$subLine" ]
check "a listing indents files two blanks below their folder" \
    [ "${fileLine%%m.txt*}" = "${subLine%%/sub*}  " ]

"$cli" listing --root "$work/tools" --no-subfolders --output "$out" > /dev/null 2>&1
check "--no-subfolders lists the root's own files only" [ "$(grep -c 'm.txt' "$out")" -eq 0 ]

"$cli" c-headers --root "$work/tools" --template '*.c' --output "$out" > "$work/stdout" 2> "$work/stderr"
check "C headers exit 0" [ $? -eq 0 ]
check "C headers say how many files" \
    [ "$(cat "$work/stdout")" = "$(printf '1 file searched.\n%s' "$out")" ]
check "C headers stop at the comment's end" [ "$(grep -c $'^\t' "$out")" -eq 3 ]
check "C headers trim the lines of blanks" grep -q $'^\ta.c -- sample\r$' "$out"
check "C headers show the name as listed" grep -q $'^a.c\r$' "$out"

"$cli" change-marks --root "$work/tools" --template '*.txt' --output "$out" > /dev/null 2>&1
check "change marks exit 0 and count the file" grep -q $'       3         1    sub/m.txt\r$' "$out"
check "change marks write the totals line" grep -q $'<== total counts \r$' "$out"

"$cli" web-cleanup --root "$work/tools" --output "$out" > "$work/stdout" 2> "$work/stderr"
check "web cleanup exits 0" [ $? -eq 0 ]
check "web cleanup writes the copy beside the file" [ "$(cat "$work/tools/p.htm2")" = "caf&eacute;" ]
check "web cleanup leaves the original as it was" [ "$(cat "$work/tools/p.htm")" = "$(printf 'caf\xc3\xa9')" ]
check "web cleanup lists the file" grep -q "^$work/tools/p.htm"$'\r$' "$out"
check "web cleanup writes no copy of unchanged files" [ ! -e "$work/tools/a.c2" ]

: > "$work/linked.out"
ln -s "$work/linked.out" "$work/results-link"
"$cli" web-cleanup --root "$work/tools" --output "$work/results-link" > /dev/null 2>&1
check "a results path that is a link is written through" grep -q "^$work/tools/a.c"$'\r$' "$work/linked.out"
check "a results path that is a link stays a link" [ -L "$work/results-link" ]

"$cli" change-marks --root "$work/missing" --output "$out" > /dev/null 2> "$work/stderr"
check "a tool with a missing root exits 2" [ $? -eq 2 ]
check "a tool names the missing root" grep -q 'Root folder not found!' "$work/stderr"

"$cli" web-cleanup --root "$work/tools" --output "$work/none/out" > /dev/null 2> "$work/stderr"
check "a tool with an uncreatable results file exits 2" [ $? -eq 2 ]
check "web cleanup says Open Error" grep -q "Open Error: $work/none/out" "$work/stderr"

"$cli" listing > /dev/null 2>&1
check "a tool without --root is a usage error" [ $? -eq 2 ]

check_interrupt tool "$cli" change-marks --root "$work/big" --output "$out"

# Hostile input and signals.
"$cli" listing --root "   " --output "$out" > /dev/null 2> "$work/stderr"
check "a blank root is refused like a missing one" [ $? -eq 2 ]
check "a blank root is named not found" grep -q 'Root folder not found!' "$work/stderr"
"$cli" search --root "$work/tools/sub" --template '../*' --no-subfolders --find a --output "$out" > "$work/stdout" 2>&1
check "a template never reaches outside the root" grep -q '^0 files searched.' "$work/stdout"
printf 'mine\n' > "$work/tools/p.htm2"
"$cli" web-cleanup --root "$work/tools" --output "$out" > "$work/stdout" 2>&1
check "a user's file at a copy's name is left as it is" [ "$(cat "$work/tools/p.htm2")" = mine ]
check "and the closing message says so" grep -q 'p.htm2 exists and is not a copy made by Trawlit' "$work/stdout"
rm "$work/tools/p.htm2" && mkdir "$work/tools/p.htm2"
"$cli" web-cleanup --root "$work/tools" --output "$out" > "$work/stdout" 2>&1
check "a copy that could not be written exits 2" [ $? -eq 2 ]
check "and the closing message counts it" grep -q '^1 copy could not be written.$' "$work/stdout"
rmdir "$work/tools/p.htm2"
mkdir -p "$work/deep" && (cd "$work/deep" && for i in $(seq 1 20); do d=$(printf 'd%.0s' $(seq 1 250)); mkdir "$d" && cd "$d"; done)
"$cli" listing --root "$work/deep" --output "$out" > /dev/null 2> "$work/stderr"
check "a folder beyond PATH_MAX is named on stderr" grep -q '^trawlit-cli: Folder not read: ' "$work/stderr"

mkdir -p "$work/accents"
(cd "$work/accents" && seq 1 5000 | sed 's/$/ caf\xe9/' | split -l 1 -a 4 - f)
# Sends signals once the run has created its results file (its handlers are in place by then).
signal_run() { # signals command...
    local signals=$1
    shift
    rm -f "$out"
    "$@" > /dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 500); do [ -e "$out" ] && break; sleep 0.01; done
    sleep 0.05
    for signal in $signals; do kill -"$signal" "$pid" 2> /dev/null; done
    wait "$pid"
    status=$?
}
for ending in TERM:143 HUP:129; do
    signal_run "${ending%:*}" "$cli" search --root "$work/big" --find needle --output "$out"
    check "SIG${ending%:*} ends a search by the signal (or after it finished)" [ $status -eq "${ending#*:}" -o $status -eq 0 ]
    [ $status -ne 0 ] && check "SIG${ending%:*} leaves the abort line" grep -q 'PROCESSING WAS ABORTED VIA USER ACTION' "$out"
done
for signals in "TERM" "INT INT" "TERM QUIT"; do
    signal_run "$signals" "$cli" web-cleanup --root "$work/accents" --output "$out"
    left=$(find "$work/accents" -name '.*2~*')
    check "SIG${signals// /+SIG} leaves no temporary copy" [ -z "$left" ]
    if [ "$signals" = TERM ]; then
        check "SIGTERM ends a web cleanup by the signal (or with 0 when it finished)" [ $status -eq 143 -o $status -eq 0 ]
        check "SIGTERM ends a web cleanup's results on a whole line" [ "$(tail -c 2 "$out" | od -An -c | tr -d ' ')" = '\r\n' ]
    fi
done

# The shell's way: quiet pipes, loops that stop on Ctrl-C, one-line messages, plain words.
"$cli" search needle "$work/big" --output - 2> "$work/stderr" | head -1 > /dev/null
check "a closed pipe ends the run by SIGPIPE, as grep" [ "${PIPESTATUS[0]}" -eq 141 ]
check "a closed pipe says nothing" [ ! -s "$work/stderr" ]

# A terminal's Ctrl-C reaches the shell and the program alike: the loop must stop with it.
rm -f "$out".*
setsid env --default-signal=INT bash -c 'for d in 1 2 3; do "$0" search needle "$1" -o "$2.$d"; done
    echo finished' "$cli" "$work/big" "$out" > "$work/stdout" 2> /dev/null &
loop=$!
for _ in $(seq 500); do [ -e "$out.1" ] && break; sleep 0.01; done
kill -INT -- -"$loop"
wait "$loop"
status=$?
check "Ctrl-C stops a shell loop around the program" \
    eval '[ $status -eq 130 ] && [ ! -e "$out.3" ] && ! grep -q finished "$work/stdout"'

while IFS='|' read -r what expected args; do
    eval "\"\$cli\" $args" > /dev/null 2> "$work/stderr"
    check "one line on stderr: $what" [ "$(cat "$work/stderr")" = "trawlit-cli: $(eval echo "\"$expected\"")" ]
done << 'TABLE'
missing root|$work/missing: Root folder not found!|search needle "$work/missing"
results file not created|File Open Error: Run-time error '76': Path not found, File = $work/none/out|search needle "$work/tree" -o "$work/none/out"
blank text|Search String must be specified!|search "   " "$work/tree" -o "$out"
unknown option|The following argument was not expected: --bogus|search needle --bogus
no text|search: no text to find (TEXT or --find TEXT)|search --root "$work/tree"
text twice|search: the text or the root folder is given twice|search --find needle a b
tool without root|listing: no root folder (ROOT or --root ROOT)|listing
TABLE

mkdir -p "$work/kinds/sub"
for name in a.c b.h c.cpp d7.txt dx.txt sub/e.C; do echo needle > "$work/kinds/$name"; done
long="--format grep --output - --find needle --root $work/kinds"
while IFS='|' read -r what args expected; do
    got=$(cd "$work/kinds" && eval "\"\$cli\" search $args" 2> /dev/null | sed "s|^$work/kinds/||; s|:1:needle$||" | tr '\n' ' ')
    check "$what" [ "$got" = "$expected" ]
done << 'TABLE'
the long form|$long|a.c b.h c.cpp d7.txt dx.txt sub/e.C 
TEXT ROOT and short options|-f grep -o - needle "$work/kinds"|a.c b.h c.cpp d7.txt dx.txt sub/e.C 
ROOT defaults to the current folder|-f grep -o - needle|./a.c ./b.h ./c.cpp ./d7.txt ./dx.txt ./sub/e.C 
--find makes the one plain word the root|-f grep -o - --find needle .|./a.c ./b.h ./c.cpp ./d7.txt ./dx.txt ./sub/e.C 
-n -c -t -j|-n -c -j 2 -t '*.txt' -f grep -o - needle "$work/kinds"|d7.txt:1 dx.txt:1 
-s matches case|-s -f grep -o - NEEDLE "$work/kinds"|
-- before a text with a dash|-f grep -o - -- -needle "$work/kinds"|
several templates|-t '*.c; *.h' $long|a.c b.h sub/e.C 
a character class|-t '*.[ch]' $long|a.c b.h sub/e.C 
a range and a negated class|-t 'd[0-9].txt;[!abcd]*' $long|d7.txt sub/e.C 
TABLE

"$cli" search -t '*.c;*.hh' needle "$work/kinds" -o "$out" > "$work/stdout"
check "the closing message names a template that admitted no file" \
    grep -qx 'No file in the tree matches the template \*.hh.' "$work/stdout"

source <("$cli" --completions bash)
while IFS='|' read -r words expected; do
    read -ra COMP_WORDS <<< "$words"
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _trawlit_cli
    check "bash completes '$words' to '$expected'" [ "${COMPREPLY[*]}" = "$expected" ]
done << 'TABLE'
trawlit-cli se|search
trawlit-cli search --cou|--counts-only
trawlit-cli search --format j|jsonl
trawlit-cli listing --no|--no-subfolders
TABLE
"$cli" --completions zsh > "$work/_trawlit-cli"
check "the zsh completions offer --counts-only" grep -q "'--counts-only\\[" "$work/_trawlit-cli"
command -v zsh > /dev/null && check "zsh hands 'search --cou' the search's options" \
    grep -qx -- '--counts-only\[.*\]' <(zsh -fc 'eval "$(sed "\$d" "$1")"
        _arguments() { print -l -- "$@"; }
        words=(trawlit-cli search --cou) CURRENT=3 _trawlit-cli' _ "$work/_trawlit-cli")
"$cli" --completions fish > "$work/trawlit-cli.fish"
command -v fish > /dev/null && check "fish completes 'search --cou' to --counts-only" \
    [ "$(fish -c "source $work/trawlit-cli.fish; complete -C 'trawlit-cli search --cou'" | cut -f1)" = --counts-only ]

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
