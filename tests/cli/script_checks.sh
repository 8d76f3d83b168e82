# Shared by the renderer's script tests (sourced): a scratch folder removed on exit, and
# check, which compares an actual text with the expected one and records a failure.
: "${QVRENDER:?path of qvrender}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # description, actual, expected
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: got '$2', expected '$3'"
        fail=1
    fi
}
