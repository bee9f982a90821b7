#!/usr/bin/env bash
# qhget beside curl on a real server on loopback: the median wall time and
# peak memory of a 256 MB body, and of 200 small GETs, with their ratios.
# Uses nginx when it is installed, else python's http.server.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
runs="${QH_BENCH_RUNS:-5}"
build_log="$(mktemp)"
QH_JOBS="${QH_JOBS:-2}" "$top/scripts/build.sh" native qhget >"$build_log" 2>&1 ||
    { cat "$build_log" >&2; rm -f "$build_log"; exit 1; }
rm -f "$build_log"
qhget="$top/build/native/bin/qhget"
for tool in curl /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "bench needs $tool" >&2; exit 1; }
done

work="$(mktemp -d)"
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www"
head -c $((256 * 1024 * 1024)) /dev/urandom >"$work/www/large.bin"
head -c 2048 /dev/urandom >"$work/www/small.bin"
port=18795

if command -v nginx >/dev/null || [ -x /usr/sbin/nginx ]; then
    server="nginx"
    cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon on;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 256; }
http {
    access_log off;
    sendfile on;
    client_body_temp_path $work;
    proxy_temp_path $work;
    fastcgi_temp_path $work;
    uwsgi_temp_path $work;
    scgi_temp_path $work;
    server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
    "$(command -v nginx || echo /usr/sbin/nginx)" -c "$work/nginx.conf" -p "$work"
else
    server="python http.server"
    (cd "$work/www" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
    server_pid=$!
fi
for _ in $(seq 50); do
    curl -sf -o /dev/null "http://127.0.0.1:$port/small.bin" && break
    sleep 0.1
done

# One timed run: "seconds peak-KB" of the command line given.
measure() {
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" ||
        { echo "failed: $*" >&2; cat "$work/stderr" >&2; exit 1; }
    cat "$work/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

small_loop() {
    local tool="$1"
    for _ in $(seq 200); do
        if [ "$tool" = qhget ]; then "$qhget" "http://127.0.0.1:$port/small.bin"; else curl -s "http://127.0.0.1:$port/small.bin"; fi
    done
}
export -f small_loop
export qhget port

declare -A time memory
for tool in qhget curl; do
    : >"$work/large.$tool"
    : >"$work/small.$tool"
    for _ in $(seq "$runs"); do
        if [ "$tool" = qhget ]; then
            measure "$qhget" "http://127.0.0.1:$port/large.bin" >>"$work/large.$tool"
        else
            measure curl -s "http://127.0.0.1:$port/large.bin" >>"$work/large.$tool"
        fi
        measure bash -c "small_loop $tool" >>"$work/small.$tool"
    done
    time[large.$tool]=$(cut -d' ' -f1 "$work/large.$tool" | median)
    memory[large.$tool]=$(cut -d' ' -f2 "$work/large.$tool" | median)
    time[small.$tool]=$(cut -d' ' -f1 "$work/small.$tool" | median)
done
# The large body arrives whole and unchanged.
"$qhget" "http://127.0.0.1:$port/large.bin" | cmp -s - "$work/www/large.bin" ||
    { echo "qhget's body differs from the file" >&2; exit 1; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo "server: $server, median of $runs runs"
printf "256 MB body:   qhget %6.2f s %7d KB peak   curl %6.2f s %7d KB peak   time ratio %s\n" \
    "${time[large.qhget]}" "${memory[large.qhget]}" "${time[large.curl]}" "${memory[large.curl]}" \
    "$(ratio "${time[large.qhget]}" "${time[large.curl]}")"
printf "200 small GETs: qhget %6.2f s   curl %6.2f s   time ratio %s\n" \
    "${time[small.qhget]}" "${time[small.curl]}" "$(ratio "${time[small.qhget]}" "${time[small.curl]}")"
