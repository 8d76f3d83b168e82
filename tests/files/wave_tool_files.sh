# Sourced by the reader's tool scripts: WAV and RF64 files made by sox, ffmpeg and libsndfile's
# sndfile-convert from raw sample files written here, and a manifest that tells the reader test
# (WaveReaderToolFiles in qv_tests) what each file must give. The format tag, frame count, RF64
# form and bext chunk are taken from sndfile-info, not from our own reading.
#
#   make_wave_tool_files DIR   fills DIR; returns 77 when a tool is missing
#
# Manifest lines: wav raw tag channels rate bits frames float playable rf64 bext
# (raw "-" for files whose samples are not compared).

wave_tools_missing() {
    local t
    for t in sox ffmpeg sndfile-convert sndfile-info python3; do
        command -v "$t" >/dev/null || { echo "$t"; return 0; }
    done
    return 1
}

# Raw little-endian samples: encoding (u8 s16 s24 s32 f32), channels, frames, seed, output.
# Integers cover the whole range, extremes first; floats are multiples of 2^-15 in -1 ... 1.
write_raw() {
    python3 - "$@" <<'PY'
import random, struct, sys
enc, ch, frames, seed, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
rng = random.Random(seed)
n = ch * frames
bits = {"u8": 8, "s16": 16, "s24": 24, "s32": 32}.get(enc)
data = bytearray()
for i in range(n):
    if enc == "f32":
        data += struct.pack("<f", rng.randint(-32768, 32767) / 32768.0)
        continue
    lo, hi = -(1 << (bits - 1)), (1 << (bits - 1)) - 1
    v = [lo, hi, 0, -1][i] if i < 4 else rng.randint(lo, hi)
    if enc == "u8":
        data.append(v + 128)
    else:
        data += (v & ((1 << bits) - 1)).to_bytes(bits // 8, "little")
open(out, "wb").write(bytes(data))
PY
}

# sox's view of a raw encoding: -e ... -b ...
sox_raw_args() {
    case $1 in
        u8) echo "-e unsigned -b 8" ;;
        f32) echo "-e floating-point -b 32" ;;
        *) echo "-e signed -b ${1#s}" ;;
    esac
}

ffmpeg_codec() {
    case $1 in
        u8) echo pcm_u8 ;;
        f32) echo pcm_f32le ;;
        *) echo "pcm_${1}le" ;;
    esac
}

bits_of() { case $1 in u8) echo 8 ;; f32) echo 32 ;; *) echo "${1#s}" ;; esac; }

# Appends a manifest line for a made file; the oracle fields come from sndfile-info.
note_file() {  # dir wav raw channels rate bits float playable
    local dir=$1 wav=$2 raw=$3 info tag frames rf64=0 bext=0
    info=$(sndfile-info "$dir/$wav")
    tag=$(grep -m1 -oE 'Format +: 0x[0-9A-Fa-f]+ =>' <<<"$info" | grep -oE '0x[0-9A-Fa-f]+')
    frames=$(grep -m1 -E '^Frames +:' <<<"$info" | awk -F: '{gsub(/ /,"",$2); print $2}')
    grep -qx 'RF64' <<<"$info" && rf64=1
    grep -qE '^bext +:' <<<"$info" && bext=1
    echo "$wav $raw $((tag)) $4 $5 $6 $frames $7 $8 $rf64 $bext" >>"$dir/manifest.txt"
}

