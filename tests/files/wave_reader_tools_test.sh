#!/bin/bash
# The WAV/RF64 reader on files made by sox, ffmpeg and sndfile-convert: the files are made here
# and read by the WaveReaderToolFiles tests of the native qv_tests.
set -euo pipefail
: "${QV_BINARY_DIR:?build folder}"
source "$(dirname "$0")/wave_tool_files.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
make_wave_tool_files "$work" || status=$?
[ $status -eq 0 ] || exit $status
out=$(QV_WAVE_TOOL_MANIFEST="$work/manifest.txt" "$QV_BINARY_DIR/tests/qv_tests" \
    --gtest_filter='WaveReaderToolFiles.*' 2>&1) || { echo "$out"; exit 1; }
# Both tests must have run, not skipped themselves.
grep -q '^\[  PASSED  \] 2 tests' <<<"$out" && ! grep -q SKIPPED <<<"$out" || { echo "$out"; exit 1; }
echo "$(wc -l <"$work/manifest.txt") tool-made files read as written"
