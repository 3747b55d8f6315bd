#!/usr/bin/env bash
# Start-up of bremo against the floor, a bare Qt Widgets window of bremo's size with one line
# of Chinese in a label (bench/startup_floor.cpp): each program
# is started N times, the two in turn, and exits after its first paint; first offscreen, then
# on an Xvfb display through xcb. Prints the medians of the time from launch to first paint
# and of the resident memory at that moment, as each program reports them, and of the wall
# time from launch to exit as seen from here.
# Usage: bench/startup.sh [runs] [bremo] [floor]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-11}
bremo=${2:-$root/build/app/startup_bremo}
floor=${3:-$root/build/bench/startup_floor}
# In a session bus of its own, as on a desktop: bremo first looks there for a running Bremo.
if [[ -z "${BREMO_BENCH_SESSION:-}" ]]; then
    exec env BREMO_BENCH_SESSION=1 dbus-run-session -- "$0" "$runs" "$bremo" "$floor"
fi
export BREMO_EXIT_ON_SHOW=1
target=1.2

work=$(mktemp -d)
# A runtime folder, as a desktop session has: there a first Bremo finds the session's lock free.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
xvfb=
cleanup() {
    [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

# Appends "<startup_ms> <rss_kb> <wall_ms>" of one run of a program to its file in $work.
run_once() {
    local name=$1 program=$2 line begin end
    begin=$(date +%s%N)
    line=$(BREMO_BENCH_LAUNCH_NS=$(date +%s%N) timeout 30 "$program" 2>/dev/null |
        grep -m1 '^startup_ms=' || true)
    end=$(date +%s%N)
    if [[ -z "$line" ]]; then
        echo "startup: $program printed no startup_ms line (is InstallStartupProbe called?)" >&2
        exit 1
    fi
    line=${line#startup_ms=}
    echo "${line% rss_kb=*} ${line#* rss_kb=} $(((end - begin) / 1000000))" >>"$work/$name"
}

column_median() { awk -v c="$2" '{ print $c }' "$work/$1" | median; }

measure() {
    local platform=$1 name
    rm -f "$work/floor" "$work/bremo"
    for ((i = 0; i < runs; i++)); do
        run_once floor "$floor"
        run_once bremo "$bremo"
    done
    echo "$platform, medians of $runs:"
    printf '%-8s %12s %10s %14s\n' program startup_ms rss_kb wall_to_exit_ms
    for name in floor bremo; do
        printf '%-8s %12s %10s %14s\n' "$name" "$(column_median "$name" 1)" \
            "$(column_median "$name" 2)" "$(column_median "$name" 3)"
    done
    awk -v t="$(column_median bremo 1)" -v tf="$(column_median floor 1)" \
        -v m="$(column_median bremo 2)" -v mf="$(column_median floor 2)" -v target="$target" '
        BEGIN {
            printf "time ratio   %.2f (target <= %s): %s\n", t / tf, target,
                (t / tf <= target ? "met" : "NOT met")
            printf "memory ratio %.2f (target <= %s): %s\n\n", m / mf, target,
                (m / mf <= target ? "met" : "NOT met")
        }'
}

QT_QPA_PLATFORM=offscreen measure offscreen

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for ((i = 0; i < 100; i++)); do
    [[ -s "$work/display" ]] && break
    sleep 0.05
done
[[ -s "$work/display" ]] || { echo "startup: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb measure xcb
