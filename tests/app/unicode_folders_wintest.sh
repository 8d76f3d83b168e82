#!/bin/bash
# Names beyond ASCII under both code pages (C.UTF-8 gives 1252, ja_JP.UTF-8 932): the folder,
# hand-over and Shift-JIS INI tests of qv_tests.exe once more under 932, and qvrender.exe taking
# a parameter file, a user wave and its output in such a folder from its command line, byte for
# byte as the native renderer does.
set -euo pipefail
: "${QVRENDER_EXE:?}" "${QV_NATIVE_QVRENDER:?}" "${QV_WINE_RUN:?}" "${QV_BUILD_DIR:?}"
# Wine takes 932 from LC_ALL=ja_JP.UTF-8, but names Unix files in UTF-8 only when glibc knows
# that locale too: compiled into the build folder once when the system has none.
locales="$QV_BUILD_DIR/locale"
mkdir -p "$locales"
[ -d "$locales/ja_JP.UTF-8" ] || localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dir="$work/測定 データ é"
mkdir "$dir"
printf '[Wave1]\r\nWaveform=user wave\r\n' >"$dir/set.QV"
"$QV_NATIVE_QVRENDER" "$dir/src.wav" --set File.Length=0.3 --set Wave1.Waveform=square >/dev/null
"$QV_NATIVE_QVRENDER" "$dir/set.QV" "$dir/native.wav" --set "Wave1.UserWave=$dir/src.wav" \
    --set File.Length=0.2 >/dev/null
LOCPATH=$locales LC_ALL=ja_JP.UTF-8 QV_EXPECT_ACP=932 "$QV_WINE_RUN" \
    "$QV_BUILD_DIR/tests/qv_tests.exe" --gtest_filter='FilePaths*:UnicodeFolders*:*ShiftJis*:ParamFileOnDisk*' \
    </dev/null >"$work/932.log" 2>&1 && grep -q 'PASSED.* 7 tests' "$work/932.log" ||
    { cat "$work/932.log"; exit 1; }
for locale in C.UTF-8 ja_JP.UTF-8; do
    LOCPATH=$locales LC_ALL=$locale "$QV_WINE_RUN" "$QVRENDER_EXE" "Z:$dir/set.QV" \
        "Z:$dir/$locale.wav" --set "Wave1.UserWave=Z:$dir/src.wav" --set File.Length=0.2 </dev/null >/dev/null
    cmp "$dir/native.wav" "$dir/$locale.wav"
done
