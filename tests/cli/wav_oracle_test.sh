#!/bin/bash
# WAV files written by qvrender, read back by tools nobody here wrote: sox and libsndfile must
# see the declared rate, channels and sample type, and sox must decode exactly our data bytes.
set -euo pipefail
source "$(dirname "$0")/script_checks.sh"

for bits in 8 16 24 32 F32; do
    for ch in 1 2 3 8; do
        case $ch in 1) chname=Mono; all="L+R" ;; 2) chname=Stereo; all="L+R" ;; *) chname=${ch}ch; all=ALL ;; esac
        f=$work/out_${bits}_${ch}.wav
        "$QVRENDER" "$f" --set File.Length=0.25 --set Misc.SamplingFreq=48000 \
            --set Misc.BitLen=$bits --set Misc.Ch=$chname --set Wave1.OutCh=$all \
            --set Wave2.Waveform=square --set Wave2.Freq=333 --set Wave2.Amp=-6 \
            --set Wave2.OutCh=$([ "$ch" -gt 2 ] && echo 1ch || echo L)
        case $bits in
            8) enc="Unsigned Integer PCM"; b=8 ;;
            F32) enc="Floating Point PCM"; b=32 ;;
            *) enc="Signed Integer PCM"; b=$bits ;;
        esac
        id="$bits bit, $ch ch"
        check "$id sox rate" "$(sox --i -r "$f")" 48000
        check "$id sox channels" "$(sox --i -c "$f")" "$ch"
        check "$id sox bits" "$(sox --i -b "$f")" "$b"
        check "$id sox encoding" "$(sox --i -e "$f")" "$enc"
        check "$id sox samples" "$(sox --i -s "$f")" 12000
        info=$(sndfile-info "$f")
        check "$id sndfile rate" "$(grep -m1 -E '^Sample Rate *:' <<<"$info" | awk -F: '{gsub(/ /,"",$2); print $2}')" 48000
        check "$id sndfile channels" "$(grep -m1 -E '^Channels *:' <<<"$info" | awk -F: '{gsub(/ /,"",$2); print $2}')" "$ch"
        check "$id sndfile frames" "$(grep -m1 -E '^Frames *:' <<<"$info" | awk -F: '{gsub(/ /,"",$2); print $2}')" 12000
        header=$([ "$ch" -gt 2 ] && echo 68 || echo 44)
        sox "$f" -t raw "$work/decoded.raw"
        tail -c +$((header + 1)) "$f" >"$work/ours.raw"
        if ! cmp -s "$work/decoded.raw" "$work/ours.raw"; then
            echo "FAIL $id: sox decodes other bytes than the data chunk holds"
            fail=1
        fi
        check "$id data size" "$(stat -c %s "$work/ours.raw")" $((12000 * ch * b / 8))
    done
done

# The sine is really a 1 kHz tone at -10 dB: sox's own statistics of the rendered file.
"$QVRENDER" "$work/sine.wav" --set File.Length=1 --set Misc.SamplingFreq=48000
stat=$(sox "$work/sine.wav" -n remix 1 stat 2>&1)  # one channel: stat reads interleaved samples as one stream
rms=$(awk -F: '/RMS +amplitude/ {gsub(/ /,"",$2); print $2}' <<<"$stat")
freq=$(awk -F: '/Rough +frequency/ {gsub(/ /,"",$2); print $2}' <<<"$stat")
awk -v r="$rms" 'BEGIN { e = 32767/32768 * 10^(-0.5) / sqrt(2); exit !(r > e*0.999 && r < e*1.001) }' ||
    { echo "FAIL sine RMS $rms"; fail=1; }
awk -v f="$freq" 'BEGIN { exit !(f > 990 && f < 1010) }' || { echo "FAIL sine frequency $freq"; fail=1; }

[ $fail -eq 0 ] && echo "all WAV files read back as written"
exit $fail
