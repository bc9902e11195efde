#!/bin/bash
# The packages installed into clean Debian systems, as a user or a container
# engine would install them:
#  1. builds the packages from the build tree (scripts/package.sh -B);
#  2. checks the desktop entry, the metainfo, the manual pages and the
#     packages (desktop-file-validate, appstreamcli, man, lintian);
#  3. in a minimal Debian root (what debian:bookworm-slim holds, made by
#     mmdebstrap from this machine's Debian sources) carries out the
#     Containerfile's RUN, then runs sorvanta-calc sample, run --pdf and
#     batch as the image's user and compares every output with the build's;
#  4. in such a root with the desktop package's dependencies, installs the
#     tool's package and then the desktop package over it, checks that every
#     library resolves, and starts sorvanta under Xvfb until its main window
#     and design window are shown.
# The roots are cached outside the work tree, keyed by what goes into them
# (SORVANTA_TEST_ROOT_CACHE, default /var/cache/sorvanta-test-root); each run
# works on copies. Needs root (chroot, mounts): skipped otherwise.
#
# Usage: package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
calc="$build_dir/bin/sorvanta-calc"
started=$SECONDS

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
step() { echo "== $* ($((SECONDS - started)) s)"; }

[ "$(id -u)" = 0 ] || skip "installing into a Debian root needs root (chroot and mounts); run as root, as CI does"
unshare --mount --propagation private true 2>/dev/null ||
  skip "no mount namespaces here (needs CAP_SYS_ADMIN): the roots cannot get /proc and /dev"
for tool in mmdebstrap lintian desktop-file-validate appstreamcli man lexgrog dpkg-deb flock; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

cache=${SORVANTA_TEST_ROOT_CACHE:-/var/cache/sorvanta-test-root}
mkdir -p "$cache"
# One run at a time on this machine: the cache is shared by every checkout.
exec 9>"$cache/lock"
if ! flock -n 9; then
  echo "waiting for another package test to finish"
  flock 9
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/sorvanta-package.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  # The mounts live in namespaces that ended with their commands, so the
  # roots are plain folders again.
  rm -rf "$work"
}
trap cleanup EXIT

