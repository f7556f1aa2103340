#!/bin/sh
# Fills the seed corpus of the fuzz targets (fuzz/corpus/intake and fuzz/corpus/convert) from the golden
# logs, a few hand-written damaged records, and any further logs named on the command line (for example logs
# made by the log generator: fuzz/seed.sh generated/*.log). Seeds are named by their content's hash, so
# running it again adds only what is new.
set -eu
cd "$(dirname "$0")"
intake=corpus/intake
convert=corpus/convert
mkdir -p "$intake" "$convert"

# put FOLDER < bytes: stores the bytes under the name of their hash.
put() {
    tmp=$(mktemp)
    cat >"$tmp"
    sum=$(sha1sum "$tmp" | cut -c1-16)
    mv "$tmp" "$1/$sum"
}

# The option header of the conversion target: range type, from, to, split, flags, stop, block size, name.
headers='\000\000\000\000\000\000\000\000 \001\003\000\011\041\000\000\000 \002\002\000\012\252\000\001\001
 \003\000\177\003\017\011\000\000 \000\000\000\017\243\012\002\000'

seed_log() {
    log=$1
    # The whole log for both targets, and each line for the intake.
    put "$intake" <"$log"
    for header in $headers; do
        { printf "$header"; cat "$log"; } | put "$convert"
    done
    while IFS= read -r line || [ -n "$line" ]; do
        printf '%s\r\n' "$line" | put "$intake"
    done <"$log"
}

for log in ../tests/data/golden/*.log "$@"; do
    seed_log "$log"
done

# Damaged records, one per kind of damage.
good="ID=7;GAME=Texas Hold'em;TABLE=T;TIME=1168889400000;BTN=0;NP=2;SB=1;BB=2;PN0=a;PB0=10;PN1=b;PB1=10;BOARD=??????????;SEQ=sBf;"
for record in \
    "$good" \
    "ID=7;GAME=Texas Hold'em;TABLE=T;TIME=11688" \
    "ID=8;;SEQ=sB;" \
    "BTN=10;" "BB=1.2.3;" "PBx=1;" "PC0=Ah;" "BOARD=AhKdQc;" "TABLE=;" "TIME=x;" "TOURNAMENT_ID=5;" \
    "NP=x;" "ID=x;" "SB=x;" "RAKE=x;" "GAME=Omaha;" "PB3=x;" "FOO=1;" \
    "ID=9;TABLE=T;NP=2;PN0=a;PB0=5;PN1=b;PB1=5;SEQ=sBxf;" \
    "ID=9;TABLE=T;NP=2;PN0=a;PB0=5;PN1=b;PB1=5;SEQ=sB////;" \
    "ID=9;TABLE=T;NP=2;PN0=a;PB0=5;PN1=b;PB1=5;SEQ=sBD;" \
    "ID=9;TABLE=T;NP=2;PN0=a;PB0=5;PN1=b;PB1=5;SEQ=sBPx;" \
    "ID=9;TABLE=T;NP=2;PN0=a;PB0=5;PN1=b;PB1=5;BETS=;SEQ=sBrrr;"; do
    printf '%s\r\n' "$record" | put "$intake"
    { printf '\000\000\000\000\000\000\000\000'; printf '%s\n%s\r%s' "$record" "$good" "$good"; } | put "$convert"
done
# A NUL inside a record, a bare CR, a chunk of 256 characters.
{ printf 'ID=1;GAME=Tex\000as;\r\n'; printf '%s\r\n' "$good"; } | put "$intake"
{ printf '\000\000\000\000\000\000\000\000'; printf '%s\000\r\n%s\r%s\r\n' "$good" "$good" "$good"; } | put "$convert"
{ printf 'PN0='; head -c 252 /dev/zero | tr '\0' 'a'; printf ';\n'; } | put "$intake"
echo "seed corpus: $(ls "$intake" | wc -l) intake, $(ls "$convert" | wc -l) convert"
