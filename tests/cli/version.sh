#!/bin/bash
# sorvanta-calc --version: the project's version and the commit of the build.
# Usage: version.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(Sorvanta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

run --version
expect_status 0 "--version"
line=$(cat "$work/out")
[[ $line =~ ^sorvanta-calc\ ${version//./\\.}\ \(commit\ ([0-9a-f]{12}(-dirty)?|unknown)\)$ ]] ||
    fail "--version: '$line'"
# In a checkout the build names the commit it was built from.
if commit=$(git -c safe.directory='*' -C "$root" rev-parse --short=12 HEAD 2>/dev/null); then
    [[ $line == *"(commit $commit"* ]] || fail "--version names another commit than $commit: '$line'"
fi
run --help
grep -q -- "--version" "$work/out" || fail "--help does not name --version"
