#!/bin/sh
# xserver-run.sh WxHxD COMMAND [ARG...]
# Runs COMMAND on an X server of its own. The server takes a free display
# itself (-displayfd) and says which once it is ready, so tests started side
# by side never meet on one, as they can under xvfb-run -a: two of those take
# the same number, and the later one's clients are refused by the server of
# the first.
set -u
screen="$1"
shift
dir="$(mktemp -d "${TMPDIR:-/tmp}/talvex-x.XXXXXX")" || exit 1
server=""
cleanup() {
    if [ -n "$server" ]; then kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
i=0
until grep -qx '[0-9][0-9]*' "$dir/display" 2>/dev/null; do
    if ! kill -0 "$server" 2>/dev/null; then
        cat "$dir/log" >&2
        echo "xserver-run: Xvfb ended before it was ready" >&2
        exit 1
    fi
    i=$((i + 1))
    if [ "$i" -ge 600 ]; then
        cat "$dir/log" >&2
        echo "xserver-run: Xvfb was not ready within 30 s" >&2
        exit 1
    fi
    sleep 0.05
done
DISPLAY=":$(cat "$dir/display")"
export DISPLAY
unset XAUTHORITY
"$@"
status=$?
exit "$status"
