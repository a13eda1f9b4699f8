#!/bin/sh
# A staged install (DESTDIR) into a prefix that does not exist: every file goes
# under the stage and is listed in the install manifest, the desktop entry
# names the program under the bare prefix with the class of Pelmar's window,
# the links in bin reach the programs, the programs find their libraries in the
# stage, and the MIME type leaves *.nc to magic where another type claims it.
set -eu
build="$1"
work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The prefix lies outside the stage: anything written there is a fault.
prefix="$work/not-there/talvex"
stage="$work/stage"
root="$stage$prefix"
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$work/log" 2>&1 || { cat "$work/log"; fail "install failed"; }
if [ -e "$work/not-there" ]; then
    find "$work/not-there" >&2
    fail "the install wrote outside the stage"
fi
[ "$(ls "$stage")" = "$(echo "$prefix" | cut -d/ -f2)" ] || fail "the stage holds more than the prefix: $(ls "$stage")"

# The manifest lists every file and link laid out, and only those.
(cd "$root" && find . ! -type d | sed "s|^\.|$prefix|" | LC_ALL=C sort) >"$work/staged"
LC_ALL=C sort "$build/install_manifest.txt" >"$work/listed"
diff "$work/staged" "$work/listed" >"$work/diff" || { cat "$work/diff"; fail "the manifest and the staged files differ"; }

for program in Pelmar Prentil; do
    [ "$(readlink "$root/bin/$program")" = "../lib/talvex/$program" ] || fail "bin/$program is no link to the program"
    [ -x "$root/bin/$program" ] || fail "bin/$program does not reach the program"
done

entry="$root/share/applications/talvex-pelmar.desktop"
grep -qx "Exec=\"$prefix/lib/talvex/Pelmar\" /f %f" "$entry" || { cat "$entry"; fail "Exec does not name the program under the prefix"; }
class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
[ -n "$class" ] || fail "no StartupWMClass"

# Equal weight with the standard type of the same pattern, so that its magic decides.
weights="$(sed -n 's/.*<glob pattern="\*\.nc"\(.*\)\/>.*/\1/p' "$root/share/mime/packages/talvex-pelmar-nc.xml")"
case "$weights" in *weight=*) fail "*.nc claimed with$weights";; esac

# From the stage, through the link: only the stage's libraries are loaded.
for f in "$root/lib/talvex/Pelmar" "$root/lib/talvex/Plugins/STATS.so"; do
    ldd "$f" >"$work/ldd" || fail "ldd $f"
    if grep -q "$build" "$work/ldd"; then cat "$work/ldd"; fail "$f loads libraries from the build tree"; fi
    if grep -q "not found" "$work/ldd"; then cat "$work/ldd"; fail "$f misses libraries"; fi
done
"$root/bin/Pelmar" --help >"$work/help.txt" || fail "the staged Pelmar did not run"
grep -q "Valid command line switches" "$work/help.txt" || fail "no switch list from the staged Pelmar"

# The entry's class is the class of Pelmar's main window (seen on an X server).
if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null; then
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" TALVEX_REGISTRY_DIR="$work/registry"
    mkdir -p "$HOME"
    unset TALVEX_PROGRAM_DIR QT_QPA_PLATFORM
    sh "$(dirname "$0")/../support/xserver-run.sh" 1280x1024x24 sh -c '
        "$1" & pid=$!
        i=0
        while :; do
            id="$(xwininfo -root -tree | sed -n "s/^ *\(0x[0-9a-f]*\) \"Talvex Editor V5.1\".*/\1/p" | head -n 1)"
            [ -n "$id" ] && break
            i=$((i + 1)); [ "$i" -lt 300 ] || break
            sleep 0.1
        done
        [ -n "$id" ] && xprop -id "$id" WM_CLASS
        kill $pid; wait $pid 2>/dev/null
        true' sh "$root/bin/Pelmar" >"$work/class.txt" 2>&1
    grep -q "WM_CLASS(STRING) = \".*\", \"$class\"\$" "$work/class.txt" \
        || { cat "$work/class.txt"; fail "StartupWMClass=$class is not the class of Pelmar's window"; }
else
    echo "no Xvfb, xwininfo or xprop: the window's class is not compared"
fi
echo "staged install complete"
