#!/usr/bin/env bash
# Start-up of bremo against the floor (a bare window with a media player): each program is
# started N times offscreen and exits after its first paint. Prints the medians of the time
# from process start to first paint and of the resident memory at that moment, as each
# program reports them, and of the wall time from launch to exit as seen from here.
# Usage: bench/startup.sh [runs] [bremo] [floor]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
bremo=${2:-$root/build/app/startup_bremo}
floor=${3:-$root/build/bench/startup_floor}
# In a session bus of its own, as on a desktop: bremo first looks there for a running Bremo.
if [[ -z "${BREMO_BENCH_SESSION:-}" ]]; then
    exec env BREMO_BENCH_SESSION=1 dbus-run-session -- "$0" "$runs" "$bremo" "$floor"
fi
export QT_QPA_PLATFORM=offscreen BREMO_EXIT_ON_SHOW=1

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

# Prints "<startup_ms> <rss_kb> <wall_ms>" medians for one program.
measure() {
    local program=$1 startup=() rss=() wall=() line begin end
    for ((i = 0; i < runs; i++)); do
        begin=$(date +%s%N)
        line=$(timeout 30 "$program" 2>/dev/null | grep -m1 '^startup_ms=' || true)
        end=$(date +%s%N)
        if [[ -z "$line" ]]; then
            echo "startup: $program printed no startup_ms line (is InstallStartupProbe called?)" >&2
            exit 1
        fi
        line=${line#startup_ms=}
        startup+=("${line% rss_kb=*}")
        rss+=("${line#* rss_kb=}")
        wall+=($(((end - begin) / 1000000)))
    done
    echo "$(printf '%s\n' "${startup[@]}" | median)" \
        "$(printf '%s\n' "${rss[@]}" | median)" \
        "$(printf '%s\n' "${wall[@]}" | median)"
}

read -r floor_ms floor_kb floor_wall < <(measure "$floor")
read -r bremo_ms bremo_kb bremo_wall < <(measure "$bremo")
printf '%-8s %12s %10s %14s\n' program startup_ms rss_kb wall_to_exit_ms
printf '%-8s %12s %10s %14s\n' floor "$floor_ms" "$floor_kb" "$floor_wall"
printf '%-8s %12s %10s %14s\n' bremo "$bremo_ms" "$bremo_kb" "$bremo_wall"
awk -v t="$bremo_ms" -v tf="$floor_ms" -v m="$bremo_kb" -v mf="$floor_kb" 'BEGIN {
    printf "time ratio   %.2f (target <= 1.5): %s\n", t / tf, (t / tf <= 1.5 ? "met" : "NOT met")
    printf "memory ratio %.2f (target <= 1.3): %s\n", m / mf, (m / mf <= 1.3 ? "met" : "NOT met")
}'
