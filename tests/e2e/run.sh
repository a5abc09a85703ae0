#!/usr/bin/env bash
# Runs the real-window scenarios: a private X server with openbox, a private session bus with the
# accessibility bus, dunst and a PulseAudio server whose only sink is a null sink.
#   tests/e2e/run.sh <mitoran binary> [unittest names, e.g. test_smoke test_round.Round]
#   tests/e2e/run.sh <mitoran binary> some/script.py   runs a script of your own in the session
# Everything it starts is stopped when it ends, also on a timeout (E2E_TIMEOUT seconds, 600).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != "--inside" ]; then
    [ $# -ge 1 ] || { echo "usage: $0 <mitoran binary> [tests...]" >&2; exit 2; }
    export MITORAN_BIN
    MITORAN_BIN=$(realpath "$1")
    shift
    export MITORAN_SAMPLE=${MITORAN_SAMPLE:-$(realpath "$HERE/../../sample")}
    export E2E_TMP
    E2E_TMP=$(mktemp -d /tmp/mitoran-e2e.XXXXXX)
    xvfb_pid=""
    cleanup() {
        [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
        if [ -n "${E2E_KEEP:-}" ]; then echo "kept: $E2E_TMP" >&2; else rm -rf "$E2E_TMP"; fi
    }
    trap cleanup EXIT
    # -displayfd picks a free display number, so parallel runs never collide. The server is used
    # only once it answers; one that does not (seen once in a full run, with no word in its log)
    # is replaced, up to three times.
    for attempt in 1 2 3; do
        : >"$E2E_TMP/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_TMP/display" \
            >"$E2E_TMP/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 200); do [ -s "$E2E_TMP/display" ] && break; sleep 0.1; done
        export DISPLAY=":$(tr -d '[:space:]' <"$E2E_TMP/display")"
        for _ in $(seq 100); do
            [ "$DISPLAY" != ":" ] && xprop -root >/dev/null 2>&1 && break 2
            sleep 0.1
        done
        echo "real-window suite: X server $attempt did not answer (display '$DISPLAY')" >&2
        cat "$E2E_TMP/xvfb.log" >&2
        { kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; } || true
        xvfb_pid=""
        [ "$attempt" -eq 3 ] && exit 1
    done
    status=0
    timeout --kill-after=10 "${E2E_TIMEOUT:-600}" \
        dbus-run-session -- "$0" --inside "$@" || status=$?
    [ "$status" -eq 124 ] && echo "real-window suite: timed out" >&2
    exit "$status"
fi

# Inside the session bus.
shift
pids=()
cleanup_inside() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
}
trap cleanup_inside EXIT

export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/home/.config
mkdir -p "$XDG_CONFIG_HOME"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 LC_ALL=C.UTF-8
export PYTHONDONTWRITEBYTECODE=1  # keeps the source tree clean

openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
pids+=($!)
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
pids+=($!)
dunst >"$E2E_TMP/dunst.log" 2>&1 &
pids+=($!)
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=null" \
    --load=module-always-sink >"$E2E_TMP/pulse.log" 2>&1 &
pids+=($!)

ready() {  # <what> <command...>: waits up to 10 s for the command to succeed
    local what=$1
    shift
    for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "real-window suite: $what did not come up" >&2
    cat "$E2E_TMP"/*.log >&2
    exit 1
}
ready "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
ready "dunst" dunstctl is-paused
ready "the accessibility bus" \
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
ready "pulseaudio" pactl info

# The system python: it has the accessibility bindings, the pyenv one on PATH has not.
export PYTHONPATH=$HERE${PYTHONPATH:+:$PYTHONPATH}
if [ $# -eq 1 ] && [[ $1 == *.py ]]; then
    /usr/bin/python3 -W ignore::DeprecationWarning "$(realpath "$1")"
    exit
fi
cd "$HERE"
names=("$@")
[ ${#names[@]} -gt 0 ] || mapfile -t names < <(ls test_*.py | sed 's/\.py$//')
/usr/bin/python3 -W ignore::DeprecationWarning -m unittest -v "${names[@]}"
