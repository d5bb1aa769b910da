#!/usr/bin/env bash
# A screen reader's side of the program: Tessora on a virtual display, with the desktop's accessibility bus,
# listening to the demo recording; lector_atspi.py reads it as a screen reader would.
#
#   prova_atspi.sh TESSORA RECORDING
set -euo pipefail
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

# A display of our own: Xvfb picks a free number and writes it when it is ready.
exec 3>"$tmp/pantalla"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/pantalla" ] && break; sleep 0.1; done
pantalla=$(head -n1 "$tmp/pantalla")
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$pantalla" ] && break; sleep 0.1; done
export DISPLAY=":$pantalla"
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$tmp/bus.log" 2>&1 &
pids+=($!)

XDG_CONFIG_HOME="$tmp" XDG_DATA_HOME="$tmp" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$tessora" --entrada "$gravacio" >"$tmp/tessora.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$aqui/lector_atspi.py" || { cat "$tmp/tessora.log"; exit 1; }
