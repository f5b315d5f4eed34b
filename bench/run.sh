#!/usr/bin/env bash
# Builds the Windows preset and prints KTV Debugger's start-up time and
# Debug-run overhead as ratios against bare baselines measured in the same
# run, and the executable's size. Usage: bench/run.sh [rounds]
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"
cd "$KTV_ROOT"
ktv_install_packages
ktv_build windows
cmake --build --preset windows --target ktv_bench bare_window bare_runner >/dev/null
ktv_start_wine_display
build="$KTV_ROOT/build/windows"
wine "$build/bench/ktv_bench.exe" "$build/src/app/KTVDebugger.exe" \
    "$build/bench/bare_window.exe" "$build/standins" "$build/bench/bare_runner.exe" "${1:-7}"
