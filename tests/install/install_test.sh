#!/bin/sh
# Installs the build into a temporary prefix and starts the installed Pelmar
# as a user who cannot write its program folder: it runs from there, with its
# settings in that user's configuration folder. Root writes into any folder,
# so as root the program runs as the user "nobody"; where that cannot be done
# the test is skipped (exit 77), saying why.
set -eu
build="$1"
work="$(mktemp -d)"
prog="$work/prefix/lib/talvex"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

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

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" TALVEX_REGISTRY_DIR="$work/registry"
unset TALVEX_PROGRAM_DIR
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$TALVEX_REGISTRY_DIR"
if [ "$(id -u)" = 0 ]; then
    # nobody:nogroup owns only its home, configuration and registry folders.
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
    chmod 755 "$work"
    chown -R 65534:65534 "$HOME" "$XDG_CONFIG_HOME" "$TALVEX_REGISTRY_DIR"
    $as_user true 2>/dev/null || skip "root here cannot run a program as the user nobody (setpriv was refused)"
    $as_user test -x "$prog/Pelmar" || skip "the user nobody cannot reach $prog (a folder above it is closed)"
else
    as_user=""
    chmod -R a-w "$prog"
fi
if $as_user test -w "$prog"; then fail "the program folder is still writable for the user who runs it"; fi

$as_user "$work/prefix/bin/Pelmar" >"$work/out.txt" 2>&1 &
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
