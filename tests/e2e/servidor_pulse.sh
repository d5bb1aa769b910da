#!/usr/bin/env bash
# A private PulseAudio server for the tests (its own XDG_RUNTIME_DIR and HOME under DIR), with a sink in
# the capture format whose monitor is the default input: what is played into the sink is heard by the
# capture byte for byte.
#
#   servidor_pulse.sh start DIR   start it (socket DIR/native) and wait until the input yields data
#   servidor_pulse.sh stop DIR    stop every process that start started, by pid
set -euo pipefail
accio=$1
dir=$2

aturar() {
    for f in "$dir"/*.pid; do
        [ -e "$f" ] || continue
        pid=$(cat "$f")
        rm -f "$f"
        kill -0 "$pid" 2>/dev/null || continue
        kill -TERM -- "-$pid" 2>/dev/null || true # each leads a session of its own: its whole group goes
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL -- "-$pid" 2>/dev/null || true
    done
}

case "$accio" in
start)
    command -v pulseaudio >/dev/null || { echo "pulseaudio is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
    [ -d "$dir" ] && aturar
    rm -rf "$dir"
    mkdir -p -m 700 "$dir/run" "$dir/home"
    export XDG_RUNTIME_DIR="$dir/run" HOME="$dir/home" PULSE_SERVER="unix:$dir/native"
    cat >"$dir/servidor.pa" <<CONF
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=tessora_sink rate=11025 format=u8 channels=1
load-module module-remap-source source_name=tessora_mic master=tessora_sink.monitor
set-default-sink tessora_sink
set-default-source tessora_mic
CONF
    # Started apart from this script's output, so that the test runner does not wait for it.
    setsid pulseaudio --daemonize=no --exit-idle-time=-1 --system=false -n -F "$dir/servidor.pa" \
        </dev/null >"$dir/servidor.log" 2>&1 &
    echo $! >"$dir/servidor.pid"
    for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    # The monitor only runs while something plays: silence (128) at a low latency, for as long as we run.
    setsid bash -c "tr '\\0' '\\200' </dev/zero | exec pacat --playback --raw --rate=11025 --format=u8 \
        --channels=1 --latency-msec=20 --device=tessora_sink" </dev/null >"$dir/silenci.log" 2>&1 &
    echo $! >"$dir/silenci.pid"
    for _ in $(seq 3); do
        bytes=$(timeout 10 parec --raw --rate=11025 --format=u8 --channels=1 --latency-msec=20 \
            --device=tessora_mic 2>/dev/null | head -c 512 | wc -c) || true
        [ "$bytes" = 512 ] && { echo "PulseAudio ready at $PULSE_SERVER"; exit 0; }
    done
    echo "the test input yields no data" >&2
    cat "$dir/servidor.log" >&2
    aturar
    exit 1
    ;;
stop) aturar && echo "PulseAudio stopped" ;;
*) echo "usage: $0 start|stop DIR" >&2 && exit 2 ;;
esac
