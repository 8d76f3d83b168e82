#!/bin/bash
# The release package's files (tools/release --stage): the three binaries, stripped, import only
# DLLs Windows has (the stager refuses others), README.txt carries the version, the help has
# every page of docs/help; in a Wine prefix
# made afresh that holds nothing but these files, qvrender.exe renders what the native renderer
# renders.
set -euo pipefail
: "${QV_BUILD_DIR:?the Windows build folder}" "${QV_NATIVE_QVRENDER:?the native qvrender}"
work=$(mktemp -d)
clean="$work/clean"
trap 'QV_BUILD_DIR=$clean "$QV_SOURCE_DIR/tools/wine-stop" >/dev/null 2>&1; rm -rf "$work"' EXIT
pkg="$work/pkg"
"$QV_SOURCE_DIR/tools/release" --stage "$pkg" "$QV_BUILD_DIR"
[ "$(ls "$pkg")" = "$(printf '%s\n' KT54DLL.DLL QV.chm QV.exe README.txt qvrender.exe)" ] ||
    { echo "FAIL the package holds: $(ls "$pkg" | tr '\n' ' ')"; exit 1; }
grep -q "^Quorvale [0-9.]* - " "$pkg/README.txt" || { echo "FAIL README.txt has no version"; exit 1; }
# The help holds every page of its sources.
pages=$(chmls list "$pkg/QV.chm" 2>/dev/null | grep -c '/\(en\|ja\)/[a-z_]*\.htm$')
sources=$(ls "$QV_SOURCE_DIR"/docs/help/*/*.htm | wc -l)
[ "$pages" -eq "$sources" ] || { echo "FAIL QV.chm holds $pages of the $sources pages"; exit 1; }
set=(--set File.Length=0.5 --set Misc.SamplingFreq=48000 --set Misc.BitLen=24)
QV_BUILD_DIR=$clean "$QV_SOURCE_DIR/tools/wine-run" "$pkg/qvrender.exe" "Z:$work/a.wav" \
    "${set[@]}" </dev/null >/dev/null
"$QV_NATIVE_QVRENDER" "$work/b.wav" "${set[@]}" >/dev/null
cmp "$work/a.wav" "$work/b.wav" || { echo "FAIL the packaged renderer differs"; exit 1; }
echo "the package's renderer renders in a fresh prefix: $(du -k "$pkg" | cut -f1) kB unpacked"
