#!/usr/bin/env bash
# Full screen: the city with its letterbox bars on the whole screen, pointer jitter and a stray event that
# keep it, and a real move that ends it with 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 640x480

xdotool mousemove 300 200
started=$(now_ms)
start_saver /s
pid=$last_pid
# A pointer event as soon as the window is up, one pixel off and back: nothing moved by more than 4
# pixels from where the pointer was when the saver started.
for _ in $(seq 500); do "$probe" saver >/dev/null 2>&1 && break; sleep 0.01; done
xdotool mousemove_relative 1 0 mousemove_relative -- -1 0
wait_lit saver
ok "first frame $(($(now_ms) - started)) ms after start"
sleep 0.3
running "$pid" || fail "a stray pointer event ended the saver"

shot="$output/fullscreen.png"
import -window root "$shot"
top=$(region_max "$shot" 640x1+0+0)
bottom=$(region_max "$shot" 640x1+0+479)
middle=$(region_max "$shot" 640x200+0+140)
echo "brightest grey: top row $top, bottom row $bottom, middle $middle"
[ "$top" = 0 ] && [ "$bottom" = 0 ] || fail "no black letterbox rows at the top and bottom ($shot)"
awk -v m="$middle" 'BEGIN { exit !(m > 0.3) }' || fail "nothing lit between the bars ($shot)"
ok "city between black letterbox bars"

# Jitter of 3 pixels around the start position.
xdotool mousemove_relative 3 0 mousemove_relative -- -3 3 mousemove_relative -- 0 -3 mousemove_relative -- -3 0
sleep 0.5
running "$pid" || fail "a 3-pixel jitter ended the saver"
ok "3-pixel jitter keeps it"

moved=$(now_ms)
xdotool mousemove_relative 10 0
wait_exit "$pid" 5
[ "$status" = 0 ] || fail "a 10-pixel move: exit status $status, expected 0"
ok "10-pixel move ends it with 0 after $(($(now_ms) - moved)) ms"
