#!/usr/bin/env bash
# Runs a test in a private D-Bus session and on a virtual X display of its own; both end
# with it.
set -euo pipefail
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
