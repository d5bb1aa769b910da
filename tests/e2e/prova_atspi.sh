#!/usr/bin/env bash
# A screen reader's side of the program: Tessora on a virtual display, with the desktop's accessibility bus,
# listening to the demo recording; lector_atspi.py reads it as a screen reader would.
#
#   prova_atspi.sh TESSORA RECORDING
set -euo pipefail
# A display of our own, which xvfb-run finds free, sets up and waits for.
if [ -z "${TESSORA_PANTALLA_PROVA:-}" ]; then
    exec env TESSORA_PANTALLA_PROVA=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$@"
fi
tessora=$1
gravacio=$2
aqui=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
pids=()
acabar() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    rm -rf "$tmp"
}
trap acabar EXIT

# A session bus; the accessibility bus is started by it when Qt first asks for it.
eval "$(dbus-launch --sh-syntax)"

XDG_CONFIG_HOME="$tmp" XDG_DATA_HOME="$tmp" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$tessora" --entrada "$gravacio" >"$tmp/tessora.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$aqui/lector_atspi.py" || { cat "$tmp/tessora.log"; exit 1; }
