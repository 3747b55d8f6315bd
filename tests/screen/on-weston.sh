#!/usr/bin/env bash
# Runs a test in a private D-Bus session on a headless Wayland compositor (weston) of its own;
# both end with it.
set -euo pipefail
if [[ -z "${BREMO_ON_WESTON:-}" ]]; then
    exec env BREMO_ON_WESTON=1 dbus-run-session -- "$0" "$@"
fi
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=bremo --use-pixman --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston; wait $weston 2>/dev/null || true; rm -rf "$runtime"' EXIT
for ((i = 0; i < 100; i++)); do
    [[ -S $runtime/bremo ]] && break
    sleep 0.05
done
export WAYLAND_DISPLAY=bremo QT_QPA_PLATFORM=wayland
"$@"
