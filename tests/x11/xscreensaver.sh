#!/usr/bin/env bash
# As an XScreenSaver hack: the daemon's window from XSCREENSAVER_WINDOW (with --root, or alone),
# -window-id in decimal and --window-id in hexadecimal, and -root: each draws in a mapped child of its
# window, grabs nothing, and ends with 0 on SIGTERM, taking its window with it.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480

# hack NAME WINDOW ENV ARGS...: runs the hack, checks it and ends it with SIGTERM.
hack() {
    local name=$1 window=$2 variable=$3
    shift 3
    local before
    before=$("$probe" children "$window")
    if [ -n "$variable" ]; then
        XSCREENSAVER_WINDOW=$variable "$saver" "$@" &
    else
        env -u XSCREENSAVER_WINDOW "$saver" "$@" &
    fi
    local pid=$!
    pids+=("$pid")
    wait_lit "$window"
    sleep 0.2
    local now
    now=$("$probe" children "$window")
    [ "$now" -gt "$before" ] || fail "$name: no mapped child in window $window"
    timeout 10 "$probe" grab >/dev/null || fail "$name: another client could not grab input"
    kill -TERM "$pid"
    wait_exit "$pid" 5
    [ "$status" = 0 ] || fail "$name: exit status $status after SIGTERM, expected 0"
    [ "$("$probe" children "$window")" -lt "$now" ] || fail "$name: its window stayed after SIGTERM"
    ok "$name draws in window $window, grabs nothing, SIGTERM ends it with 0"
}

start_host 320 240
hex=$(printf '0x%x' "$host")
hack "XSCREENSAVER_WINDOW with --root" "$host" "$hex" --root
hack "XSCREENSAVER_WINDOW alone" "$host" "$hex"
hack "-window-id in decimal" "$host" "" -window-id "$host"
hack "--window-id in hexadecimal" "$host" "" --window-id "$hex"
root=$(xwininfo -root | awk '/Window id:/ { print $4; exit }')
hack "-root without the variable" "$root" "" -root
