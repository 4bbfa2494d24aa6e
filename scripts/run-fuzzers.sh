#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a fuzz build for a while: first over its kept crash
# inputs (fuzz/regressions/<target>/), then fresh from its seed corpus.
# Usage: scripts/run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
status=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -f "$bin" ] && [ -x "$bin" ] || continue
  name=$(basename "$bin")
  work="$build/fuzz-work/$name"
  mkdir -p "$work" "$build/fuzz-crashes"
  regressions=(fuzz/regressions/"$name"/*)
  if [ -e "${regressions[0]}" ]; then
    "$bin" -runs=1 "${regressions[@]}" >"$work.log" 2>&1 || { echo "$name: a kept crash input fails again"; tail -40 "$work.log"; status=1; continue; }
  fi
  echo "fuzzing $name for ${seconds}s"
  if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
      -artifact_prefix="$build/fuzz-crashes/$name-" "$work" "fuzz/corpus/$name" >"$work.log" 2>&1; then
    echo "$name: finding kept in $build/fuzz-crashes/"
    tail -40 "$work.log"
    status=1
  fi
done
exit $status
