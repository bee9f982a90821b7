# Sourced: starts one Xvfb for this shell on a free display and exports
# DISPLAY, unless a display is already there. Stopped when the shell exits.
# QH_XVFB_SCREEN sets the screen's size (1280x1024x24 unless set).
qh_start_xvfb() {
    if [[ -n "${DISPLAY:-}" && "${QH_FORCE_XVFB:-0}" != 1 ]]; then
        return 0
    fi
    local n
    for n in $(seq 90 140); do
        # A lock left by a server that was killed does not hold its display.
        if [[ -e /tmp/.X$n-lock ]] && ! kill -0 "$(tr -d ' ' </tmp/.X$n-lock)" 2>/dev/null; then
            rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
        fi
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "${QH_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 </dev/null &
        QH_XVFB_PID=$!
        local i
        for i in $(seq 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && break
            sleep 0.1
        done
        if kill -0 "$QH_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "xvfb: no free display" >&2
    return 1
}

qh_stop_xvfb() {
    [[ -n "${QH_XVFB_PID:-}" ]] && kill "$QH_XVFB_PID" 2>/dev/null || true
}
