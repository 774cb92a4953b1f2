#!/usr/bin/env bash
# Writes the generated part of the fuzz seed corpora (files named gen_*) into fuzz/corpus/ with
# the record generator; the hand-written damaged records beside them (hand_*) are kept as
# they are. Usage: fuzz/make_corpus.sh [KXRGEN]   (default: build-fuzz/bin/kxrgen)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kxrgen="${1:-$root/build-fuzz/bin/kxrgen}"
if [[ ! -x "$kxrgen" ]]; then
    echo "make_corpus: $kxrgen not found; build it first (cmake --build build-fuzz --target kxrgen)" >&2
    exit 1
fi
corpus="$root/fuzz/corpus"
mkdir -p "$corpus"/{event_line,xml_converter,replay,time_address,record_summary}
rm -f "$corpus"/*/gen_*
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The replay target reads user actions from the end of its input: action bytes, then a
# control byte (bit 0: XML reading, bit 1: load a good record first, bits 2-7: action count).
# Low nibble of an action: 0 forward, 1 forward ten, 2 back, 3 back ten, 4 reload,
# 5 select, 6 point, 7 view, 8 highlight, 9 start, 10 stop, 11 tick, 12 end, 13 interval,
# 14 load the good record, 15 the same file read the other way.
actions_walk='\x15\x00\x01\x01\x02\x03\x26\x03\x0c\x04\x02\x13\x9d\x09\x0b\x0b'
actions_end='\x25\x0c\x02\x36\x44\x0c\x04\x00\x17\x18\x03\x01\x0e\x02'

with_actions() { # FILE ACTIONS COUNT READING
    local control=$(( ($3 << 2) | $4 ))
    printf "$2" >>"$1"
    printf "\\x$(printf '%02x' "$control")" >>"$1"
}

n=0
# seed events players width height; small enough that every replay seed stays under the 4 KB
# that scripts/fuzz.sh allows the replay target.
for options in "1 12 2 6 4" "2 20 3 10 8" "3 25 1 3 1" "4 24 5 12 12" "5 20 4 26 3" "6 8 2 1 9"; do
    read -r seed events players width height <<<"$options"
    n=$((n + 1))
    "$kxrgen" --seed "$seed" --events "$events" --players "$players" --width "$width" \
        --height "$height" --speed $((seed * 3)) --kxr2 "$tmp/r.kxr2" --kxr "$tmp/r.kxr"
    cp "$tmp/r.kxr2" "$corpus/xml_converter/gen_$n.kxr2"
    cp "$tmp/r.kxr" "$corpus/event_line/gen_$n.kxr"
    cp "$tmp/r.kxr" "$corpus/replay/gen_${n}_log"
    with_actions "$corpus/replay/gen_${n}_log" "$actions_walk" 16 0
    cp "$tmp/r.kxr2" "$corpus/replay/gen_${n}_xml"
    with_actions "$corpus/replay/gen_${n}_xml" "$actions_end" 14 1
    # The summary target reads a control byte after the record: bit 0 XML, bit 1 a record
    # lengthened past the browser's first read by repeating the line that bits 2-7 choose.
    cp "$tmp/r.kxr" "$corpus/record_summary/gen_${n}_log"
    printf '\x00' >>"$corpus/record_summary/gen_${n}_log"
    cp "$tmp/r.kxr2" "$corpus/record_summary/gen_${n}_xml"
    printf '\x01' >>"$corpus/record_summary/gen_${n}_xml"
    cp "$tmp/r.kxr" "$corpus/record_summary/gen_${n}_log_long"
    printf "\\x$(printf '%02x' $(( (n << 3) | 2 )))" >>"$corpus/record_summary/gen_${n}_log_long"
    cp "$tmp/r.kxr2" "$corpus/record_summary/gen_${n}_xml_long"
    printf "\\x$(printf '%02x' $(( ((n + 4) << 2) | 3 )))" >>"$corpus/record_summary/gen_${n}_xml_long"
    # The first lines of the log hold every kind of time stamp and cell the target reads.
    head -c 19 "$tmp/r.kxr" >"$corpus/time_address/gen_time_$n"
    grep -a -o -m 1 'create_hq; [^;]*; [^;]*; [^;]*;' "$tmp/r.kxr" | sed 's/.*; \([^;]*\);$/\1/' |
        tr -d '\n' >"$corpus/time_address/gen_cell_$n"
done
echo "make_corpus: wrote $(ls "$corpus"/*/gen_* | wc -l) generated seeds under $corpus"
