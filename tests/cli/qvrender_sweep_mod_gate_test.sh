#!/bin/bash
# Sweeps, modulation and tone bursts rendered by qvrender through the parameter file's keys,
# read back with sox.
set -uo pipefail
source "$(dirname "$0")/script_checks.sh"
# Samples of a mono file, one per line (sox's dat output without its header and time column).
samples() { sox "$1" -t dat - | awk '!/^;/ { print $2 }'; }

mono=(--set Misc.SamplingFreq=48000 --set Misc.Ch=Mono --set Misc.BitLen=24)

# A stepped sweep that ends before the file length: 4 steps of trunc(48510.5 / 4) = 12127
# samples at 44100 Hz instead of 48510, and a header that says so.
"$QVRENDER" "$work/early.wav" --set File.Length=1.1 --set Misc.SamplingFreq=44100 \
    --set Wave1.Sweep=1 --set Wave1.SweepStep=4 --set Wave2.Freq=2000 || fail=1
check "early sweep frames" "$(sox --i -s "$work/early.wav")" 48508
check "early sweep size" "$(stat -c %s "$work/early.wav")" $((44 + 48508 * 4))
check "early sweep data" "$(sndfile-info "$work/early.wav" | awk '/^data :/ { print $3 }')" $((48508 * 4))

# One step per second from 100 Hz to 1600 Hz, log: 100, 200, 400, 800, 1600 Hz, counted as
# sign changes inside each second.
"$QVRENDER" "$work/steps.wav" "${mono[@]}" --set File.Length=5 --set Wave1.Sweep=1 \
    --set Wave1.SweepStep=1 --set Wave1.SweepFreqLog=1 --set Wave1.Freq=100 \
    --set Wave2.Freq=1600 --set Wave1.Phase=90 || fail=1
check "step frequencies" "$(samples "$work/steps.wav" | awk '
    { s = NR - 1; sec = int(s / 48000); if (s % 48000 && ($1 < 0) != (prev < 0)) n[sec]++; prev = $1 }
    END { for (i = 0; i < 5; i++) printf "%d ", n[i] / 2 }')" "100 200 400 800 1600 "

# AM by a full-scale 100 Hz sine on Wave3 (not mixed): the carrier (-12 dB, 0.2512) swings up
# to twice its level, 0.5024; the samples come within 2 % of that peak.
"$QVRENDER" "$work/am.wav" "${mono[@]}" --set File.Length=0.1 --set Wave1.Amp=-12 \
    --set Wave1.Modulation=1 --set Wave1.ModulationType=AM --set Wave1.ModulatingSignal=3 \
    --set Wave3.Waveform=sine --set Wave3.Freq=100 --set Wave3.Amp=0 --set Wave3.OutCh=OFF || fail=1
check "AM peak" "$(sox "$work/am.wav" -n stat 2>&1 |
    awk '/Maximum amplitude/ { print ($3 > 0.49 && $3 <= 0.5024) ? "near 0.5024" : $3 }')" "near 0.5024"

# Tone bursts: 2 waves on, 3 waves off at 1000 Hz, 48 samples a wave: sound for 96 samples,
# silence for 144, from the first sample on.
"$QVRENDER" "$work/burst.wav" "${mono[@]}" --set File.Length=0.02 --set Wave1.Waveform=square \
    --set Wave1.GateOnPeriod=2 --set Wave1.GateOffPeriod=3 || fail=1
check "burst pattern" "$(samples "$work/burst.wav" | awk '
    { on = ($1 != 0); if (NR > 1 && on != last) { printf "%d%s ", run, last ? "on" : "off"; run = 0 }
      run++; last = on }
    END { printf "%d%s", run, last ? "on" : "off" }')" "96on 144off 96on 144off 96on 144off 96on 144off"

[ $fail -eq 0 ] && echo "sweeps, modulation and bursts render as set"
exit $fail
