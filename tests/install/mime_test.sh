#!/bin/sh
# The installed MIME package as a desktop sees it: a file named *.nc is an NC
# program unless its contents are NetCDF data (classic or NetCDF-4), which the
# standard NetCDF type claims by the same name; the package's signatures take
# no file of another type. Tried in both layouts: the package in the same
# database as the system's types (as a distribution package lays it out), and
# in a database of its own in front of the system's. Skipped (exit 77), saying
# why, where the tools or the standard types are missing.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

standard=/usr/share/mime/packages/freedesktop.org.xml
command -v update-mime-database >/dev/null || skip "no update-mime-database (package shared-mime-info)"
command -v gio >/dev/null || skip "no gio (package libglib2.0-bin)"
[ -f "$standard" ] || skip "no $standard (package shared-mime-info)"
grep -qs '^[0-9]*:application/x-netcdf:\*\.nc' /usr/share/mime/globs2 \
    || skip "the system's MIME database has no application/x-netcdf for *.nc"

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >"$work/log" 2>&1 || { cat "$work/log"; fail "install failed"; }
share="$work/stage/usr/local/share"
[ -f "$share/mime/packages/talvex-pelmar-nc.xml" ] || fail "no MIME package installed"
sample="$work/stage/usr/local/lib/talvex/samples/BRACKET.NC"
[ -f "$sample" ] || fail "no sample program installed"

database() {  # a throwaway folder: no need to wait for the disk
    PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$1/mime" >"$work/log" 2>&1 \
        || { cat "$work/log"; fail "update-mime-database refused $1"; }
}
# Its own database, in front of the system's.
database "$share"
# One database with the system's types, as a package install leaves it.
mkdir -p "$work/system/mime/packages" "$work/empty"
cp "$standard" "$share/mime/packages/talvex-pelmar-nc.xml" "$work/system/mime/packages/"
database "$work/system"

f="$work/files"
mkdir "$f"
cp "$sample" "$f/"
# Programs by their usual first lines, LF and CR LF.
printf '%%\nO1000 (BRACKET)\nG90 G0 X10. Y20.\nM30\n%%\n' >"$f/percent.nc"
printf '%%\r\nO1000\r\nG90 G0 X10.\r\nM30\r\n%%\r\n' >"$f/percent-crlf.nc"
printf '%%O1000\nG90 G0 X10.\nM30\n' >"$f/percent-number.nc"
printf '%%1000\nG90 G0 X10.\nM30\n' >"$f/percent-digits.nc"
printf '%% O1000\nG90 G0 X10.\nM30\n' >"$f/percent-space.nc"
printf 'O1000\nG90 G0 X10.\nM30\n' >"$f/number.nc"
printf 'N10 G90 G0 X10.\nN20 M30\n' >"$f/block.nc"
printf '(BRACKET)\nG90 G0 X10.\nM30\n' >"$f/comment.nc"
printf 'G90 G0 X10.\nM30\n' >"$f/g-word.nc"
printf '; BRACKET\nG90 G0 X10.\nM30\n' >"$f/semicolon.nc"
printf '/N10 G0 X10.\nM30\n' >"$f/skip.nc"
printf 'CDF is no signature in text\nG0 X0\n' >"$f/cdf-text.nc"
# A DOS end-of-file mark: not text to the desktop, a program by its start.
printf 'O1000\r\nG90 G0 X10.\r\nM30\r\n\032' >"$f/ctrl-z.nc"
# NetCDF data.
printf 'CDF\001\000\000\000\001' >"$f/classic.nc"
printf 'CDF\002\000\000\000\001' >"$f/offset64.nc"
printf '\211HDF\r\n\032\n\000\000\000\000' >"$f/netcdf4.nc"
# Other types' files that start like a program.
printf '%%\n\\documentclass{article}\n' >"$f/paper.tex"
printf '%%!PS-Adobe-3.0\n%%%%Pages: 1\n' >"$f/page.ps"
printf '%%!PS-Adobe-3.0\n%%%%Pages: 1\n' >"$f/page"
printf '%% Solve the system\nx = A \\ b;\n' >"$f/solve.m"
printf '; Settings\n[Window]\nWidth=640\n' >"$f/settings.ini"
printf '(see the list below)\nNotes 1\n' >"$f/notes"

# The type each file should have.
expected="$work/expected"
cat >"$expected" <<'END'
BRACKET.NC text/x-talvex-nc
percent.nc text/x-talvex-nc
percent-crlf.nc text/x-talvex-nc
percent-number.nc text/x-talvex-nc
percent-digits.nc text/x-talvex-nc
percent-space.nc text/x-talvex-nc
number.nc text/x-talvex-nc
block.nc text/x-talvex-nc
comment.nc text/x-talvex-nc
g-word.nc text/x-talvex-nc
semicolon.nc text/x-talvex-nc
skip.nc text/x-talvex-nc
cdf-text.nc text/x-talvex-nc
ctrl-z.nc text/x-talvex-nc
classic.nc application/x-netcdf
offset64.nc application/x-netcdf
netcdf4.nc application/x-netcdf
paper.tex text/x-tex
page.ps application/postscript
page application/postscript
solve.m text/x-matlab
settings.ini text/plain
notes text/plain
END

status=0
check() {  # one gio run for all files; local files need no desktop services
    GIO_USE_VFS=local gio info -a standard::content-type "$f"/* \
        | awk '/^uri: /{n=$2; sub(/.*\//,"",n)} /standard::content-type: /{print n, $2}' >"$work/got"
    awk -v where="$1" 'NR==FNR{got[$1]=$2; next}
        got[$1]!=$2{print "FAIL: in " where ", " $1 " is " (got[$1]=="" ? "untyped" : got[$1]) ", not " $2; bad=1}
        END{exit bad}' "$work/got" "$expected" || status=1
}
layout() {  # name, data home, data folders; a fresh cache, so that nothing kept decides
    mkdir "$work/cache-$4"
    (export XDG_DATA_HOME="$2" XDG_DATA_DIRS="$3" XDG_CACHE_HOME="$work/cache-$4"; check "$1"; exit "$status") \
        || status=1
}
layout "one database" "$work/empty" "$work/system" 1
layout "its own database" "$share" /usr/share 2
[ "$status" = 0 ] && echo "*.nc typed by contents, other files as before"
exit "$status"
