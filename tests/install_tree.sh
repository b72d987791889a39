#!/usr/bin/env bash
# Installs the build under a temporary prefix, makes it read-only and starts the
# programs from there with their own data folder: nothing may be written beside
# the executables, the template must arrive in the data folder, the menu entry
# must be valid. Argument: the build folder.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vorlagen bin/QvtrCopy libexec/vorlagen/vorlagen-fenster.so share/vorlagen/QvStandard.bpv \
         share/applications/io.github.vorlagen.vorlagen.desktop; do
    [ -f "$prefix/$f" ] || fail "$f not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x$size/apps/vorlagen.png" ] || fail "icon $size missing"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/io.github.vorlagen.vorlagen.desktop" || fail "desktop file"
fi
chmod -R a-w "$prefix"

export XDG_DATA_HOME=$tmp/data
data=$XDG_DATA_HOME/vorlagen
# The wizard runs until it is ended; its first start is over once the
# template is in place.
"$prefix/bin/vorlagen" &
pid=$!
for _ in $(seq 100); do
    [ -f "$data/QvStandard.prj" ] && break
    sleep 0.1
done
kill "$pid" 2>/dev/null || fail "the wizard did not keep running"
wait "$pid" 2>/dev/null || true
cmp "$prefix/share/vorlagen/QvStandard.bpv" "$data/QvStandard.bpv" || fail "template not in the data folder"
cmp "$prefix/share/vorlagen/QvStandard.bpv" "$data/QvStandard.prj" || fail "spare not in the data folder"
[ -z "$(ls -A "$prefix/bin" | grep -v -x -e vorlagen -e QvtrCopy)" ] || fail "files written beside the executables"

# A template the user edited survives the next start.
printf 'Type=Exe\r\nEigene=1\r\n' > "$data/QvStandard.bpv"
"$prefix/bin/vorlagen" &
pid=$!
sleep 1
kill "$pid" 2>/dev/null || fail "the wizard did not keep running"
wait "$pid" 2>/dev/null || true
grep -q Eigene "$data/QvStandard.bpv" || fail "the edited template was replaced"

# The copy tool reads the same data folder.
mkdir -p "$tmp/v"
printf 'Attribute VB_Name = "Modul"\r\n' > "$tmp/v/Modul.bas"
printf '[Filelist]\r\n100=Modul\r\n[Filepath]\r\nModul=%s/v/\r\n[Filename]\r\nModul=Modul.bas\r\n' \
    "$tmp" > "$data/vorlagen.dat"
"$prefix/bin/QvtrCopy" --nach "$tmp/ziel" >/dev/null || fail "copy tool"
cmp "$tmp/v/Modul.bas" "$tmp/ziel/Komponenten/Modul.bas" || fail "component not copied"
grep -q 'Modul=Komponenten/' "$tmp/ziel/vorlagen.dat" || fail "catalogue not pointed at the copy"
echo "install tree: ok"
