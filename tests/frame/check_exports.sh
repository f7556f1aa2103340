#!/bin/sh
# The shared library's dynamic symbol table holds the thirteen exports and no other symbol of ours.
# check_exports.sh LIBRARY [OBJDUMP]: given OBJDUMP, LIBRARY is a DLL and its export table is read with it.
set -eu
lib=$1
expected="ConvertHands GetErrorLog GetNumBadHands GetNumFiles GetTotalHands SetFileSplit SetFixSmallBlind
SetMake6Max SetMuckHands SetRangeType SetRangeValues SetRealMoney SetSaveAllHole"
if [ $# -ge 2 ]; then
    # The rows of the "[Ordinal/Name Pointer] Table": "[   0] GetErrorLog".
    names=$("$2" -p "$lib" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
else
    names=$(nm -D --defined-only "$lib" | awk '{print $3}')
fi
actual=$(echo "$names" | sort | tr '\n' ' ' | sed 's/ $//')
want=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$want" ]; then
    echo "exports of $lib:"; echo "  got:  $actual"; echo "  want: $want"
    exit 1
fi
echo "exports ok: $actual"
