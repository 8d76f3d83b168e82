#!/bin/bash
# Opens the audio device.
# Shows windows.
# The program used at random for QV_RANDOM_SECONDS (60; QV_RANDOM_SEED replays a run): clicks,
# keys, wheel turns and typed texts, its dialogs answered, with a watchdog on its life and its
# answers (tests/app/qv_random_use.py).
set -uo pipefail
: "${QV_PROBE:?path of qv_probe.exe}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v sox >/dev/null || exit 77
python3 "$QV_SOURCE_DIR/tests/app/qv_random_use.py" "$work"
