#!/usr/bin/env bash
# Processor share of the hen's film (it plays a looping sound and calls on one picture) under
# Xvfb: the program is driven there with xdotool, then every thread's run time is read from
# /proc/<pid>/task/*/schedstat over SECONDS. Prints the main thread's share and the whole
# process's, in % of one core, and how often the main thread woke (its context switches).
#
# Usage: scripts/measure-film-cpu.sh [PROGRAM [DEMO_FOLDER [SECONDS]]]
#   defaults: build/quillowbee, build/demo, 10
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/quillowbee}")
demo=$(realpath "${2:-$root/build/demo}")
seconds=${3:-10}

for tool in Xvfb xdotool; do
    command -v "$tool" > /dev/null || { echo "measure-film-cpu: $tool is not installed" >&2; exit 1; }
done
[ -x "$program" ] || { echo "measure-film-cpu: no program at $program" >&2; exit 1; }
henBuildUp="$demo/Djur/Höna/Komplex/Byggupp"
[ -d "$henBuildUp" ] || { echo "measure-film-cpu: no hen in $demo (build the demo)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2> /dev/null && wait "$app" 2> /dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null && wait "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 800x600x24 -noreset -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

mkdir -p "$work/config" "$work/data"
(cd "$demo" && DISPLAY=$display SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work \
    XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
    QUILLOWBEE_FRAME_LOG=$work/frames.log exec "$program" > /dev/null 2> "$work/program.err") &
app=$!
for _ in $(seq 300); do grep -q '^ready' "$work/frames.log" 2> /dev/null && break; sleep 0.05; done
grep -q '^ready' "$work/frames.log" 2> /dev/null ||
    { echo "measure-film-cpu: the program did not start" >&2; cat "$work/program.err" >&2; exit 1; }

export DISPLAY=$display
sleep 1
xdotool mousemove 600 100 click 1 # the animals' sub-menu
sleep 1
xdotool mousemove 110 130 click 1 # the hen's build-up
sleep 1
# One step for each build-up picture after the first, and one more starts the film.
for _ in $(seq "$(ls "$henBuildUp" | wc -l)"); do
    xdotool key space
    sleep 0.7
done
sleep 1 # the film is running

runNs() { # run nanoseconds of the main thread and of all threads, the main thread's switches
    local main all=0 ns switches
    main=$(cut -d' ' -f1 "/proc/$app/task/$app/schedstat")
    switches=$(awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$app/task/$app/status")
    for task in /proc/"$app"/task/*; do
        ns=$(cut -d' ' -f1 "$task/schedstat" 2> /dev/null || echo 0)
        all=$((all + ns))
    done
    echo "$main $all $switches"
}
read -r main0 all0 switches0 < <(runNs)
start=$(date +%s%N)
sleep "$seconds"
read -r main1 all1 switches1 < <(runNs)
wall=$(($(date +%s%N) - start))
kill -0 "$app" 2> /dev/null || { echo "measure-film-cpu: the program ended" >&2; exit 1; }
awk -v m=$((main1 - main0)) -v a=$((all1 - all0)) -v w="$wall" -v s="$seconds" \
    -v c=$((switches1 - switches0)) 'BEGIN {
    printf "hen film under Xvfb over %s s: main thread %.3f %% of one core (%.1f wakes/s), " \
        "whole process %.3f %%\n", s, m / w * 100, c / (w / 1e9), a / w * 100 }'
