# Sourced by the scripts that measure the built viewer from outside, under a
# virtual X server: the working folder, the viewer's start and stop, and what
# they read of its processes.
#
#   viewer_setup PROGRAM    makes the folder: the sample's ConfigFiles, the
#                           program, the generated dictionaries (kept in
#                           VOCAB_DATA between runs, if set) and the viewer's
#                           environment
#   start_viewer [ARGS]     starts it and waits for idle (sets pid, window,
#                           started, mapped, quiet: times in ms)
#   stop_viewer
#
# The program notes its moments in $times (VOCABULINARUM_STARTUP_TIMES).
# Extra arguments for the engine may be tried with VOCAB_EXTRA_CHROMIUM_FLAGS.

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$bench_dir")

# Runs the calling script again under a virtual X server, once the tools it
# names are there.
# rerun_under_xvfb SCRIPT [PROGRAM] [BENCH-TOOL ...]: runs SCRIPT again under
# a virtual X server as SCRIPT --inside PROGRAM TOOL-PATH ..., each tool taken
# from the bench folder beside the program (build/vocabulinarum by default).
rerun_under_xvfb() {
    local script=$1 program tool name
    program=$(realpath "${2:-$source_dir/build/vocabulinarum}")
    shift 2
    [ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }
    local tools=()
    for name in "$@"; do
        tool=$(dirname "$program")/bench/$name
        [ -x "$tool" ] || { echo "no $tool (build the bench targets first)" >&2; exit 1; }
        tools+=("$tool")
    done
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
    for tool in xvfb-run xdotool python3; do
        command -v $tool >/dev/null || { echo "needs $tool" >&2; exit 1; }
    done
    # The search for a free display starts at a number of its own, away
    # from the one every other run under xvfb-run tries first.
    exec xvfb-run -a -n $((200 + RANDOM % 600)) -s "-screen 0 1280x1024x24" "$script" --inside "$program" "${tools[@]}"
}

viewer_setup() {
    program=$1
    work=$(mktemp -d /tmp/vocab-bench.XXXXXX)
    trap '[ -n "${VOCAB_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"' EXIT
    app=$work/app
    mkdir -p "$app" "$work/run"
    chmod 700 "$work/run"
    cp -r "$source_dir/sample/ConfigFiles" "$app/"
    # The program finds its start page and pictures beside itself, as installed.
    cp "$program" "$app/vocabulinarum"
    program=$app/vocabulinarum
    data=${VOCAB_DATA:-$work/data}
    if [ ! -s "$data/lookups.txt" ]; then
        echo "generating dictionaries in $data ..."
        python3 "$bench_dir/make-dictionaries.py" "$data"
    fi
    data=$(realpath "$data")
    ln -s "$data/dic" "$app/dic"
    cp "$data/lookups.txt" "$work/lookups.txt"

    export QT_QPA_PLATFORM=xcb
    export QTWEBENGINE_DISABLE_SANDBOX=1
    export XDG_RUNTIME_DIR=$work/run
    export VOCABULINARUM_REGISTRY=$work/registry.json
    export VOCABULINARUM_MESSAGE_LOG=$work/messages.log
    if [ -n "${VOCAB_EXTRA_CHROMIUM_FLAGS:-}" ]; then
        export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }$VOCAB_EXTRA_CHROMIUM_FLAGS"
    fi
    times=$work/times.log
}

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

# Waits until the viewer's processes together use under a tenth of a core
# over 200 ms.
wait_idle() {
    local c1 c2 limit=50
    while [ $limit -gt 0 ]; do
        c1=$(tree_cpu $pid); sleep 0.2; c2=$(tree_cpu $pid)
        [ $((c2 - c1)) -le $(( $(getconf CLK_TCK) / 50 )) ] && return
        limit=$((limit - 1))
    done
    echo "the viewer did not fall quiet" >&2
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

# How many pages the article view has shown (loaded or written).
pages_shown() { grep -cE ' page-(loaded|written) ' "$times" || true; }

# Waits until more than $1 pages have been shown; false after $2 ms.
wait_for_pages() {
    local start
    start=$(now_ms)
    while [ "$(pages_shown)" -le $1 ]; do
        [ $(( $(now_ms) - start )) -gt $2 ] && return 1
        sleep 0.01
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

# The article view's place in the window as the program last noted it: X,Y,W,H.
article_view() { awk '$2 == "article-view" {place = $3 "," $4 "," $5 "," $6} END {print place}' "$times"; }

start_viewer() {
    : >"$times"
    started=$(now_ms)
    (cd "$app" && VOCABULINARUM_STARTUP_TIMES=$times exec "$program" "$@" >"$work/out.log" 2>&1) &
    pid=$!
    # Looked for again and again: a window that goes while the search walks
    # the tree makes the search fail.
    window=""
    while [ -z "$window" ]; do
        if ! kill -0 $pid 2>/dev/null; then
            echo "the viewer ended before its window came; it said:" >&2
            tail -5 "$work/out.log" | sed 's/^/  /' >&2
            exit 1
        fi
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

# Gives the window the keyboard focus and moves the pointer off the article
# view: over it, the view would take the keyboard focus a moment after each
# page, and a link under the pointer would change as pages come. Then waits
# until the search box holds the focus, which it takes on its timer.
focus_search_box() {
    xdotool windowfocus --sync "$window"
    xdotool mousemove --window "$window" 5 5
    wait_for_line search-box-focused 5000 || echo "the search box did not take the focus" >&2
}
