#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail
pkgs=(g++ cmake ninja-build ccache pkg-config
      qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      fonts-ipafont-mincho fonts-ipafont-gothic fontconfig
      qpdf poppler-utils poppler-data mupdf-tools python3
      libreoffice-draw libwmf-bin fonts-urw-base35
      xvfb xauth xdotool imagemagick clang-format
      dpkg-dev file mmdebstrap lintian desktop-file-utils appstream man-db locales)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so the number formatting test can show that
# the process locale does not leak into the documents.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi

# Readable diffs of the cp932 files (see .gitattributes); only inside a checkout.
root=$(cd "$(dirname "$0")/.." && pwd)
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  git -C "$root" config diff.cp932.textconv "iconv -f CP932 -t UTF-8" || true
fi