make_wave_tool_files() {
    local dir=$1 missing enc ch frames=51 seed=1 raw wav rate
    if missing=$(wave_tools_missing); then
        echo "skipped: $missing is not installed (tools/setup installs it)"
        return 77
    fi
    : >"$dir/manifest.txt"

    # sox: every sample type, 1 to 8 channels (extensible from 3 channels or 24 bits on).
    for enc in u8 s16 s24 s32 f32; do
        for ch in 1 2 3 6 8; do
            raw=sox_${enc}_$ch.raw wav=sox_${enc}_$ch.wav rate=$((8000 + ch))
            write_raw "$enc" "$ch" "$frames" $((seed++)) "$dir/$raw"
            # shellcheck disable=SC2046
            sox -D -t raw $(sox_raw_args "$enc") -c "$ch" -r "$rate" "$dir/$raw" "$dir/$wav"
            note_file "$dir" "$wav" "$raw" "$ch" "$rate" "$(bits_of "$enc")" \
                "$([ "$enc" = f32 ] && echo 1 || echo 0)" 1
        done
    done
    # A signal sox synthesises, compared with sox's own decoding of the file.
    sox -D -n -r 8000 -e signed -b 16 -c 2 "$dir/sox_synth.wav" synth 0.05 sine 440 sine 1000 gain -1
    sox "$dir/sox_synth.wav" -t raw "$dir/sox_synth.raw"
    note_file "$dir" sox_synth.wav sox_synth.raw 2 8000 16 0 1

    # ffmpeg: plain and RF64, with LIST/INFO metadata and a bext chunk.
    local variant
    for enc in u8 s16 s24 s32 f32; do
        for ch in 1 2 6 8; do
            for variant in plain rf64; do
                raw=ff_${enc}_${ch}_$variant.raw wav=ff_${enc}_${ch}_$variant.wav rate=48000
                write_raw "$enc" "$ch" "$frames" $((seed++)) "$dir/$raw"
                local extra=(-rf64 never)
                [ $variant = rf64 ] && extra=(-rf64 always)
                # The raw demuxer is named like the codec without "pcm_".
                ffmpeg -nostdin -v error -y -f "$(ffmpeg_codec "$enc" | sed 's/^pcm_//')" \
                    -ar $rate -ac "$ch" -i "$dir/$raw" -c:a "$(ffmpeg_codec "$enc")" \
                    "${extra[@]}" "$dir/$wav"
                note_file "$dir" "$wav" "$raw" "$ch" $rate "$(bits_of "$enc")" \
                    "$([ "$enc" = f32 ] && echo 1 || echo 0)" 1
            done
        done
    done
    write_raw s16 2 "$frames" $((seed++)) "$dir/ff_bwf.raw"
    ffmpeg -nostdin -v error -y -f s16le -ar 44100 -ac 2 -i "$dir/ff_bwf.raw" -c:a pcm_s16le \
        -write_bext 1 -metadata description="Reader test" -metadata originator=Quorvale \
        -metadata title="Tool file" -metadata artist=Tester -metadata comment="INFO list" \
        "$dir/ff_bwf.wav"
    note_file "$dir" ff_bwf.wav ff_bwf.raw 2 44100 16 0 1
    write_raw s24 2 "$frames" $((seed++)) "$dir/ff_bwf_rf64.raw"
    ffmpeg -nostdin -v error -y -f s24le -ar 96000 -ac 2 -i "$dir/ff_bwf_rf64.raw" \
        -c:a pcm_s24le -rf64 always -write_bext 1 -metadata title="RF64 with bext" \
        "$dir/ff_bwf_rf64.wav"
    note_file "$dir" ff_bwf_rf64.wav ff_bwf_rf64.raw 2 96000 24 0 1
    # "-rf64 auto" keeps a JUNK chunk where a ds64 chunk would go.
    write_raw s32 2 "$frames" $((seed++)) "$dir/ff_junk.raw"
    ffmpeg -nostdin -v error -y -f s32le -ar 44100 -ac 2 -i "$dir/ff_junk.raw" -c:a pcm_s32le \
        -rf64 auto "$dir/ff_junk.wav"
    note_file "$dir" ff_junk.wav ff_junk.raw 2 44100 32 0 1

    # libsndfile: sox's files rewritten, as WAV and RF64 (float files get a PEAK chunk).
    local opt ext
    for enc in u8 s16 s24 s32 f32; do
        case $enc in u8) opt=-pcmu8 ;; s16) opt=-pcm16 ;; s24) opt=-pcm24 ;; s32) opt=-pcm32 ;;
            f32) opt=-float32 ;; esac
        for ch in 1 2 8; do
            for ext in wav rf64; do
                wav=sf_${enc}_$ch.$ext
                sndfile-convert "$opt" "$dir/sox_${enc}_$ch.wav" "$dir/$wav" >/dev/null
                note_file "$dir" "$wav" "sox_${enc}_$ch.raw" "$ch" $((8000 + ch)) \
                    "$(bits_of "$enc")" "$([ "$enc" = f32 ] && echo 1 || echo 0)" 1
            done
        done
    done
    # Sample types the reader does not take: read, but not playable.
    for opt in -ulaw -alaw -ima-adpcm -ms-adpcm -float64; do
        wav=sf_unplayable${opt}.wav
        sndfile-convert "$opt" "$dir/sox_s16_2.wav" "$dir/$wav" >/dev/null
        note_file "$dir" "$wav" - 2 8002 0 0 0
    done
    return 0
}
