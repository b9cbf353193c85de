#!/bin/bash
# The later start of the built viewer beside the engine's own floor, under a
# virtual X server. Builds nothing.
#
#   bench/engine-floor.sh [path/to/vocabulinarum]     (default: build/vocabulinarum)
#
# Starts, VOCAB_STARTS times each (5), timed as bench/startup-memory.sh times
# the later start (the same folder, dictionaries and idle): the viewer, on its
# installed dictionaries; build/bench/engine_floor, a bare window of the same
# size holding only the engine's view, set up as the viewer sets it up, which
# loads the same start page; and the bare window loading about:blank first,
# then the start page. Prints the median of each moment, in ms from the start.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer-run.sh"

if [ "${1:-}" != "--inside" ]; then
    program=$(realpath "${1:-$source_dir/build/vocabulinarum}")
    floor=$(dirname "$program")/bench/engine_floor
    [ -x "$floor" ] || { echo "no $floor (build the bench targets first)" >&2; exit 1; }
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
    rerun_under_xvfb "$0" "$program" "$floor"
fi
viewer_setup "$2"
viewer=$program
cp "$3" "$app/engine_floor"
starts=${VOCAB_STARTS:-5}
rows=$work/rows.txt
: >"$rows"

# One start, its moments as one row: what, mapped, load done, start page, idle.
timed_start() {
    local what=$1
    shift
    start_viewer "$@"
    local load_done start_page ready
    load_done=$(moment startup-load-done)
    start_page=$(moment "page-loaded .*references.htm")
    ready=$mapped
    for t in $load_done $start_page; do [ $t -gt $ready ] && ready=$t; done
    [ $quiet -lt $ready ] && quiet=$ready
    echo "$what $((mapped - started)) $((load_done - started)) $((start_page - started)) $((quiet - started))" >>"$rows"
    stop_viewer
}

echo "first start of the viewer (installs the dictionaries) ..."
start_viewer
stop_viewer
for n in $(seq $starts); do
    program=$viewer
    timed_start viewer
    program=$app/engine_floor
    timed_start bare
    timed_start bare-blank-first --blank-first
done

python3 - "$rows" "$starts" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    what, *values = line.split()
    rows.setdefault(what, []).append([int(v) for v in values])
print(f"later start, ms from the start, median of {sys.argv[2]} (min-max):")
print("                            window mapped  load done    start page   idle")
for what, label in (("viewer", "the viewer"), ("bare", "bare engine window"), ("bare-blank-first", "bare, about:blank first")):
    columns = list(zip(*rows[what]))
    print(f"{label:<26}" + "".join(f"{statistics.median(c):5.0f} ({min(c)}-{max(c)})".rjust(13) for c in columns))
EOF
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
