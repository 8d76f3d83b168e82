# Shared by the Windows script tests that register ASIO drivers in their build's Wine prefix
# (sourced; needs QV_WINE_RUN and QV_BUILD_DIR, as ctest gives them). Such a test has the header
# line "# Registers ASIO drivers.", so that no two of them change the prefix's registry at once.
#
#   asio_register NAME CLSID DLLPATH [DESCRIPTION]
#       queues a driver: HKLM\Software\ASIO\NAME with the string values CLSID and Description
#       (when given), and HKCR\CLSID\{CLSID}\InprocServer32 naming DLLPATH (a Unix path, turned
#       into its Z:\ form, or a Windows path; the file need not exist), ThreadingModel Apartment.
#       CLSID with or without braces.
#   asio_apply
#       imports everything queued since the last asio_apply, in one Wine process (each start
#       costs about a third of a second, more with a cold server: queue several, apply once).
#   asio_unregister_all
#       deletes HKLM\Software\ASIO and every class key asio_apply has written into this prefix
#       (also those of earlier tests that ended early), and drops the queue.
#   asio_winpath PATH
#       prints the Windows form of a Unix path (Z:\...), e.g. for QV_ASIO_TEST_LOG and
#       QV_ASIO_TEST_RECORD, which the driver opens as Windows paths.
#
# Example:
#   source "$QV_SOURCE_DIR/tests/support/asio_drivers.sh"
#   trap 'asio_unregister_all; rm -rf "$work"' EXIT
#   asio_register "QV Test" 5A1C5B0E-3D52-4C39-9A5E-0D7F2C1B6A01 "$QV_ASIO_TEST_DRIVER" "Test"
#   asio_register "Missing" 5A1C5B0E-3D52-4C39-9A5E-0D7F2C1B6A02 "$work/none.dll"
#   asio_apply
#   QV_ASIO_TEST_LOG=$(asio_winpath "$work/driver.log") "$QV_WINE_RUN" "$QV_EXE" ...

# The .reg text queued by asio_register, and the class ids in it.
_asio_queue=()
_asio_queued_clsids=()

# The class keys written into the prefix, one id a line; kept beside the prefix rather than in
# the shell, so that a test that died before cleaning up is cleaned up after by the next one.
_asio_clsid_list() { echo "${QV_BUILD_DIR:?build folder}/asio_clsids.list"; }

asio_winpath() {
    local p
    p=$(realpath -m -- "$1") || return
    printf 'Z:%s\n' "${p//\//\\}"
}

# A string as a REGEDIT4 value: quoted, with backslashes and quotes escaped.
_asio_reg_string() {
    local s=${1//\\/\\\\}
    printf '"%s"' "${s//\"/\\\"}"
}

asio_register() {
    if [ $# -lt 3 ] || [ $# -gt 4 ]; then
        echo "usage: asio_register NAME CLSID DLLPATH [DESCRIPTION]" >&2
        return 2
    fi
    local name=$1 clsid=${2#\{} path=$3
    clsid=${clsid%\}}
    if [[ ! $clsid =~ ^[0-9A-Fa-f]{8}-([0-9A-Fa-f]{4}-){3}[0-9A-Fa-f]{12}$ ]]; then
        echo "asio_register: not a class id: $2" >&2
        return 2
    fi
    if [ -z "$name" ] || [[ $name == *[\\\[\]]* ]]; then
        echo "asio_register: not usable as a key name: $name" >&2
        return 2
    fi
    if [ -z "$path" ]; then
        echo "asio_register: no server path for $name" >&2
        return 2
    fi
    clsid="{$clsid}"
    [[ $path =~ ^[A-Za-z]:[\\/] ]] || path=$(asio_winpath "$path") || return
    _asio_queue+=("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO\\$name]"
        "\"CLSID\"=$(_asio_reg_string "$clsid")")
    [ $# -lt 4 ] || _asio_queue+=("\"Description\"=$(_asio_reg_string "$4")")
    # HKCR\CLSID is read from HKLM\Software\Classes\CLSID; written there, the key cannot end up
    # among the user's classes (HKCU) that HKCR also shows.
    _asio_queue+=("" "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\$clsid\\InprocServer32]"
        "@=$(_asio_reg_string "$path")" "\"ThreadingModel\"=\"Apartment\"" "")
    _asio_queued_clsids+=("$clsid")
}

# Imports .reg lines given as arguments with one reg.exe (which, unlike regedit, fails with a
# non-zero status when the import fails). Both write the 64-bit view in a 64-bit prefix.
_asio_import() {
    local file rc=0
    file=$(mktemp /tmp/asio_drivers.XXXXXX)
    printf '%s\n' REGEDIT4 "" "$@" >"$file"
    "${QV_WINE_RUN:?wine wrapper}" reg import "$(asio_winpath "$file")" </dev/null >&2 || rc=$?
    rm -f "$file"
    [ $rc -eq 0 ] || echo "asio_drivers: importing into the registry failed ($rc)" >&2
    return $rc
}

asio_apply() {
    [ ${#_asio_queue[@]} -gt 0 ] || return 0
    local list
    list=$(_asio_clsid_list)
    # Listed before the import, so that an import that fails half-way is cleaned up too.
    printf '%s\n' "${_asio_queued_clsids[@]}" >>"$list"
    _asio_import "${_asio_queue[@]}" || return
    _asio_queue=()
    _asio_queued_clsids=()
}

asio_unregister_all() {
    local list clsid lines=("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\ASIO]" "")
    list=$(_asio_clsid_list)
    if [ -f "$list" ]; then
        while read -r clsid; do
            [ -n "$clsid" ] && lines+=("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\$clsid]" "")
        done < <(sort -u "$list")
    fi
    _asio_queue=()
    _asio_queued_clsids=()
    _asio_import "${lines[@]}" || return
    rm -f "$list"
}