# in_root ROOT [CHROOT_OPTION...] COMMAND...: runs COMMAND inside ROOT with
# its own environment and /proc, /dev and /sys mounted in a mount namespace of
# its own (they go when the command ends, leaving the root a plain folder).
root_command() {
  local root=$1 options=()
  shift
  while [[ $1 == --* ]]; do options+=("$1"); shift; done
  cmd=(unshare --mount --propagation private -- /bin/sh -c '
    root=$1; shift
    mount -t proc proc "$root/proc" && mount --rbind /dev "$root/dev" &&
      mount --rbind /sys "$root/sys" || exit 125
    exec chroot "$@"' sh "$root" "${options[@]}" "$root" /usr/bin/env -i
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@")
}
in_root() {
  root_command "$@"
  "${cmd[@]}"
}
# The same in the background: every step execs the next, so $! is the pid of
# the command itself. It does not hold the lock.
in_root_bg() {
  root_command "$@"
  "${cmd[@]}" 9>&- &
}

# --- 1. The packages ---------------------------------------------------------
step "packaging $build_dir"
"$source_dir/scripts/package.sh" -B "$build_dir" "$work/dist" >"$work/package.log" ||
  fail "scripts/package.sh: $(cat "$work/package.log")"
version=$(sed -n 's/^project(Sorvanta VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
arch=$(dpkg --print-architecture)
calc_deb="$work/dist/sorvanta-calc_${version}_${arch}.deb"
desktop_deb="$work/dist/sorvanta_${version}_${arch}.deb"
[ -f "$calc_deb" ] || fail "no $(basename "$calc_deb") among: $(ls "$work/dist")"
gui=0
[ -f "$desktop_deb" ] && gui=1
[ -x "$build_dir/bin/sorvanta" ] && [ $gui = 0 ] && fail "the GUI is built but $(basename "$desktop_deb") is missing"
dpkg-deb -f "$calc_deb" Depends | grep -qi qt && fail "sorvanta-calc depends on Qt: $(dpkg-deb -f "$calc_deb" Depends)"
echo "$(basename "$calc_deb"): Depends: $(dpkg-deb -f "$calc_deb" Depends)"

# --- 2. Static checks ----------------------------------------------------------
step "desktop entry, metainfo, manual pages"
mkdir "$work/calc-files"
dpkg-deb -x "$calc_deb" "$work/calc-files"
man_checks() {  # man_checks ROOT PAGE COMMAND... : the page and what it must mention
  local page="$1/usr/share/man/man1/$2.1.gz"
  shift 2
  [ -f "$page" ] || fail "no manual page $page"
  lexgrog "$page" >/dev/null || fail "lexgrog finds no NAME line in $page"
  MANWIDTH=80 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.err"
  [ -s "$work/man.err" ] && fail "man --warnings $page: $(cat "$work/man.err")"
  # Every option the help texts name is in the page (they are made from them).
  local help option
  for help in "$@"; do
    for option in $(eval "$help" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      grep -q -- "$option" "$work/man.txt" || fail "$page lacks $option of '$help'"
    done
  done
}
helps=("$calc --help")
for command in $("$calc" --help | sed -n '/^コマンド:/,/^$/p' | awk 'NR > 1 && NF {print $1}'); do
  helps+=("$calc $command --help")
  grep -q "sorvanta-calc $command" <(MANWIDTH=80 man -l "$work/calc-files/usr/share/man/man1/sorvanta-calc.1.gz" 2>/dev/null) ||
    fail "the manual page has no section for the command $command"
done
man_checks "$work/calc-files" sorvanta-calc "${helps[@]}"
if [ $gui = 1 ]; then
  mkdir "$work/desktop-files"
  dpkg-deb -x "$desktop_deb" "$work/desktop-files"
  entry="$work/desktop-files/usr/share/applications/sorvanta.desktop"
  desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
  grep -qx 'Name\[ja\]=円弧すべり検討システム' "$entry" || fail "the desktop entry's Name[ja]"
  grep -qx 'Categories=Science;Engineering;' "$entry" || fail "the desktop entry's categories"
  # The ID is the program's name: there is no domain of the project's own to
  # make a reverse-domain ID from, and a made-up one would be worse.
  appstreamcli validate --no-net --explain --override=cid-desktopapp-is-not-rdns=info \
    "$work/desktop-files/usr/share/metainfo/sorvanta.metainfo.xml" || fail "appstreamcli validate"
  for size in 16 22 24 32 48 64 128 256; do
    file "$work/desktop-files/usr/share/icons/hicolor/${size}x${size}/apps/sorvanta.png" |
      grep -q "PNG image data, $size x $size" || fail "no ${size}x${size} icon"
  done
  [ -f "$work/desktop-files/usr/share/icons/hicolor/scalable/apps/sorvanta.svg" ] || fail "no SVG icon"
  man_checks "$work/desktop-files" sorvanta "$build_dir/bin/sorvanta --help"
  man_checks "$work/desktop-files" sorvanta-calc "${helps[@]}"
fi

step "lintian"
# lintian fails on any error or warning. Its remarks (I:) are shown, not
# failed: hardening-no-fortify-functions and hardening-no-bindnow because
# the test packages the ordinary build (scripts/package.sh alone builds with
# dpkg-buildflags), binary-has-unneeded-section .comment (the compiler's
# version note), spelling-error-in-binary (a string of the C++ library).
debs=("$calc_deb")
[ $gui = 1 ] && debs+=("$desktop_deb")
lintian --fail-on error,warning --display-info --tag-display-limit 0 "${debs[@]}" >"$work/lintian.txt" 2>&1 ||
  { cat "$work/lintian.txt"; fail "lintian"; }
grep -v "running with root privileges" "$work/lintian.txt" || true

# --- 3. The roots --------------------------------------------------------------
# The Debian sources of this machine, the ones scripts/deps.sh installs from.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$file" ] && grep -Eq '^[^#]*(deb|URIs:).*/debian' "$file" && sources+=("$file")
done
[ ${#sources[@]} -gt 0 ] || fail "no Debian sources in /etc/apt"
aptopts=()
eval "$(apt-config shell http_proxy Acquire::http::Proxy)"
[ -n "${http_proxy:-}" ] && aptopts+=(--aptopt="Acquire::http::Proxy \"$http_proxy\"")

# Prepares a copied root for apt: this machine's name servers and proxy.
apt_ready() {
  cp -L /etc/resolv.conf "$1/etc/resolv.conf"
  [ -n "${http_proxy:-}" ] && echo "Acquire::http::Proxy \"$http_proxy\";" >"$1/etc/apt/apt.conf.d/00proxy"
  true
}
# cached NAME KEY: the path of the cached root NAME-KEY, or nothing; older
# roots of that name are removed.
cached() {
  local dir
  for dir in "$cache/$1"-*; do
    [ -d "$dir" ] || continue
    if [ "$dir" = "$cache/$1-$2" ]; then echo "$dir"; else rm -rf "$dir"; fi
  done
}

# The base: the minimal system of debian:bookworm-slim (required packages and apt).
base_key=$( { echo "base 1 $codename $arch"; cat "${sources[@]}"; } | sha256sum | cut -c1-16)
base=$(cached base "$base_key")
if [ -z "$base" ]; then
  step "making the base root (mmdebstrap --variant=minbase $codename)"
  rm -rf "$cache/base-$base_key.new"
  mmdebstrap --quiet --mode=root --variant=minbase --format=directory "${aptopts[@]}" \
    "$codename" "$cache/base-$base_key.new" "${sources[@]}" >"$work/mmdebstrap.log" 2>&1 ||
    { cat "$work/mmdebstrap.log"; fail "mmdebstrap"; }
  mv "$cache/base-$base_key.new" "$cache/base-$base_key"
  base="$cache/base-$base_key"
fi

# --- 3a. The container image's recipe, carried out in a copy of the base -----
step "the Containerfile's RUN in a copy of the base root"
containerfile="$source_dir/Containerfile"
root="$work/image"
cp -a "$base" "$root"
apt_ready "$root"
grep -q "^COPY dist/sorvanta-calc_\${VERSION}_\*.deb /tmp/" "$containerfile" ||
  fail "the Containerfile no longer copies the tool's package as this test does"
cp "$calc_deb" "$root/tmp/"
run=$(awk '/^RUN /{on=1; sub(/^RUN /, "")} on{ if (sub(/\\$/, "")) printf "%s", $0; else {print; on=0} }' "$containerfile")
[ -n "$run" ] || fail "no RUN in the Containerfile"
in_root "$root" /bin/sh -ec "$run" >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "the Containerfile's RUN"; }
in_root "$root" dpkg-query -W -f '${Package}\n' | grep -i qt && fail "Qt was installed with sorvanta-calc"
user=$(sed -n 's/^USER //p' "$containerfile")
workdir=$(sed -n 's/^WORKDIR //p' "$containerfile")
entrypoint=$(sed -n 's/^ENTRYPOINT \["\([^"]*\)"\]$/\1/p' "$containerfile")
[ -n "$user" ] && [ "${user%%:*}" != 0 ] && [ "${user%%:*}" != root ] || fail "the image runs as root"
[ -n "$workdir" ] && [ "$entrypoint" = sorvanta-calc ] || fail "WORKDIR or ENTRYPOINT of the Containerfile"

# The same commands in the image (as its user, in its folder) and with the
# build's own tool; every output must be the same bytes.
export SOURCE_DATE_EPOCH=1709212455
designs=$(cd "$source_dir/verification" && find . -name '*.dat' | sort)
in_image() {
  in_root "$root" --userspec="$user" env HOME=/tmp SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH \
    /bin/sh -c 'cd "$0" && exec "$@"' "$workdir" "$entrypoint" "$@"
}
on_host() {
  (cd "$work/host" && "$calc" "$@")
}
mkdir -p "$work/host"
for dir in "$root$workdir" "$work/host"; do
  mkdir -p "$dir/designs"
  # shellcheck disable=SC2086
  (cd "$source_dir/verification" && cp --parents $designs "$dir/designs/")
done
chown -R "$user" "$root$workdir/designs"
step "sorvanta-calc in the image's root"
commands=("--version"
          "sample sample.dat"
          "run sample.dat --pdf run.pdf --text run.txt --json run.json"
          "batch designs --out out --text --json --pdf --summary summary.csv --jobs 2 --quiet")
for command in "${commands[@]}"; do
  # shellcheck disable=SC2086
  set +e
  in_image $command >"$work/image.out" 2>"$work/image.err"
  image_status=$?
  on_host $command >"$work/host.out" 2>"$work/host.err"
  host_status=$?
  set -e
  [ $image_status = $host_status ] ||
    fail "sorvanta-calc $command: status $image_status in the root, $host_status here ($(cat "$work/image.err"))"
  cmp -s "$work/image.out" "$work/host.out" || fail "sorvanta-calc $command: other output in the root: $(diff "$work/image.out" "$work/host.out")"
  echo "sorvanta-calc $command: status $image_status, $(wc -l <"$work/image.out") lines, as here"
done
# The summary's last column is the seconds a design took.
for dir in "$root$workdir" "$work/host"; do
  sed 's/,[^,]*\r$//' "$dir/summary.csv" >"$dir/summary.rows"
  rm "$dir/summary.csv"
done
[ -s "$work/host/run.pdf" ] && [ "$(ls "$work/host/out" | wc -l)" -gt 0 ] || fail "the commands wrote nothing"
diff -r "$root$workdir" "$work/host" || fail "the outputs in the root differ from the build's"
echo "$(find "$work/host" -type f | wc -l) files the same in the root and here"
rm -rf "$root"

[ $gui = 1 ] || { echo "no desktop package (built without the GUI): done in $((SECONDS - started)) s"; exit 0; }

# --- 4. The desktop program in a root with its dependencies ------------------
# The base with what apt installs for the desktop package, and the X server
# and xdotool the test needs. The package itself is removed again, so that
# each run installs it anew; its dependencies are the key.
extras="xvfb xauth xdotool"
depends=$(dpkg-deb -f "$desktop_deb" Depends)
desktop_key=$(echo "$base_key $depends $extras desktop 1" | sha256sum | cut -c1-16)
desktop=$(cached desktop "$desktop_key")
if [ -z "$desktop" ]; then
  step "making the desktop root (the base with the desktop package's dependencies)"
  new="$cache/desktop-$desktop_key.new"
  rm -rf "$new"
  cp -a "$base" "$new"
  apt_ready "$new"
  cp "$desktop_deb" "$new/tmp/"
  # shellcheck disable=SC2086
  in_root "$new" /bin/sh -ec "apt-get update -qq && apt-get install -y -qq --no-install-recommends /tmp/$(basename "$desktop_deb") $extras &&
    dpkg --purge sorvanta && apt-get clean && rm -rf /var/lib/apt/lists/* /tmp/*.deb" >"$work/desktop-root.log" 2>&1 ||
    { cat "$work/desktop-root.log"; fail "installing the desktop package's dependencies"; }
  mv "$new" "$cache/desktop-$desktop_key"
  desktop="$cache/desktop-$desktop_key"
fi

step "installing sorvanta-calc, then sorvanta over it"
root="$work/desktop"
cp -a "$desktop" "$root"
cp "$calc_deb" "$desktop_deb" "$root/tmp/"
for deb in "$calc_deb" "$desktop_deb"; do
  in_root "$root" apt-get install -y --no-install-recommends "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "apt-get install $(basename "$deb")"; }
done
in_root "$root" dpkg-query -W -f '${Package} ${Status}\n' sorvanta sorvanta-calc 2>/dev/null |
  grep -q "^sorvanta install ok installed" || fail "sorvanta is not installed"
in_root "$root" dpkg-query -W -f '${Status}\n' sorvanta-calc 2>/dev/null | grep -q "install ok installed" &&
  fail "sorvanta-calc stayed installed beside sorvanta"
for program in sorvanta sorvanta-calc; do
  in_root "$root" ldd "/usr/bin/$program" >"$work/ldd.txt" || fail "ldd $program"
  grep "not found" "$work/ldd.txt" && fail "libraries of $program missing in the root"
  [ "$(in_root "$root" "$program" --version)" = "$("$build_dir/bin/$program" --version)" ] ||
    fail "$program --version differs in the root"
done
echo "every library of sorvanta and sorvanta-calc resolves in the root"

step "sorvanta under Xvfb in the root"
in_root "$root" useradd --create-home engineer
exec 3>"$work/display"
in_root_bg "$root" Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.2; done
display=:$(head -n 1 "$work/display")
[ "$display" != : ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
in_root_bg "$root" --userspec=engineer env HOME=/home/engineer DISPLAY="$display" sorvanta \
  >"$work/sorvanta.log" 2>&1
pids+=($!)
# xdotool's --name does not match Japanese titles: every shown window's
# title is compared instead.
shown() {
  local id
  for id in $(chroot "$root" env DISPLAY="$display" xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(chroot "$root" env DISPLAY="$display" xdotool getwindowname "$id")" = "$1" ] && return 0
  done
  return 1
}
for title in "円弧すべり検討システム （Sorvanta） Ver3.5" "設計条件入力"; do
  for ((i = 0; i < 240; i++)); do
    shown "$title" && break
    kill -0 "${pids[1]}" 2>/dev/null || { cat "$work/sorvanta.log"; fail "sorvanta ended"; }
    sleep 0.5
  done
  ((i < 240)) || { cat "$work/sorvanta.log"; fail "no window \"$title\" within 120 s"; }
  echo "window \"$title\" shown"
done
# A picture for whoever looks into a failure or the window.
if command -v import >/dev/null; then
  sleep 2
  DISPLAY=$display import -window root "$build_dir/package-test-sorvanta.png" 2>/dev/null &&
    echo "screen: $build_dir/package-test-sorvanta.png"
fi
kill "${pids[@]}"
wait "${pids[@]}" 2>/dev/null || true
pids=()
echo "done in $((SECONDS - started)) s"
