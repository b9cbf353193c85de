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
#
# Then the engine's floor for a page: in the bare window, Enter shows the next
# article page (the viewer's head, an article of a real one's size), timed as
# bench/key-to-pixels.sh times a key, from the key sent through the X server
# to the change of the window's pixels, with key_to_pixels. Each way of
# showing a page gets VOCAB_STARTS starts, and in each start the first page
# after the start page ("first") and VOCAB_SAMPLES (10) more ("later"):
#   write           written into the document shown, as the viewer does now
#   inline          an inline address (setHtml) at the program's folder
#   scheme          a navigation to an address of a scheme of the program's
#                   own, served from memory
#   scheme, start   the same, the start page also served through the scheme
#   path scheme     as scheme, of a scheme of paths alone (no host)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer-run.sh"

[ "${1:-}" = "--inside" ] || rerun_under_xvfb "$0" "${1:-}" engine_floor key_to_pixels
viewer_setup "$2"
viewer=$program
cp "$3" "$app/engine_floor"
tool=$4
samples=${VOCAB_SAMPLES:-10}
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

# One start of the bare window showing pages one way: the first page after
# the start page, then the later ones.
timed_pages() {
    local what=$1 n before line region
    shift
    start_viewer "$@"
    xdotool windowfocus --sync "$window"
    # The pointer off the window, at the screen's far corner.
    xdotool mousemove 1279 1023
    region=0,0,$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}' | tr x ,)
    for n in $(seq 0 $samples); do
        wait_idle
        before=$(pages_shown)
        line=$("$tool" "$window" "$region" key Return) || { echo "$what: $line" >&2; exit 1; }
        wait_for_pages $before 5000 || { echo "$what: Enter brought no page" >&2; exit 1; }
        if [ $n -eq 0 ]; then echo "$what first $line"; else echo "$what later $line"; fi >>"$pages"
    done
    stop_viewer
}

pages=$work/pages.txt
: >"$pages"
program=$app/engine_floor
for n in $(seq $starts); do
    timed_pages write --pages write
    timed_pages inline --pages inline
    timed_pages scheme --pages scheme
    timed_pages scheme-start --pages scheme --start-by-scheme
    timed_pages path-scheme --pages scheme --path-scheme
done
python3 - "$pages" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    how, which, *fields = line.split()
    rows.setdefault((how, which), []).append(dict(f.split("=") for f in fields))
print("a page in the bare window, ms from Enter sent to the picture: median (min-max), and the median first change")
print("                  first page after the start page                later pages")
for how, label in (("write", "write"), ("inline", "inline"), ("scheme", "scheme"), ("scheme-start", "scheme, start"),
                   ("path-scheme", "path scheme")):
    cells = []
    for which in ("first", "later"):
        r = rows.get((how, which), [])
        shown = [float(x["shown_ms"]) for x in r]
        first = [float(x["first_ms"]) for x in r]
        cells.append(f"{statistics.median(shown):6.1f} ({min(shown):.0f}-{max(shown):.0f}) first {statistics.median(first):5.1f}"
                     if r else "")
    print(f"{label:<14}" + "".join(c.rjust(32) for c in cells) + f"   n={len(rows.get((how, 'first'), []))}+{len(rows.get((how, 'later'), []))}")
EOF
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
