# The start of every script that drives QV.exe on the virtual desktop (sourced): the programs
# under test, Wine and the virtual display, xdotool, the window helpers and an empty folder
# $work that goes, with any QV.exe left running, when the script ends. Skips (77) where the
# display or xdotool is missing.
: "${QV_EXE:?path of QV.exe}" "${QV_KT54DLL:?path of KT54DLL.DLL}"
export QV_NEED_X=1
source "$QV_SOURCE_DIR/tools/wine-env"
source "$QV_SOURCE_DIR/tests/support/gui_checks.sh"
qv_start_xvfb || exit 77
command -v xdotool >/dev/null || exit 77
# A program left over by an earlier script would take this one's start as a second start.
wine taskkill /F /IM QV.exe >/dev/null 2>&1
wine taskkill /F /IM QVT.exe >/dev/null 2>&1
work=$(mktemp -d)
trap 'wine taskkill /IM QV.exe >/dev/null 2>&1; wine taskkill /IM QVT.exe >/dev/null 2>&1; rm -rf "$work"' EXIT
