# Shared by the command-line test scripts: sourced, never run by itself.
# Sets calc (absolute path of the tool), data and work (a temporary folder
# removed on exit), and the helpers below.
set -e
calc=$(realpath "$1")
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

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
