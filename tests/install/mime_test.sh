#!/bin/sh
# The installed MIME package beside the system's database, as a desktop sees
# it: a file named *.nc is an NC program unless its contents are NetCDF data
# (classic or NetCDF-4), which the standard NetCDF type claims by the same
# name. Skipped (exit 77), saying why, where the tools or the standard type
# are missing.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

command -v update-mime-database >/dev/null || skip "no update-mime-database (package shared-mime-info)"
command -v gio >/dev/null || skip "no gio (package libglib2.0-bin)"
grep -qs '^[0-9]*:application/x-netcdf:\*\.nc' /usr/share/mime/globs2 \
    || skip "the system's MIME database has no application/x-netcdf for *.nc"

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >"$work/log" 2>&1 || { cat "$work/log"; fail "install failed"; }
share="$work/stage/usr/local/share"
[ -f "$share/mime/packages/talvex-pelmar-nc.xml" ] || fail "no MIME package installed"
update-mime-database "$share/mime" >"$work/log" 2>&1 || { cat "$work/log"; fail "update-mime-database refused the package"; }

export XDG_DATA_HOME="$share" XDG_DATA_DIRS="/usr/share"
mkdir "$work/files"
printf 'CDF\001\000\000\000\001' >"$work/files/classic.nc"
printf 'CDF\002\000\000\000\001' >"$work/files/offset64.nc"
printf '\211HDF\r\n\032\n\000\000\000\000' >"$work/files/netcdf4.nc"
printf '%%\nO1000 (BRACKET)\nG90 G0 X10. Y20.\nM30\n%%\n' >"$work/files/a.nc"
printf 'CDF is no signature in text\nG0 X0\n' >"$work/files/b.nc"

status=0
expect() {
    got="$(gio info -a standard::content-type "$work/files/$1" | sed -n 's/^ *standard::content-type: //p')"
    if [ "$got" != "$2" ]; then echo "FAIL: $1 is $got, not $2"; status=1; fi
}
expect classic.nc application/x-netcdf
expect offset64.nc application/x-netcdf
expect netcdf4.nc application/x-netcdf
expect a.nc text/x-talvex-nc
expect b.nc text/x-talvex-nc
[ "$status" = 0 ] && echo "*.nc typed by contents"
exit "$status"
