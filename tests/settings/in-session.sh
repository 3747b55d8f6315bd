#!/usr/bin/env bash
# in-session.sh keyring|none COMMAND...: runs COMMAND in a private session bus and a scratch
# home. With "keyring", a real gnome-keyring-daemon serves the Secret Service there, its login
# keyring made and unlocked with a password given on standard input; it ends with the bus.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${BREMO_IN_SESSION:-} ]]; then
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    mkdir -m 700 "$scratch/run"
    BREMO_IN_SESSION=1 HOME=$scratch XDG_RUNTIME_DIR=$scratch/run \
        XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
        dbus-run-session --config-file="$here/session-bus.conf" -- "$0" "$@"
    exit
fi
mode=$1
shift
if [[ $mode == keyring ]]; then
    printf '%s' 'bremo test password' |
        gnome-keyring-daemon --unlock --components=secrets >/dev/null
    gdbus wait --session --timeout 10 org.freedesktop.secrets
fi
"$@"
