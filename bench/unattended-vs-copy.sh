#!/usr/bin/env bash
# The unattended run against the durable copy of its own output, as whole processes: each pair
# runs `tectoplan -A` on a project, writing its program to a file that exists (as a controller's
# job file does), and then `dd ... conv=fsync` copying that program over another file that
# exists, so that both meet the same state of the machine. Prints for each project the medians
# of the elapsed times, the median of the pairs' ratios and the run's peak resident memory
# beside the program's size. Projects: examples/gutter.tcj as it is (two layers) and with
# 100 000 layers (30 MB of program).
# Usage: bench/unattended-vs-copy.sh [BUILD] [PAIRS]   (defaults: build-bench 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
pairs=${2:-20}
program="$PWD/$build/tectoplan"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/gutter.tcj "$work/gutter-2.tcj"
sed 's/^Layer count=.*/Layer count=100000/' examples/gutter.tcj >"$work/gutter-100000.tcj"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() { # project file
  local project=$1
  local run=() copy=() ratio=() peak=()
  "$program" -A -I:"$project" -O:"$work/run.plt"
  cp "$work/run.plt" "$work/program.plt"
  cp "$work/run.plt" "$work/copy.plt"
  for ((i = 0; i <= pairs; i++)); do
    local t0=${EPOCHREALTIME/./} # microseconds
    "$program" -A -I:"$project" -O:"$work/run.plt"
    local t1=${EPOCHREALTIME/./}
    dd if="$work/program.plt" of="$work/copy.plt" bs=1M conv=fsync status=none
    local t2=${EPOCHREALTIME/./}
    if ((i == 0)); then
      continue # the first pair warms the caches up
    fi
    cmp -s "$work/run.plt" "$work/program.plt" || {
      echo "the run wrote another program" >&2
      exit 1
    }
    run+=($((t1 - t0)))
    copy+=($((t2 - t1)))
    ratio+=("$(awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) 'BEGIN { printf "%.4f", a / b }')")
  done
  # The peak resident memory, in runs of their own so that the timed ones start directly.
  for ((i = 0; i < 5; i++)); do
    /usr/bin/time -f %M -o "$work/peak" "$program" -A -I:"$project" -O:"$work/run.plt"
    peak+=("$(cat "$work/peak")")
  done
  local size
  size=$(stat -c %s "$work/program.plt")
  local runMedian copyMedian ratioMedian peakMedian
  runMedian=$(printf '%s\n' "${run[@]}" | median)
  copyMedian=$(printf '%s\n' "${copy[@]}" | median)
  ratioMedian=$(printf '%s\n' "${ratio[@]}" | median)
  peakMedian=$(printf '%s\n' "${peak[@]}" | median)
  awk -v name="$(basename "$project" .tcj)" -v n="$pairs" -v size="$size" -v run="$runMedian" \
    -v copy="$copyMedian" -v ratio="$ratioMedian" -v peak="$peakMedian" 'BEGIN {
      printf "%s, %d pairs: program %.2f MiB\n", name, n, size / 1048576
      printf "  unattended run   %8.1f ms (median)\n", run / 1000
      printf "  durable copy     %8.1f ms (median)\n", copy / 1000
      printf "  run / copy       %8.2f   (median of the pairs)\n", ratio
      printf "  peak of the run  %8.2f MiB = program + %.2f MiB (median of 5)\n", peak / 1024,
        peak / 1024 - size / 1048576
    }'
}

echo "load: $(uptime)"
measure "$work/gutter-2.tcj"
measure "$work/gutter-100000.tcj"
echo "load: $(uptime)"
