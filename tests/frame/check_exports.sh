#!/bin/sh
# The shared library's dynamic symbol table holds the thirteen exports and no other symbol of ours.
set -eu
lib=$1
expected="ConvertHands GetErrorLog GetNumBadHands GetNumFiles GetTotalHands SetFileSplit SetFixSmallBlind
SetMake6Max SetMuckHands SetRangeType SetRangeValues SetRealMoney SetSaveAllHole"
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
want=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$want" ]; then
    echo "exports of $lib:"; echo "  got:  $actual"; echo "  want: $want"
    exit 1
fi
echo "exports ok: $actual"
