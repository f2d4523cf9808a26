#!/usr/bin/env bash
# The build tree's programs and libraries look for the libraries they need beside themselves and
# in the system's folders, never in the folder they are started from: started in a folder that
# holds files named as those libraries (and that are no libraries at all), the unattended run
# still writes the golden program, tectoplan-view still answers, and the window still opens.
# Usage: build-tree-search-path.sh BUILD_DIR PROJECT GOLDEN [PROBE]
set -euo pipefail
build=$(realpath "$1") project=$(realpath "$2") golden=$(realpath "$3")
probe=${4:+$(realpath "$4")}
fail() { echo "build-tree-search-path: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for library in libc.so.6 libm.so.6 libstdc++.so.6 libgcc_s.so.1 libtectoplan-core.so \
  libtectoplan-ui.so libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6; do
  echo "not a library" >"$library"
done

"$build/tectoplan" -A -I:"$project" -O:"$work/out.plt" 2>"$work/err" ||
  { cat "$work/err" >&2; fail "the unattended run did not start"; }
cmp -s "$work/out.plt" "$golden" || fail "the unattended run wrote another program"
"$build/tectoplan-view" --version 2>"$work/err" | grep -q '^tectoplan-view ' ||
  { cat "$work/err" >&2; fail "tectoplan-view did not start"; }
if [[ -n $probe ]]; then
  # The window, with the probe in place of its event loop.
  XDG_CONFIG_DIRS="$work/none" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" \
    LD_PRELOAD="$probe" timeout 30 "$build/tectoplan" -L en >"$work/window" 2>&1 ||
    { cat "$work/window" >&2; fail "the window did not start"; }
  grep -q '^title=Tectoplan (version: ' "$work/window" || fail "no window"
fi
echo "build-tree-search-path: no library is looked for in the folder a program starts from"
