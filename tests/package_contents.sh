#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# checks what it installs: every expected file under /usr and nothing else,
# programs 0755 and all else 0644, owned by root, and dependencies worked out
# from the binaries. Argument: the build folder.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack"; }
debs=("$tmp"/vorlagen_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "no vorlagen_<version>_amd64.deb"
deb=${debs[0]}

id=io.github.vorlagen.vorlagen
expected=(
    "-rwxr-xr-x ./usr/bin/QvtrCopy"
    "-rwxr-xr-x ./usr/bin/vorlagen"
    "-rw-r--r-- ./usr/libexec/vorlagen/vorlagen-fenster.so"
    "-rw-r--r-- ./usr/share/applications/$id.desktop"
    "-rw-r--r-- ./usr/share/doc/vorlagen/changelog.gz"
    "-rw-r--r-- ./usr/share/doc/vorlagen/copyright"
    "-rw-r--r-- ./usr/share/man/man1/QvtrCopy.1.gz"
    "-rw-r--r-- ./usr/share/man/man1/vorlagen.1.gz"
    "-rw-r--r-- ./usr/share/metainfo/$id.metainfo.xml"
    "-rw-r--r-- ./usr/share/vorlagen/QvStandard.bpv"
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("-rw-r--r-- ./usr/share/icons/hicolor/${size}x$size/apps/vorlagen.png")
done
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort)
want=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$want" ] || { diff <(echo "$want") <(echo "$actual") >&2; fail "file list"; }
dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { bad = 1; print } END { exit bad }' >&2 ||
    fail "folder permissions"
owners=$(dpkg-deb -c "$deb" | awk '{ print $2 }' | sort -u)
[ "$owners" = "root/root" ] || fail "owners: $owners"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ "$depends" == *"$lib "* ]] || fail "no dependency on $lib: $depends"
done
echo "package contents: ok"
