#!/usr/bin/env bash
# Drives the real nightgrid.scr under Wine on an X server, the way Windows starts a screen saver:
#   /s   full screen: the city between black letterbox bars (root screenshot), a key press ends it with 0
#   /s   again while one runs: the running one comes forward, the new one exits 0 at once
#   /p   inside a host window (preview_host.exe checks the child from the parent's side), ends with it
#   /c   the dialog: OK ends with 1, Cancel with 0
#   /x   an unknown switch ends with -1
#   e2e.sh BUILD_DIR     (uses $DISPLAY, or starts a private Xvfb when there is none)
# Screenshots and logs go to BUILD_DIR/test-output/windows-e2e.
set -uo pipefail
build=$(cd "${1:?usage: e2e.sh BUILD_DIR}" && pwd)
scr=$build/packaging/windows/nightgrid.scr
host=$build/tests/windows/preview_host.exe
wine=$build/wine-run
out=$build/test-output/windows-e2e
mkdir -p "$out"
rm -f "$out"/*

xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=:88
    Xvfb "$DISPLAY" -screen 0 1280x720x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

passed=0
failed=0
ok() {
    echo "ok   $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL $*"
    failed=$((failed + 1))
}
now_ms() { date +%s%3N; }

# Waits up to $2 seconds for an X window named exactly $1; prints its id.
wait_window() {
    local deadline=$(($(date +%s) + $2)) id
    while [ "$(date +%s)" -lt "$deadline" ]; do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits up to $2 seconds for background process $1 to end; sets `code` to its exit code, or "running".
wait_exit() {
    local deadline=$(($(now_ms) + $2 * 1000))
    while kill -0 "$1" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.05; done
    if kill -0 "$1" 2>/dev/null; then
        code=running
        return 1
    fi
    wait "$1"
    code=$?
}

stop() { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; }

# Presses a key in window $1: Wine takes keyboard input from the X focus, so focus the window first.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
    xdotool key "$2"
}

# Rows of a screenshot as their brightest channel value, one number per row, top row first.
row_maxima() {
    local width
    width=$(identify -format '%w' "$1")
    convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w$((width * 3)) |
        awk '{ m = 0; for (i = 1; i <= NF; i++) if ($i > m) m = $i; print m }'
}

echo "== nightgrid.scr under Wine ($(wine --version)), display $DISPLAY"
# No window manager runs on this X server: without this, Wine waits two seconds for one to withdraw every
# window it hides, and each close would take that long.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# ---- /s: full screen, letterbox, a key ends it ----
t0=$(now_ms)
"$wine" "$scr" /s >"$out/full-screen.log" 2>&1 &
saver=$!
if win=$(wait_window "Screen Saver" 20); then
    ok "/s opens the full-screen window in $(($(now_ms) - t0)) ms"
    geometry=$(xdotool getwindowgeometry "$win" 2>/dev/null | tr -s ' \n' ' ')
    screen=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9x]*\) pixels.*/\1/p')
    if grep -q "Position: 0,0 " <<<"$geometry" && grep -q "Geometry: $screen" <<<"$geometry"; then
        ok "it covers the whole $screen screen"
    else
        fail "it covers the whole $screen screen ($geometry)"
    fi
    sleep 3 # let it fly a little
    import -window root "$out/full-screen.png"
    mapfile -t rows < <(row_maxima "$out/full-screen.png")
    height=${#rows[@]}
    top=0
    while [ "$top" -lt "$height" ] && [ "${rows[$top]}" -eq 0 ]; do top=$((top + 1)); done
    bottom=0
    while [ "$bottom" -lt "$height" ] && [ "${rows[$((height - 1 - bottom))]}" -eq 0 ]; do bottom=$((bottom + 1)); done
    brightest=0
    for ((y = top; y < height - bottom; y++)); do
        [ "${rows[$y]}" -le "$brightest" ] || brightest=${rows[$y]}
    done
    echo "     screenshot: ${height} rows, black bars of $top (top) and $bottom (bottom) rows, brightest value between them $brightest"
    # The bars are exactly black (no dithering), equally high at the top and the bottom give or take the
    # rounding of the view's pixel rectangle, and the picture between them has lit windows and stars.
    if [ "$top" -ge 1 ] && [ "$bottom" -ge 1 ] && [ $((top + bottom)) -lt $((height / 2)) ] &&
        [ $((top - bottom)) -le 2 ] && [ $((bottom - top)) -le 2 ] && [ "$brightest" -ge 60 ]; then
        ok "/s shows the city between two equal black letterbox bars"
    else
        fail "/s shows the city between two equal black letterbox bars (see $out/full-screen.png)"
    fi

    # A second start brings the running saver forward and leaves at once.
    t0=$(now_ms)
    timeout 30 "$wine" "$scr" /s >"$out/second.log" 2>&1
    code=$?
    if [ "$code" -eq 0 ] && kill -0 "$saver" 2>/dev/null && [ -n "$(xdotool search --name '^Screen Saver$' 2>/dev/null)" ]; then
        ok "a second /s exits 0 in $(($(now_ms) - t0)) ms and the first keeps running"
    else
        fail "a second /s exits 0 and the first keeps running (exit code $code)"
    fi

    t0=$(now_ms)
    press "$win" space
    wait_exit "$saver" 5
    if [ "$code" = 0 ]; then
        ok "a key press ends /s with exit code 0 in $(($(now_ms) - t0)) ms"
    else
        fail "a key press ends /s with exit code 0 (got $code)"
        stop "$saver"
    fi
else
    fail "/s opens a window titled 'Screen Saver'"
    stop "$saver"
fi

# ---- /p: the preview inside a host window ----
t0=$(now_ms)
# The prefix's Z: drive is the Unix root.
scr_windows_path="Z:${scr//\//\\}"
if timeout 60 "$wine" "$host" "$scr_windows_path" >"$out/preview.log" 2>&1; then
    ok "/p HWND runs inside the host window and ends with it ($(($(now_ms) - t0)) ms)"
else
    fail "/p HWND runs inside the host window and ends with it"
fi
sed 's/^/     /' "$out/preview.log" | tr -d '\r'

# ---- /c: the dialog, OK and Cancel ----
for button in OK Cancel; do
    key=Return want=1
    [ "$button" = OK ] || key=Escape want=0
    t0=$(now_ms)
    "$wine" "$scr" /c >"$out/config-$button.log" 2>&1 &
    dialog=$!
    if win=$(wait_window "Night Grid" 20); then
        sleep 0.5
        [ "$button" = Cancel ] || import -window root "$out/config-dialog.png"
        press "$win" "$key"
        wait_exit "$dialog" 5
        if [ "$code" = "$want" ]; then
            ok "/c shows the dialog; $button ends it with $want ($(($(now_ms) - t0)) ms)"
        else
            fail "/c: $button ends the dialog with $want (got $code)"
            stop "$dialog"
        fi
    else
        fail "/c shows a dialog titled 'Night Grid'"
        stop "$dialog"
    fi
done

# ---- /x: unknown switch ----
t0=$(now_ms)
timeout 30 "$wine" "$scr" /x >"$out/unknown.log" 2>&1
code=$?
# ExitProcess(-1) reaches the Unix side as its low byte.
if [ "$code" -eq 255 ]; then
    ok "/x exits with -1 in $(($(now_ms) - t0)) ms and shows nothing"
else
    fail "/x exits with -1 (got $code)"
fi

echo "windows end to end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
