#!/usr/bin/env bash
# The installed program works wherever its tree lies: installed with a prefix other than the one
# it was configured with, installed with DESTDIR, and unpacked from the Debian package. In each
# tree the unattended run writes the golden program, tectoplan-view runs, and the window loads
# the tree's own module and pictures. The package is also checked with lintian, and its desktop
# entry, file type, metadata and manual pages as the desktop's tools read them. The programs run
# in a folder holding files named as their libraries, which they must not take for them.
# Usage: installed-tree.sh BUILD_DIR SOURCE_DIR PROBE
set -euo pipefail
build=$(realpath "$1") source=$(realpath "$2") probe=$(realpath "$3")
fail() { echo "installed-tree: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for library in libc.so.6 libstdc++.so.6 libtectoplan-core.so libtectoplan-ui.so libQt6Widgets.so.6; do
  echo "not a library" >"$work/$library"
done

project=$source/tests/generator/data/gutter-2-layers.tcj
golden=$source/tests/generator/data/gutter-2-layers.plt

check_tree() {  # a name for messages, the tree's prefix folder
  local name=$1 prefix=$2
  local bin=$prefix/bin
  [[ -x $bin/tectoplan && -x $bin/tectoplan-view ]] || fail "$name: no programs in $bin"
  (cd "$work" && "$bin/tectoplan" -A -I:"$project" -O:"$work/out.plt") ||
    fail "$name: the unattended run failed"
  cmp -s "$work/out.plt" "$golden" || fail "$name: the program differs from the golden one"
  (cd "$work" && "$bin/tectoplan-view" --version) | grep -q '^tectoplan-view ' ||
    fail "$name: tectoplan-view"
  # The window, with the probe in place of its event loop: it must open the tree's own module,
  # core library and pictures, and nothing of the build tree.
  (cd "$work" && XDG_CONFIG_DIRS="$work/none" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    XDG_RUNTIME_DIR="$work" timeout 30 strace -f -qq -e trace=open,openat -o "$work/trace" \
    env LD_PRELOAD="$probe" "$bin/tectoplan" -L en >"$work/window" 2>&1) ||
    { cat "$work/window" >&2; fail "$name: the window did not start"; }
  grep -q '^title=Tectoplan (version: ' "$work/window" || fail "$name: no window"
  local opened
  opened=$(grep -E '= [0-9]+$' "$work/trace" | grep -oE '"[^"]*"' | tr -d '"')
  for file in libtectoplan-core.so libtectoplan-ui.so images/Panel_Empty.wmf; do
    grep -q "^$prefix/.*$file\$" <<<"$opened" || fail "$name: $file not opened from $prefix"
  done
  ! grep -v -x "$probe" <<<"$opened" | grep -q "^$build/" || fail "$name: opened files of the build tree"
}

# Installed at a prefix other than the configured one, and with DESTDIR.
cmake --install "$build" --prefix "$work/elsewhere" >/dev/null
check_tree "--prefix" "$work/elsewhere"
DESTDIR=$work/staged cmake --install "$build" >/dev/null
configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
check_tree "DESTDIR" "$work/staged$configured"

# The package, unpacked.
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$(ls "$work"/package/*.deb)
dpkg-deb -x "$deb" "$work/root"
check_tree "package" "$work/root/usr"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in usr/bin/tectoplan usr/bin/tectoplan-view 'usr/lib/.*/tectoplan/libtectoplan-core.so' \
  'usr/lib/.*/tectoplan/libtectoplan-ui.so' usr/share/tectoplan/images/Panel_Gutter.wmf \
  usr/share/applications/pl.corvana.Tectoplan.desktop \
  usr/share/icons/hicolor/scalable/apps/tectoplan.svg usr/share/mime/packages/tectoplan.xml \
  usr/share/man/man1/tectoplan.1.gz usr/share/man/man1/tectoplan-view.1.gz \
  usr/share/metainfo/pl.corvana.Tectoplan.metainfo.xml usr/share/doc/tectoplan/copyright; do
  grep -qx "\./$file" <<<"$contents" || fail "the package lacks $file"
done
lintian_out=$(lintian --allow-root "$deb" 2>&1 || true)
! grep -q '^E:' <<<"$lintian_out" || fail "lintian: $lintian_out"

share=$work/root/usr/share
desktop-file-validate "$share/applications/pl.corvana.Tectoplan.desktop" ||
  fail "desktop-file-validate refuses the desktop entry"
grep -qx 'Exec=tectoplan %f' "$share/applications/pl.corvana.Tectoplan.desktop" ||
  fail "the desktop entry passes no file"
grep -qx 'MimeType=application/x-tectoplan-project;' "$share/applications/pl.corvana.Tectoplan.desktop" ||
  fail "the desktop entry declares no file type"
appstreamcli validate --no-net "$share/metainfo/pl.corvana.Tectoplan.metainfo.xml" >/dev/null ||
  fail "appstreamcli refuses the metadata"
# The file type as the desktop's database reads it: *.tcj in any letter case.
cp -r "$share/mime" "$work/mime"
update-mime-database "$work/mime" 2>/dev/null || fail "update-mime-database refuses the file type"
grep -qF 'application/x-tectoplan-project:*.tcj' "$work/mime/globs2" ||
  fail "no glob *.tcj in the file-type database"

# The manual pages: what a generated page would not prove.
for page in tectoplan tectoplan-view; do
  text=$(zcat "$share/man/man1/$page.1.gz" | MANWIDTH=100 man -l - 2>/dev/null)
  for section in SYNOPSIS FILES ENVIRONMENT 'EXIT STATUS' EXAMPLES; do
    grep -q "^$section\$" <<<"$text" || fail "$page(1) has no $section section"
  done
  grep -q '/etc/xdg/Corvana/Tectoplan/Tectoplan.ini' <<<"$text" ||
    fail "$page(1) does not name the configuration file"
  statuses=$([[ $page == tectoplan ]] && echo "0 1" || echo "0 1 2")
  exits=$(sed -n '/^EXIT STATUS$/,/^[A-Z]/p' <<<"$text")
  for status in $statuses; do
    grep -qE "^ +$status( |$)" <<<"$exits" || fail "$page(1) does not give exit status $status"
  done
done
echo "installed-tree: the installed trees and the package work where they lie"
