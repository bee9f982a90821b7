#!/usr/bin/env bash
# Builds the three builds and runs every suite: native, native under the
# sanitizers, and Windows under Wine inside Xvfb. Exits non-zero on any
# failure; ends with ctest's summary.
set -uo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$top"
start=$(date +%s)
"$top/scripts/deps.sh" || exit 1

# shellcheck source=scripts/xvfb.sh
source "$top/scripts/xvfb.sh"
stop() {
    WINEPREFIX="$top/build/windows/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    qh_stop_xvfb
}
trap stop EXIT

failed=()
for kind in native asan windows; do
    echo "== build $kind"
    if ! "$top/scripts/build.sh" "$kind"; then
        failed+=("build $kind")
    fi
done

QH_FORCE_XVFB=1 qh_start_xvfb || failed+=("xvfb")

summary=""
for kind in native asan windows; do
    echo "== test $kind"
    log=$(mktemp)
    # The Windows suites share one desktop, keyboard focus and tray: one at a time.
    jobs=${QH_TEST_JOBS:-2}
    [[ $kind == windows ]] && jobs=1
    (cd "$top/build/$kind" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    [[ $rc -eq 0 ]] || failed+=("test $kind")
    summary+="$kind: $(grep -E 'tests passed|tests failed' "$log" | tail -1)"$'\n'
    rm -f "$log"
done

echo
echo "== summary ($(($(date +%s) - start)) s)"
printf '%s' "$summary"
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all suites passed"
