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
# processes (QtWebEngineProcess), from /proc/<pid>/smaps_rollup, and beside it
# the memory of all of them with each physical page counted once however many
# of them map it (build/bench/page_union, from /proc/<pid>/pagemap: needs
# root), at idle and after 20 lookups typed with xdotool (a word, then Enter,
# with "Все словари" selected: the page of the word from every dictionary);
# then again every 50 lookups up to VOCAB_LOOKUPS (200), to show whether it
# grows.
#
# Extra arguments for the engine may be tried with VOCAB_EXTRA_CHROMIUM_FLAGS.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/viewer-run.sh"

[ "${1:-}" = "--inside" ] || rerun_under_xvfb "$0" "${1:-}" page_union
union=$3
viewer_setup "$2"
du -shL "$app/dic"/* | sed 's/^/  /'
[ -s "$data/words-many.txt" ] || python3 "$here/pick-words.py" "$data"
lookups_wanted=${VOCAB_LOOKUPS:-200}

# Every physical page of the program and its engine processes, once; and of
# the program alone and the engine processes alone, to tell which one grows.
union_report() {
    local all line program_mib engine_mib
    all=$(tree_pids "$1")
    line=$("$union" $all) || return 0
    program_mib=$("$union" "$1" | sed 's/^union_mib=\([0-9.]*\).*/\1/')
    engine_mib=$("$union" ${all#"$1"} | sed 's/^union_mib=\([0-9.]*\).*/\1/')
    echo "$line" | awk '{for (i = 1; i <= NF; i++) {split($i, kv, "="); v[kv[1]] = kv[2]}
        printf "%s: each page once %d MiB (anonymous %d, shared memory %d, files %d; their RSS added up %d MiB);",
               what, v["union_mib"], v["anonymous_mib"], v["shared_mib"], v["file_mib"], v["rss_sum_mib"]}' what="$2"
    printf " the program alone %.0f, the engine processes alone %.0f MiB\n" "$program_mib" "$engine_mib"
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
    union_report "$pid" "$2"
    [ -n "${3:-}" ] && return
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

focus_search_box
# The lookups' words: those of the generated dictionaries, then more of
# their headwords.
cat "$data/words-many.txt" >>"$work/lookups.txt"
lookups=0
while read -r word && [ $lookups -lt $lookups_wanted ]; do
    loads=$(pages_shown)
    xdotool key ctrl+a
    xdotool type --delay 20 "$word"
    xdotool key Return
    wait_for_pages $loads 20000 || echo "  no page came for '$word'" >&2
    lookups=$((lookups + 1))
    if [ $lookups -eq 20 ]; then
        wait_quiet $pid >/dev/null
        pss_report $pid "after $lookups lookups"
    elif [ $((lookups % 50)) -eq 0 ]; then
        wait_quiet $pid >/dev/null
        pss_report $pid "after $lookups lookups" brief
    fi
done <"$work/lookups.txt"
if [ $lookups -ne 20 ] && [ $((lookups % 50)) -ne 0 ]; then
    wait_quiet $pid >/dev/null
    pss_report $pid "after $lookups lookups" brief
fi
stop_viewer
history=$(grep -c . "$app/ConfigFiles/history.trv" 2>/dev/null || echo 0)
echo "history after the run: $history words"
if [ -s "$work/messages.log" ]; then
    echo "message boxes shown:"
    sed 's/^/  /' "$work/messages.log"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
