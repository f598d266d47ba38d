#!/usr/bin/env bash
# Full screen: a second start brings the running saver forward and exits 0; a key press, a click and the
# loss of focus each end the saver with 0 within a second.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480

start_saver /s
first=$last_pid
wait_lit saver
saver_id=$("$probe" saver)
set +e
timeout 10 "$saver" /s
second=$?
set -e
[ "$second" = 0 ] || fail "the second /s exited with $second, expected 0"
sleep 0.3
running "$first" || fail "the first saver ended when the second started"
[ "$("$probe" saver)" = "$saver_id" ] || fail "the saver window changed"
wait_lit saver
ok "second /s exits 0 and the first keeps drawing"

# close_by NAME COMMAND...: the input ends the running saver with 0 within a second; then a new one starts.
pid=$first
close_by() {
    local name=$1
    shift
    local sent
    sent=$(now_ms)
    "$@"
    wait_exit "$pid" 5
    local took=$(($(now_ms) - sent))
    [ "$status" = 0 ] || fail "$name: exit status $status, expected 0"
    [ "$took" -lt 1000 ] || fail "$name: took $took ms"
    ok "$name ends it with 0 after $took ms"
    start_saver /s
    pid=$last_pid
    wait_lit saver
    sleep 0.2
}
close_by "key press" xdotool key x
close_by "left click" xdotool click 1
close_by "middle click" xdotool click 2
close_by "right click" xdotool click 3
close_by "focus taken by another client" "$probe" focus
