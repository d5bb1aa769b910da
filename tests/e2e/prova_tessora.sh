#!/usr/bin/env bash
# The desktop program itself, on the offscreen platform, listening to a recording: it starts, and a
# SIGTERM closes it as a person would, with status 0 and the settings file written.
#
#   prova_tessora.sh TESSORA RECORDING
set -euo pipefail
tessora=$1
gravacio=$2
tmp=$(mktemp -d)
pid=
acabar() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap acabar EXIT

XDG_CONFIG_HOME="$tmp" XDG_DATA_HOME="$tmp" QT_QPA_PLATFORM=offscreen "$tessora" qev run --entrada "$gravacio" >"$tmp/sortida.log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" || { echo "tessora ended by itself:"; cat "$tmp/sortida.log"; exit 1; }
kill -TERM "$pid"
estat=0
wait "$pid" || estat=$?
pid=
[ "$estat" -eq 0 ] || { echo "tessora exited with $estat:"; cat "$tmp/sortida.log"; exit 1; }
printf '[Tessora]\r\nVeu aguda=NO\r\nCastell\340=S\315\r\n' >"$tmp/esperat.ini"
cmp "$tmp/esperat.ini" "$tmp/Tessora.ini"

# A recording that cannot be read: one line, status 2, no window and no settings file.
rm -f "$tmp/Tessora.ini"
estat=0
XDG_CONFIG_HOME="$tmp" QT_QPA_PLATFORM=offscreen "$tessora" --entrada "$tmp/no-such.wav" 2>"$tmp/error.log" || estat=$?
[ "$estat" -eq 2 ] && [ "$(wc -l <"$tmp/error.log")" -ge 1 ] && grep -q "no-such.wav" "$tmp/error.log"
[ ! -e "$tmp/Tessora.ini" ]
echo "tessora: started, closed on SIGTERM, settings written; unreadable recording refused"
