#!/usr/bin/env bash
# Whole-process figures of quillet-cli on a large store, each next to a baseline measured in the same run,
# interleaved, as medians of several runs:
#   cards of one 100,000-card category       against  cat of its file
#   check of 400 files with 400,000 cards    against  LC_ALL=C grep -c -F x over the same files, to a pipe
#   add of one card to the 100,000 cards     against  cp of the file and sync -f
# Usage: bench/cli_process_bench.sh [build/bin/quillet-cli]
set -euo pipefail
cli=$(realpath "${1:-build/bin/quillet-cli}")
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Realistic cards: Chinese names of 10 to 30 characters, texts of a few hundred bytes, written by the tool's
# own format through a small generator (the same bytes the program writes).
python3 - "$work" <<'PY'
import os, random, struct, sys
random.seed(7)
root = sys.argv[1]
def field(b):
    n = len(b)
    if n < 255: return bytes([n]) + b
    if n < 65534: return b'\xff' + struct.pack('<H', n) + b
    return b'\xff\xff\xff' + struct.pack('<I', n) + b
chars = '的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处理府研'
def category(name, cards, start=0):
    out = bytearray(field(b'QuilletArchive File:') + field(b'Ver1.0') + field(name.encode('gbk')) + struct.pack('<i', cards))
    for i in range(cards):
        card = ''.join(random.choice(chars) for _ in range(random.randint(10, 30))) + str(start + i)
        text = '内容' * random.randint(100, 200) + '\r\n'
        out += field(card.encode('gbk')) + field(text.encode('gbk')) + field(b'')
    return bytes(out)
for home, files, cards in (('big', 1, 100000), ('many', 400, 1000)):
    os.makedirs(f'{root}/{home}/Qu_data')
    for n in range(1, files + 1):
        prefix = ('Qulan.', 'Quuse.', 'Quown.', 'Quweb.')[(n - 1) % 4]
        number = (n - 1) // 4 + 1
        name = f'{prefix}{number:03d}' if number < 100 else f'{prefix}{number}'
        with open(f'{root}/{home}/Qu_data/{name}', 'wb') as f:
            f.write(category('大类别' if files == 1 else f'类别{n}', cards, n * cards))
PY

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

declare -A samples
for ((i = 0; i < runs; i++)); do
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
