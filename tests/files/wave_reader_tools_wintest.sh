#!/bin/bash
# The WAV/RF64 reader of the Windows build on files made by sox, ffmpeg and sndfile-convert:
# the files are made here and read by the WaveReaderToolFiles tests of qv_tests.exe under Wine.
set -euo pipefail
: "${QV_BINARY_DIR:?build folder}" "${QV_WINE_RUN:?wine wrapper}"
source "$(dirname "$0")/wave_tool_files.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
make_wave_tool_files "$work" || status=$?
[ $status -eq 0 ] || exit $status
# Wine sees the Unix folder through its Z: drive.
out=$(QV_WAVE_TOOL_MANIFEST="Z:$work/manifest.txt" "$QV_WINE_RUN" \
    "$QV_BINARY_DIR/tests/qv_tests.exe" --gtest_filter='WaveReaderToolFiles.*' </dev/null 2>&1) ||
    { echo "$out"; exit 1; }
grep -q '^\[  PASSED  \] 2 tests' <<<"$out" && ! grep -q SKIPPED <<<"$out" || { echo "$out"; exit 1; }
echo "$(wc -l <"$work/manifest.txt") tool-made files read as written under Wine"
