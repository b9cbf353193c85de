#!/bin/bash
# Start-up time and memory of the built viewer on a folder of large generated
# dictionaries, under a virtual X server. Builds nothing.
#
#   bench/startup-memory.sh [path/to/vocabulinarum]     (default: build/vocabulinarum)
#
# The folder holds the sample's ConfigFiles and four generated dictionaries
# (bench/make-dictionaries.py: a whole list of 200 000 headwords with 150 MB of
# articles, three per-letter ones). The viewer starts twice: the first start
# installs the dictionaries, the second is a later start, which is measured.
#
# Idle is the latest of: the window mapped, the start-up load done and the
# start page's load ended (the program notes those two moments when
# VOCABULINARUM_STARTUP_TIMES names a file), followed by the CPU use of all
# the viewer's processes falling quiet (together under a tenth of one core
# over half a second); the time to idle is counted to the start of that quiet.
# Memory is the proportional set size (PSS) of the program and of its engine
# processes (QtWebEngineProcess), from /proc/<pid>/smaps_rollup, at idle and
# after 20 lookups typed with xdotool (a word, then Enter, with "Все словари"
# selected: the page of the word from every dictionary).
#
# Extra arguments for the engine may be tried with VOCAB_EXTRA_CHROMIUM_FLAGS.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")

if [ "${1:-}" != "--inside" ]; then
    program=$(realpath "${1:-$source_dir/build/vocabulinarum}")
    [ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }
    for tool in xvfb-run xdotool python3; do
        command -v $tool >/dev/null || { echo "needs $tool" >&2; exit 1; }
    done
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$program"
fi
program=$2

work=$(mktemp -d /tmp/vocab-startup.XXXXXX)
trap '[ -n "${VOCAB_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"' EXIT
app=$work/app
mkdir -p "$app" "$work/run"
chmod 700 "$work/run"
cp -r "$source_dir/sample/ConfigFiles" "$app/"
# The program finds its start page and pictures beside itself, as installed.
cp "$program" "$app/vocabulinarum"
program=$app/vocabulinarum
# VOCAB_DATA names a folder that keeps the generated dictionaries between runs.
data=${VOCAB_DATA:-$work/data}
if [ ! -s "$data/lookups.txt" ]; then
    echo "generating dictionaries in $data ..."
    python3 "$here/make-dictionaries.py" "$data"
fi
ln -s "$(realpath "$data")/dic" "$app/dic"
cp "$data/lookups.txt" "$work/lookups.txt"
du -shL "$app/dic"/* | sed 's/^/  /'

export QT_QPA_PLATFORM=xcb
export QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_RUNTIME_DIR=$work/run
export VOCABULINARUM_REGISTRY=$work/registry.json
export VOCABULINARUM_MESSAGE_LOG=$work/messages.log
if [ -n "${VOCAB_EXTRA_CHROMIUM_FLAGS:-}" ]; then
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }$VOCAB_EXTRA_CHROMIUM_FLAGS"
fi
times=$work/times.log

now_ms() { date +%s%3N; }

# The program and every process below it.
tree_pids() {
    local pids=$1 next=$1 p
    while [ -n "$next" ]; do
        local children=""
        for p in $next; do
            children="$children $(cat /proc/$p/task/*/children 2>/dev/null || true)"
        done
        next=$(echo $children)
        [ -n "$next" ] && pids="$pids $next"
    done
    echo $pids
}

# CPU time of all of them, in clock ticks.
tree_cpu() {
    local total=0 p fields
    for p in $(tree_pids "$1"); do
        fields=$(sed 's/^.*) //' /proc/$p/stat 2>/dev/null) || continue
        set -- $fields
        total=$((total + ${12} + ${13}))
    done
    echo $total
}

# Waits until the CPU is quiet: all the processes together use under a tenth
# of one core over half a second. Prints the moment that half second began.
wait_quiet() {
    local pid=$1 ticks_per_s t1 t2 c1 c2 start
    ticks_per_s=$(getconf CLK_TCK)
    start=$(now_ms)
    while :; do
        t1=$(now_ms); c1=$(tree_cpu "$pid")
        sleep 0.5
        t2=$(now_ms); c2=$(tree_cpu "$pid")
        if [ $(( (c2 - c1) * 1000 / ticks_per_s * 10 )) -lt $((t2 - t1)) ] || [ $((t2 - start)) -gt 60000 ]; then
            echo $t1
            return
        fi
    done
}

