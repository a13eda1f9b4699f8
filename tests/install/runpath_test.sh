#!/bin/sh
# The build tree's programs, libraries and tests find our libraries relative
# to their own folder: no absolute path and no empty entry (which would search
# the current folder) in their RUNPATH, so a copy of build/bin runs on its own.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

checked=0
for f in $(find "$build/bin" "$build/tests" -type f \( -perm -u+x -o -name '*.so' \)); do
    readelf -h "$f" >/dev/null 2>&1 || continue
    readelf -d "$f" >"$work/dyn" 2>/dev/null || continue
    if grep -q "(RPATH)" "$work/dyn"; then fail "$f has an RPATH"; fi
    runpath="$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]$/\1/p' "$work/dyn")"
    [ -n "$runpath" ] || continue
    case ":$runpath:" in *::*) fail "$f: empty entry in its RUNPATH \"$runpath\"";; esac
    old_ifs="$IFS"; IFS=:
    for entry in $runpath; do
        case "$entry" in '$ORIGIN' | '$ORIGIN/'*) ;; *) fail "$f: \"$entry\" in its RUNPATH";; esac
    done
    IFS="$old_ifs"
    checked=$((checked + 1))
done
[ "$checked" -gt 10 ] || fail "only $checked binaries checked"

# A copy of the program folder, started from a folder that holds a damaged
# copy of a Qt library: the copy's own libraries and the system's Qt load.
cp -a "$build/bin" "$work/copy"
mkdir "$work/cwd"
: >"$work/cwd/libQt6Widgets.so.6"
: >"$work/cwd/libplatform_forms.so"
for f in "$work/copy/Pelmar" "$work/copy/Plugins/STATS.so"; do
    (cd "$work/cwd" && ldd "$f") >"$work/ldd" 2>&1 || { cat "$work/ldd"; fail "ldd $f"; }
    if grep -q "$build/" "$work/ldd"; then cat "$work/ldd"; fail "$f loads libraries from the build tree"; fi
    if grep -q "$work/cwd\|not found" "$work/ldd"; then cat "$work/ldd"; fail "$f does not load its own libraries"; fi
done
(cd "$work/cwd" && "$work/copy/Pelmar" --help) >"$work/help.txt" 2>&1 || { cat "$work/help.txt"; fail "the copy did not run"; }
grep -q "Valid command line switches" "$work/help.txt" || fail "no switch list from the copy"
echo "$checked binaries find their libraries beside them"
