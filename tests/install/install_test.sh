#!/bin/sh
# Installs the build into a temporary prefix, makes the program folder
# read-only, starts the installed Pelmar and checks that it runs from there
# with its settings in the user's configuration folder.
set -eu
build="$1"
work="$(mktemp -d)"
prog="$work/prefix/lib/talvex"
mounted=""
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    if [ -n "$mounted" ]; then umount "$prog" 2>/dev/null || umount -l "$prog" 2>/dev/null || true; fi
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
[ -L "$work/prefix/bin/Pelmar" ] || fail "no link bin/Pelmar"
for f in Pelmar regsvr libpelmar_shell.so Plugins/STATS.so Plugins/Sfm.so Images/smallAll.bmp \
         Images/Pelmar.png TIPOFDAY.TXT samples/BRACKET.NC; do
    [ -e "$prog/$f" ] || fail "missing $f"
done
for f in "$prog/Pelmar" "$prog/libpelmar_shell.so" "$prog/Plugins/STATS.so"; do
    if readelf -d "$f" | grep -q "$build"; then fail "$f looks for libraries in the build tree"; fi
done
[ -e "$prog/nc_bench" ] && fail "benchmarks installed"

# Root may write anywhere: a read-only mount stops it; others lose the permission.
if [ "$(id -u)" = 0 ] && mount --bind "$prog" "$prog" 2>/dev/null; then
    mounted=1
    mount -o remount,ro,bind "$prog" || fail "cannot remount read-only"
else
    chmod -R a-w "$prog"
fi

unset TALVEX_PROGRAM_DIR
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" TALVEX_REGISTRY_DIR="$work/registry"
mkdir -p "$HOME"
"$work/prefix/bin/Pelmar" >"$work/out.txt" 2>&1 &
pid=$!
i=0
while [ ! -f "$work/config/Talvex/Editor.ini" ] || [ ! -f "$work/config/Talvex/Macro.ini" ]; do
    kill -0 "$pid" 2>/dev/null || { cat "$work/out.txt"; fail "the installed Pelmar ended"; }
    i=$((i + 1))
    [ "$i" -lt 200 ] || fail "no settings written in the configuration folder"
    sleep 0.1
done
[ -e "$prog/Editor.ini" ] && fail "wrote into the program folder"
echo "installed program folder works"
