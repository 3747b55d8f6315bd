#!/usr/bin/env bash
# How soon the frozen screen covers the display after `bremo --screen` while a Bremo window
# runs (warm): from the launch of the second start until a mapped window of the screen's size
# sits at the origin (xwininfo, polled), then Esc closes it. Prints each run and the median.
# Runs itself in a private session bus and on an Xvfb display of 1280x1024.
# Usage: bench/overlay.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-11}
build=${BREMO_BUILD_DIR:-$root/build}
if [[ -z "${BREMO_BENCH_SESSION:-}" ]]; then
    exec env BREMO_BENCH_SESSION=1 dbus-run-session -- \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb

"$build/app/bremo" >/dev/null 2>&1 &
window=$!
trap 'kill $window 2>/dev/null || true' EXIT
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:io.github.bremo.Bremo | grep -q 'boolean true'
}
for ((i = 0; i < 100; i++)); do owned && break; sleep 0.1; done
owned || { echo "overlay: the first Bremo did not appear on the bus" >&2; exit 1; }
covered() { xwininfo -root -children | grep -q '1280x1024+0+0'; }

times=()
for ((run = 0; run < runs; run++)); do
    start=$(date +%s%N)
    "$build/app/bremo" --screen
    until covered; do :; done
    times+=($((($(date +%s%N) - start) / 1000000)))
    xdotool key Escape
    while covered; do :; done
done
printf 'overlay after bremo --screen (ms): %s\n' "${times[*]}"
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {print "median:", a[int((NR + 1) / 2)], "ms"}'