# PSS in kB of the program and of its engine processes.
pss_report() {
    local pid=$1 main=0 engine=0 count=0 p kb
    for p in $(tree_pids "$pid"); do
        kb=$(awk '/^Pss:/ {print $2}' /proc/$p/smaps_rollup 2>/dev/null || echo 0)
        [ -n "$kb" ] || kb=0
        if [ "$p" = "$pid" ]; then main=$kb; else engine=$((engine + kb)); count=$((count + 1)); fi
    done
    printf "%s: PSS total %d MB: program %d MB, %d engine processes %d MB\n" "$2" \
        $(( (main + engine) / 1024 )) $((main / 1024)) $count $((engine / 1024))
    # Of the program's own share, the engine's code mapped into it (its
    # browser side runs in the program's process; its heap is not told apart).
    printf "    the engine's libraries in the program's process: %d MB\n" \
        $(( $(awk '/^[0-9a-f]+-[0-9a-f]+ / {lib = ($6 ~ /WebEngine/)} /^Pss:/ && lib {kb += $2} END {print kb + 0}' \
            /proc/$pid/smaps 2>/dev/null) / 1024 ))
    # The program's largest shares, by what is mapped (heap, files, anonymous).
    awk '/^[0-9a-f]+-[0-9a-f]+ / {name = ($6 == "" ? "[anonymous]" : $6)} /^Pss:/ {kb[name] += $2}
         END {for (n in kb) printf "%d %s\n", kb[n] / 1024, n}' /proc/$pid/smaps 2>/dev/null \
        | sort -rn | head -6 | awk '{printf "    program: %5d MB  %s\n", $1, $2}'
    for p in $(tree_pids "$pid"); do
        [ "$p" = "$pid" ] && continue
        kb=$(awk '/^Pss:/ {print $2}' /proc/$p/smaps_rollup 2>/dev/null || echo 0)
        printf "    pid %-8s parent %-8s %5d MB  %s\n" "$p" "$(awk '/^PPid:/ {print $2}' /proc/$p/status 2>/dev/null)" \
            $((kb / 1024)) "$(tr '\0' ' ' </proc/$p/cmdline 2>/dev/null | grep -o -- '--type=[a-z-]*' || echo)"
    done
}

# The moment of the first line of the times file that matches.
moment() { awk -v what="$1" '$0 ~ what {print $1; exit}' "$times"; }

wait_for_line() {
    local what=$1 limit=$2 start
    start=$(now_ms)
    until grep -q -- "$what" "$times" 2>/dev/null; do
        [ $(( $(now_ms) - start )) -gt $limit ] && return 1
        sleep 0.02
    done
}

# The largest mapped window of the main window's caption, if any.
main_window() {
    local id best="" area most=0
    for id in $(xdotool search --onlyvisible --name "^ Vocabulinarum$" 2>/dev/null || true); do
        area=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk -F'[ x]+' '/Geometry/ {print $3 * $4}')
        [ -n "$area" ] && [ "$area" -gt $most ] && { most=$area; best=$id; }
    done
    echo $best
}

start_viewer() {
    : >"$times"
    started=$(now_ms)
    (cd "$app" && VOCABULINARUM_STARTUP_TIMES=$times exec "$program" >"$work/out.log" 2>&1) &
    pid=$!
    # Looked for again and again: a window that goes while the search walks
    # the tree makes the search fail.
    window=""
    while [ -z "$window" ]; do
        kill -0 $pid 2>/dev/null || { echo "the viewer ended before its window came" >&2; exit 1; }
        window=$(main_window)
        [ -n "$window" ] || sleep 0.02
    done
    mapped=$(now_ms)
    wait_for_line startup-load-done 600000 || { echo "the start-up load did not end" >&2; exit 1; }
    wait_for_line "page-loaded .*references.htm" 60000 || { echo "the start page did not load" >&2; exit 1; }
    quiet=$(wait_quiet $pid)
    # The window the start showed first may have been made anew since.
    window=$(main_window)
}

stop_viewer() {
    kill -TERM $pid 2>/dev/null || true
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill -KILL $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
}

echo "first start (installs the dictionaries) ..."
start_viewer
printf "first start: idle after %d ms\n" $((quiet - started))
stop_viewer

echo "later start ..."
start_viewer
first_page=$(moment page-loaded)
load_done=$(moment startup-load-done)
start_page=$(moment "page-loaded .*references.htm")
ready=$mapped
for t in $load_done $start_page; do [ $t -gt $ready ] && ready=$t; done
[ $quiet -lt $ready ] && quiet=$ready
echo "later start, ms from the program's start:"
printf "  the engine's first page loaded (the empty page) %6d\n" $((first_page - started))
printf "  window mapped                                   %6d\n" $((mapped - started))
printf "  start-up load done                              %6d\n" $((load_done - started))
printf "  start page loaded                               %6d\n" $((start_page - started))
printf "  idle (all of it done, CPU quiet)                %6d\n" $((quiet - started))
pss_report $pid "at idle"

xdotool windowfocus --sync "$window"
# The pointer away from the article view: over it, the view would take the
# keyboard focus a moment after each page.
xdotool mousemove --window "$window" 5 5
sleep 0.3 # the search box takes the focus on its timer
lookups=0
while read -r word; do
    loads=$(grep -cE 'page-(loaded|written)' "$times")
    xdotool key ctrl+a
    xdotool type --delay 20 "$word"
    xdotool key Return
    wait_for_line_count() {
        local start; start=$(now_ms)
        while [ "$(grep -cE 'page-(loaded|written)' "$times")" -le $loads ]; do
            [ $(( $(now_ms) - start )) -gt 20000 ] && return 1
            sleep 0.02
        done
    }
    wait_for_line_count || echo "  no page came for '$word'" >&2
    lookups=$((lookups + 1))
done <"$work/lookups.txt"
wait_quiet $pid >/dev/null
pss_report $pid "after $lookups lookups"
stop_viewer
history=$(grep -c . "$app/ConfigFiles/history.trv" 2>/dev/null || echo 0)
echo "history after the run: $history words"
if [ -s "$work/messages.log" ]; then
    echo "message boxes shown:"
    sed 's/^/  /' "$work/messages.log"
fi
