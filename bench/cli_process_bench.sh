#!/usr/bin/env bash
# Whole-process figures of quillet-cli on a large store, each next to a baseline measured in the same run,
# interleaved, as medians of several runs:
#   cards of one 100,000-card category       against  cat of its file
#   check of 400 files with 400,000 cards    against  LC_ALL=C grep -c -F x over the same files, to a pipe
#   add of one card to the 100,000 cards     against  cp of the file and sync -f
#   search by content of the 400 files       against  LC_ALL=C grep -c -F of the same text, to a pipe
#     (a text found nowhere, one in 1 % of the cards, one Chinese character), each result count checked
# Usage: bench/cli_process_bench.sh [build/bin/quillet-cli]
set -euo pipefail
cli=$(realpath "${1:-build/bin/quillet-cli}")
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$(dirname "$0")/make_store.py" "$work"

big="$work/big/Qu_data/Qulan.001"
many=("$work"/many/Qu_data/Qu*)

ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# The texts to search and how many cards hold each, as the generator counted them.
declare -A expected
while IFS=$'\t' read -r text count; do expected[$text]=$count; done <"$work/expected"
search_texts=(QString::arg needle 电)
search_label=([0]="found nowhere" [1]="in 1 % of the cards" [2]="one Chinese character")
for text in "${search_texts[@]}"; do
    found=$("$cli" --home "$work/many" search "$text" --by content | wc -l)
    if [ "$found" -ne "${expected[$text]}" ]; then
        echo "search for $text found $found cards, not ${expected[$text]}" >&2
        exit 1
    fi
done

declare -A samples
for ((i = 0; i < runs; i++)); do
    for n in "${!search_texts[@]}"; do
        text=${search_texts[$n]}
        samples[search$n]+="$(ms sh -c "'$cli' --home '$work/many' search '$text' --by content | cat") "
        samples[grep$n]+="$(ms sh -c 'LC_ALL=C grep -c -F "$0" "$@" | cat' "$text" "${many[@]}") "
    done
    samples[cards]+="$(ms "$cli" --home "$work/big" cards 0 大类别) "
    samples[cat]+="$(ms cat "$big") "
    samples[check]+="$(ms "$cli" --home "$work/many" check) "
    samples[grep]+="$(ms sh -c 'LC_ALL=C grep -c -F x "$@" | cat' sh "${many[@]}") "
    samples[add]+="$(ms sh -c "echo text | '$cli' --home '$work/big' add 0 大类别 'bench card $i'") "
    samples[cp]+="$(ms sh -c "cp '$big' '$work/copy' && sync -f '$work/copy'") "
done

report() {
    local what=$1 measured=$2 baseline=$3 goal=$4
    local m b
    m=$(tr ' ' '\n' <<<"${samples[$measured]}" | grep . | median)
    b=$(tr ' ' '\n' <<<"${samples[$baseline]}" | grep . | median)
    awk -v w="$what" -v m="$m" -v b="$b" -v g="$goal" \
        'BEGIN {printf "ratio %-58s %6.1f ms / %6.1f ms = %.2f (goal at most %s)\n", w, m / 1000, b / 1000, m / b, g}'
}
report "cards of 100,000 cards / cat of the file" cards cat 2.0
report "check of 400 files, 400,000 cards / grep -c -F to a pipe" check grep 1.5
report "add to 100,000 cards / cp + sync -f of the file" add cp 1.5
for n in "${!search_texts[@]}"; do
    report "search by content, ${search_label[$n]} (${expected[${search_texts[$n]}]} cards) / grep -c -F" \
        "search$n" "grep$n" 1.5
done

# Peak memory of a search: the largest category file and the results, not the store.
peak_kib() {
    python3 -c 'import os, subprocess, sys
p = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
print(os.wait4(p.pid, 0)[2].ru_maxrss)' "$@"
}
store_mib=$(du -sm "$work/many/Qu_data" | cut -f1)
largest_kib=$(($(stat -c %s "${many[@]}" | sort -n | tail -1) / 1024))
empty_kib=$(peak_kib "$cli" --home "$work/many" search QString::arg --lib 0 --by name)
for n in "${!search_texts[@]}"; do
    text=${search_texts[$n]}
    kib=$(peak_kib "$cli" --home "$work/many" search "$text" --by content)
    echo "memory search for ${search_label[$n]}: peak $((kib / 1024)) MiB (a search that reads" \
        "one file: $((empty_kib / 1024)) MiB; largest file ${largest_kib} KiB; store ${store_mib} MiB)"
done
