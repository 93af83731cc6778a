#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Sorvanti needs.
# Does nothing when they are all present. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-ipafont-gothic
  xvfb xauth x11-utils imagemagick xdotool xclip libx11-dev
  poppler-utils unrtf
  xdg-utils desktop-file-utils shared-mime-info libfile-mimeinfo-perl
  clang-format perl
  qt6-qpa-plugins libqt6svg6
  dpkg-dev file desktop-file-utils appstream shared-mime-info lintian
  libmecab-dev libmecab2 mecab-ipadic-utf8
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
