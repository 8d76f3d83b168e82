#!/bin/bash
# KT54DLL.DLL exports exactly the seven decorated names, and needs no runtime DLL of the compiler.
set -euo pipefail
dll="${QV_BUILD_DIR:?}/src/fftlib/KT54DLL.DLL"
dump=$(x86_64-w64-mingw32-objdump -p "$dll")
names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -o '_[A-Za-z_]*@[0-9]*' | sort)
expected=$(printf '%s\n' _Create_FFT@16 _Release_FFT@4 _FFT_CreateKaiserWindow@16 _FFT_WeightWindow@12 \
    _FFT_PostProcess@16 _FFT_fft@12 _DLL_PrepareCoordinatesSub@28 | sort)
if [ "$names" != "$expected" ]; then
    echo "FAIL: exports are"; echo "$names"; exit 1
fi
imports=$(grep 'DLL Name' <<<"$dump" | awk '{print $3}' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
case "$imports" in
    *libstdc++*|*libgcc*|*libwinpthread*) echo "FAIL: runtime DLLs imported: $imports"; exit 1 ;;
esac
echo "exports: $(tr '\n' ' ' <<<"$names"); imports: $imports"
