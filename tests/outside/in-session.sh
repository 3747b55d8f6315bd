#!/usr/bin/env bash
# Runs a test in a private D-Bus session and on a virtual X display of its own; both end
# with it.
set -euo pipefail
# libxkbcommon-x11 hands strndup a name that is not terminated within its length, which
# strndup allows; AddressSanitizer's strict string checks would take it for an overflow.
if [[ -n "${ASAN_OPTIONS:-}" ]]; then
    export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0
fi
# A runtime folder of its own too, where the session's Bremo keeps its lock.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
