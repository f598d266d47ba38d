#!/usr/bin/env bash
# Preview: /p and /l draw in a mapped child of the given window, input leaves them running, and they end
# with 0 when that window is destroyed; an unknown switch and ids that name no window exit with -1.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480

for switch in /p /l; do
    start_host 320 240
    start_saver "$switch" "$host"
    pid=$last_pid
    wait_lit "$host"
    [ "$("$probe" children "$host")" = 1 ] || fail "$switch: no mapped child in the host window"
    shot="$output/preview${switch#/}.png"
    import -window "$host" "$shot"
    middle=$(region_max "$shot" 320x100+0+70)
    awk -v m="$middle" 'BEGIN { exit !(m > 0.3) }' || fail "$switch: nothing lit in the host ($shot)"
    # A preview never closes on input.
    xdotool mousemove 100 100 mousemove 200 200 key x click 1
    sleep 0.5
    running "$pid" || fail "$switch: input ended the preview"
    destroyed=$(now_ms)
    timeout 10 "$probe" destroy "$host"
    wait_exit "$pid" 5
    [ "$status" = 0 ] || fail "$switch: exit status $status after the host went, expected 0"
    ok "$switch draws in a child of the host, ignores input, ends with 0 $(($(now_ms) - destroyed)) ms after the host went"
done

# expect_failure ARGS...: the saver exits at once with -1 (255 as a process status).
expect_failure() {
    set +e
    timeout 10 "$saver" "$@"
    local code=$?
    set -e
    [ "$code" = 255 ] || fail "'$*' exited with $code, expected 255"
}
expect_failure /x
expect_failure /p 4194303
expect_failure /p
expect_failure /c
ok "/x, /p without a window and /c exit with -1"
