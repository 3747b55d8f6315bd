#!/usr/bin/env bash
# Reached from outside, side by side in one run, each program started N times in turn:
#   hand-over  a second `bremo TEXT` while a Bremo runs, against bus_floor (a bare
#              QGuiApplication that opens the display, reaches the session bus and exits)
#   print      `bremo --print TEXT`, against print_floor (a bare QCoreApplication making the
#              same one request)
# Prints the medians of the wall time from launch to exit and their ratios. Runs itself in a
# private session bus and on an Xvfb display; a local HTTP server plays the service, reached
# through http_proxy as the system's proxy (bremo_standin is bremo built for that).
# Usage: bench/outside.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-21}
build=${BREMO_BUILD_DIR:-$root/build}
if [[ -z "${BREMO_BENCH_SESSION:-}" ]]; then
    exec env BREMO_BENCH_SESSION=1 dbus-run-session -- xvfb-run -a "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
unset no_proxy NO_PROXY

scratch=$(mktemp -d)
# A runtime folder, as a desktop session has: there the running Bremo holds the session's lock.
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

python3 - "$scratch/port" <<'PY' &
import http.server, sys
class Reply(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def do_GET(self):
        body = '[[["Hi","hello","",""]],,"zh-CN"]'.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Reply)
with open(sys.argv[1] + ".part", "w") as f:
    f.write(str(server.server_address[1]))
import os; os.rename(sys.argv[1] + ".part", sys.argv[1])
server.serve_forever()
PY
pids+=($!)
for ((i = 0; i < 100; i++)); do [[ -s $scratch/port ]] && break; sleep 0.05; done
export http_proxy=http://127.0.0.1:$(cat "$scratch/port")

"$build/app/bremo_standin" >/dev/null 2>&1 &
pids+=($!)
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:io.github.bremo.Bremo | grep -q 'boolean true'
}
for ((i = 0; i < 100; i++)); do owned && break; sleep 0.1; done
owned || { echo "outside: the first Bremo did not appear on the bus" >&2; exit 1; }

# Microseconds from launch to exit; a program that fails spoils the run.
us() {
    local begin end
    begin=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "outside: $* failed" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - begin) / 1000))
}
median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

# The request bremo sends for "hello" with the window's default languages.
url='http://services.stand-in.invalid/translate_a/t?client=t&text=%68%65%6C%6C%6F&hl=zh-CN&sl=zh-CN&tl=en&pc=0&prev=btn'
bus=() handover=() floor=() print=()
for ((i = 0; i < runs; i++)); do
    bus+=($(us "$build/bench/bus_floor"))
    handover+=($(us "$build/app/bremo" hello))
    floor+=($(us "$build/bench/print_floor" "$url"))
    print+=($(us "$build/app/bremo_standin" --print hello))
done
bus_ms=$(printf '%s\n' "${bus[@]}" | median)
handover_ms=$(printf '%s\n' "${handover[@]}" | median)
floor_ms=$(printf '%s\n' "${floor[@]}" | median)
print_ms=$(printf '%s\n' "${print[@]}" | median)
awk -v b="$bus_ms" -v h="$handover_ms" -v f="$floor_ms" -v p="$print_ms" -v n="$runs" 'BEGIN {
    printf "median of %d runs, launch to exit\n", n
    printf "bus_floor      %8.1f ms\n", b / 1000
    printf "bremo TEXT     %8.1f ms   ratio %.2f (target <= 1.5): %s\n", h / 1000, h / b,
        (h / b <= 1.5 ? "met" : "NOT met")
    printf "print_floor    %8.1f ms\n", f / 1000
    printf "bremo --print  %8.1f ms   ratio %.2f (target <= 1.2): %s\n", p / 1000, p / f,
        (p / f <= 1.2 ? "met" : "NOT met")
}'
