#!/bin/bash
# Opens the audio device.
# Shows windows.
# Every way a parameter set arrives (first start, "/P", a second start handing it over at rest and
# while playing, Load, a drop, the last run's set) for every kind of set (a tone, user waves on
# Wave1 and on Wave5 as a modulation signal, a missing user wave, the filter, a sweep): what a
# user sees and hears each time (tests/app/qv_arrivals.py).
set -uo pipefail
: "${QV_PROBE:?path of qv_probe.exe}" "${QVRENDER_EXE:?path of qvrender.exe}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v sox >/dev/null || exit 77
python3 "$QV_SOURCE_DIR/tests/app/qv_arrivals.py" "$work"
