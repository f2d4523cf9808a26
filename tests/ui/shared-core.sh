#!/usr/bin/env bash
# The real program loads the real window module through its own loader and both use one core:
# the module defines none of the core's globals, and what the program's start-up read from the
# configuration file (the Polish interface) is what the window shows. The configuration file and
# the core library are each opened once in the whole run.
# Usage: shared-core.sh PROGRAM MODULE CORE PROBE
set -euo pipefail
program=$1 module=$2 core=$3 probe=$4
fail() { echo "shared-core: $*" >&2; exit 1; }

# The module defines its entry and nothing of the core.
defined=$(nm -D --defined-only "$module" | awk '{print $3}' |
  grep -vxE '_edata|_end|__bss_start|_init|_fini' || true)
[[ $defined == TectoplanRunWindow ]] || fail "the module defines more than its entry: $defined"
core_defines=$(nm -D --defined-only "$core")
for symbol in AppCfg _Z11GetLocalStrB5cxx11h _ZN8platform12NumberFormatEv; do
  grep -qw "$symbol" <<<"$core_defines" || fail "the core does not define $symbol"
done
module_imports=$(nm -D --undefined-only "$module")
for symbol in _Z11GetLocalStrB5cxx11h _ZN8platform12FormatNumberB5cxx11Ed; do
  grep -qw "$symbol" <<<"$module_imports" || fail "the module does not import $symbol"
done
grep -q 'NEEDED.*\[libtectoplan-core.so\]' <<<"$(readelf -d "$module")" ||
  fail "the module does not load the core library"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/etc/Corvana/Tectoplan"
printf '[Config]\r\nLocales=pl\r\n' >"$work/etc/Corvana/Tectoplan/Tectoplan.ini"
# The probe stands in for the event loop: it prints what the window shows and ends the run.
(cd "$work" && XDG_CONFIG_DIRS="$work/etc" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR="$work" timeout 30 strace -f -qq -e trace=open,openat -o "$work/trace" \
  env LD_PRELOAD="$probe" "$program" >"$work/out" 2>"$work/err") ||
  { cat "$work/err" >&2; fail "the program ended with status $?"; }

grep -qx 'title=Tectoplan (wersja: .*)' "$work/out" || fail "no Polish caption: $(cat "$work/out")"
grep -qx 'panel-type-1=Płaski - wszystkie narożniki takie same' "$work/out" ||
  fail "the panel types are not Polish: $(cat "$work/out")"
grep -qx 'language=0x15' "$work/out" || fail "the core holds another language"

opened() { grep -cE "\"[^\"]*$1\", [^)]*\) = [0-9]+$" "$work/trace" || true; }
[[ $(opened /Tectoplan.ini) == 1 ]] || fail "configuration file opened $(opened /Tectoplan.ini) times"
[[ $(opened /libtectoplan-core.so) == 1 ]] || fail "core opened $(opened /libtectoplan-core.so) times"
[[ $(opened /libtectoplan-ui.so) == 1 ]] || fail "window module opened $(opened /libtectoplan-ui.so) times"
# A project file named on the command line, as a file manager passes it, opens in the window.
printf '[Project]\r\nPanel type=2\r\nLayer count=2\r\nVertex A=50\r\nVertex B=60\r\nVertex C=70\r\n' \
  >"$work/roof.tcj"
(cd "$work" && XDG_CONFIG_DIRS="$work/etc" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR="$work" LD_PRELOAD="$probe" timeout 30 "$program" -L en ./roof.tcj \
  >"$work/out" 2>"$work/err") || { cat "$work/err" >&2; fail "the program ended with status $?"; }
grep -qx 'field txtDimA=50' "$work/out" || fail "roof.tcj was not opened: $(cat "$work/out")"
grep -qx 'field txtLayerCount=2' "$work/out" || fail "roof.tcj was not opened: $(cat "$work/out")"

echo "shared-core: one core; the window shows what the program's start-up chose"
