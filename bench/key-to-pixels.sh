#!/bin/bash
# From a key sent through the X server to the change of the article view's
# pixels on the screen, in the built viewer on the large generated
# dictionaries, under a virtual X server. Builds nothing.
#
#   bench/key-to-pixels.sh [path/to/vocabulinarum]     (default: build/vocabulinarum)
#
# The folder and the starts are those of bench/startup-memory.sh (VOCAB_DATA
# keeps the dictionaries between runs); the first start installs the
# dictionaries. build/bench/key_to_pixels sends each timed key (XTest) once
# the view has been still for 200 ms and the viewer's processes are quiet,
# and reads the view's pixels (XShm) with no pause until
# any differs ("first"; "shown" once they are not all one colour, as an
# engine that goes through an empty page shows it blank first), then until
# they have been still for 300 ms ("complete": the last change). Timed:
#   first lookup  the first lookup of a later start, on the start page: a word
#                 both Russian dictionaries hold typed with "Все словари"
#                 selected, then Enter; once per start (VOCAB_STARTS, 5)
#   all, Enter    the same lookup again and again in the last start, another
#                 word each time (VOCAB_SAMPLES, 40; at most 190 in all
#                 with the starts)
#   one, key      "Big English" selected, all but the last letter of one of its
#                 headwords in the box, then the last letter, which finds
#                 another headword (VOCAB_SAMPLES)
# Every timed key must bring a new page (the program notes each one) and
# leave the view different, or the run stops. VOCAB_KEEP=1 keeps the folder,
# with every sample (results.txt, with the moment each key was sent) and the
# program's notes (times.log).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer-run.sh"

[ "${1:-}" = "--inside" ] || rerun_under_xvfb "$0" "${1:-}" key_to_pixels
tool=$3
viewer_setup "$2"
samples=${VOCAB_SAMPLES:-40}
starts=${VOCAB_STARTS:-5}
[ $((samples + starts)) -lt 200 ] || { echo "at most 199 samples and starts in all" >&2; exit 1; }
[ -s "$data/words-one.txt" ] || python3 "$here/pick-words.py" "$data"
mapfile -t both <"$data/words-both.txt"
mapfile -t one <"$data/words-one.txt"
results=$work/results.txt
: >"$results"

# Times one key; the line goes to the results under the action's name.
timed_key() {
    local action=$1 key=$2 what=$3 before line
    wait_idle
    before=$(pages_shown)
    line=$("$tool" "$window" "$view" key "$key") || { echo "$action ($what): $line" >&2; exit 1; }
    wait_for_pages $before 5000 || { echo "$action ($what): the key brought no page" >&2; exit 1; }
    echo "$action $line" >>"$results"
}

type_word() {
    xdotool key ctrl+a
    xdotool type --delay 15 "$1"
}

echo "first start (installs the dictionaries) ..."
start_viewer
stop_viewer
for n in $(seq $starts); do
    start_viewer
    view=$(article_view)
    focus_search_box
    type_word "${both[$n]}"
    timed_key "first-lookup" Return "${both[$n]}"
    if [ $n -lt $starts ]; then stop_viewer; fi
done
echo "view at $view in window $window, $samples samples"

for n in $(seq $samples); do
    type_word "${both[$((starts + n))]}"
    timed_key "all-enter" Return "${both[$((starts + n))]}"
done

# In the tree: a click on its first row (the root, selected already), Down to
# the folder of new dictionaries, a click below the rows to take the focus
# back from the search box (selecting a node gives it the focus) without
# selecting anything, Right to open the folder, and B to select "Big
# English", which shows its first headword.
tree_place=($(awk '$2 == "dictionary-tree" {place = $3 " " $4 " " $5 " " $6} END {print place}' "$times"))
xdotool mousemove --window "$window" $((tree_place[0] + 40)) $((tree_place[1] + 8)) click 1
before=$(pages_shown)
xdotool key Down
wait_for_pages $before 5000 || { echo "selecting the folder showed no page" >&2; exit 1; }
# The search box takes the focus on its 100 ms timer after a node is opened.
sleep 0.3
xdotool mousemove --window "$window" $((tree_place[0] + 40)) $((tree_place[1] + tree_place[3] - 8)) click 1
before=$(pages_shown)
xdotool key --delay 100 Right b
wait_for_pages $before 5000 || { echo "selecting Big English showed no page" >&2; exit 1; }
focus_search_box
for n in $(seq $samples); do
    word=${one[$n]}
    type_word "${word%?}"
    timed_key "one-key" "${word: -1}" "$word"
done
stop_viewer
if [ -s "$work/messages.log" ]; then
    echo "message boxes shown:"
    sed 's/^/  /' "$work/messages.log"
fi

python3 - "$results" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    action, *fields = line.split()
    values = dict(f.split("=") for f in fields)
    rows.setdefault(action, []).append(values)
def q(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(p * len(values)))]
print("ms from the key sent     n   median  p10    p90    min    max")
for action, label in (("first-lookup", "first lookup"), ("all-enter", "all, Enter"), ("one-key", "one, key")):
    for field, what in (("first_ms", "first"), ("shown_ms", "shown"), ("last_ms", "complete")):
        v = [float(r[field]) for r in rows.get(action, [])]
        if v:
            print(f"{label + ', ' + what:<22} {len(v):3d} {statistics.median(v):7.1f} {q(v, .1):6.1f} {q(v, .9):6.1f}"
                  f" {min(v):6.1f} {max(v):6.1f}")
polls = [float(r["poll_ms"]) for rs in rows.values() for r in rs]
print(f"one read of the view's pixels: {statistics.mean(polls):.2f} ms on average")
EOF
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
