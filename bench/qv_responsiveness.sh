#!/bin/bash
# QV.exe under Wine on the virtual display: the time from its start to a main window that
# answers messages (warm prefix: the first run only warms it), and the window's message round
# trips while it plays a set through MME for ten seconds ("/P10000", captured to a file), and the
# playback thread's longest wait for the display step, set against one output buffer's duration
# (the engine's default 500 ms).
# Usage: bench/qv_responsiveness.sh [windows-build-dir]   (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export QV_BUILD_DIR=${1:-$root/build/windows} QV_NEED_X=1 QV_SOURCE_DIR=$root
source "$root/tools/wine-env"
source "$root/tests/support/gui_checks.sh"
qv_start_xvfb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$QV_BUILD_DIR/src/app/QV.exe" "$QV_BUILD_DIR/src/fftlib/KT54DLL.DLL" "$work/"
settled_ini "$work"
printf '[Misc]\r\nSamplingFreq=48000\r\nBitLen=16\r\nCh=Stereo\r\n[Wave1]\r\nWaveform=sine\r\n'`
      `'Freq=1000\r\nOutCh=L+R\r\n' >"$work/tone.QV"
probe="$QV_BUILD_DIR/bench/win/qv_round_trip.exe"
cd "$work"
QV_AUDIO_CAPTURE="$work/warm.raw" wine "$probe" 1 QV.exe >/dev/null
for run in 1 2 3; do
    echo "run $run:"
    rm -f capture.raw
    QV_AUDIO_CAPTURE="$work/capture.raw" wine "$probe" 10 QV.exe tone.QV /P10000
    echo "played meanwhile: $(($(stat -c %s capture.raw 2>/dev/null || echo 0) / 4)) frames"
done
