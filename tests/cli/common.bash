# Shared by the command-line test scripts: sourced, never run by itself.
# Sets calc (absolute path of the tool), data and work (a temporary folder
# removed on exit), and the helpers below.
set -e
calc=$(realpath "$1")
data=$2
work=$(mktemp -d)
failures=0
# Every failure is reported and the script goes on, so one run shows them all;
# it then ends with status 1.
finish() {
    local status=$?
    rm -rf "$work"
    if [ "$failures" -gt 0 ]; then
        echo "$failures failure(s)" >&2
        exit 1
    fi
    exit "$status"
}
trap finish EXIT

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Runs the tool, keeping stdout, stderr and the status; never stops the script.
run() {
    set +e
    "$calc" "$@" >"$work/out" 2>"$work/err"
    status=$?
    set -e
}
expect_status() {
    [ "$status" -eq "$1" ] || fail "$2: status $status, expected $1 (stderr: $(cat "$work/err"))"
}
