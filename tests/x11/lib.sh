# Shared by the X11 end-to-end scripts: each runs on a private Xvfb of its own (the server picks a free
# display number), so the scripts can run beside each other and beside any desktop. Usage of a script:
#   SCRIPT NIGHTGRID X11_PROBE OUTPUT_DIR
set -euo pipefail
saver=$1
probe=$2
output=$3
mkdir -p "$output"
work=$(mktemp -d)
pids=()
xvfb_pid=""

cleanup() {
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}
ok() { echo "ok: $*"; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# start_xvfb WxH: a private server; DISPLAY points at it afterwards.
start_xvfb() {
    Xvfb -displayfd 5 -screen 0 "$1x24" -br -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n1 "$work/display")"
}

# start_saver ARGS...: runs the saver in the background; its pid is in $last_pid.
start_saver() {
    "$saver" "$@" &
    last_pid=$!
    pids+=("$last_pid")
}

# wait_exit PID SECONDS: waits for the process to end; its status is in $status (124 when it did not).
wait_exit() {
    local deadline=$(($(now_ms) + $2 * 1000))
    while kill -0 "$1" 2>/dev/null; do
        if [ "$(now_ms)" -gt "$deadline" ]; then
            status=124
            return
        fi
        sleep 0.01
    done
    set +e
    wait "$1"
    status=$?
    set -e
}

# running PID: the process is still there (a zombie counts as ended).
running() { kill -0 "$1" 2>/dev/null && ! grep -qs '^State:.*Z' "/proc/$1/status"; }

# start_host W H: a top-level window for a preview; its id is in $host, its client's pid in $host_pid.
start_host() {
    "$probe" host "$1" "$2" >"$work/host" &
    host_pid=$!
    pids+=("$host_pid")
    for _ in $(seq 200); do
        [ -s "$work/host" ] && break
        sleep 0.02
    done
    host=$(head -n1 "$work/host")
    [ -n "$host" ] || fail "the preview host did not start"
}

# wait_lit WINDOW|saver: waits for a presented frame; the wait in milliseconds is in $lit_ms.
wait_lit() {
    lit_ms=$(timeout 30 "$probe" lit "$1" 20000) || fail "no frame in window $1 (did the saver end early?)"
}

# row_max FILE GEOMETRY: the brightest grey value in that part of a screenshot, 0 to 1.
region_max() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:maxima]' info:; }
