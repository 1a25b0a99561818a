#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent and quiet when everything is already there; uses sudo only when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev libxtst-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox icewm xdotool xclip x11-utils imagemagick fonts-dejavu-core fonts-liberation2
  python3 python3-tk
  qt6-wayland qt6-base-private-dev libwayland-dev libwayland-bin libxkbcommon-dev
  sway xwayland x11-xserver-utils yad wl-clipboard
  dbus-daemon dbus-bin python3-dbus python3-gi gir1.2-glib-2.0
  desktop-file-utils man-db dpkg-dev
  clang libclang-rt-14-dev clang-format file appstream
  libatspi2.0-dev at-spi2-core libatk-adaptor libgail-common
  hexchat pidgin ngircd
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
