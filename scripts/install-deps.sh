#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: it installs only what is missing and asks nothing.
# With the argument "bench", also what `make bench` needs.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  flite1-dev libflite1 libsdl2-dev
  # fonts embedded into the program at build time
  fonts-comic-neue fonts-liberation
  # headless end-to-end tests: display, window manager, sound server, X tools
  xvfb xauth openbox xdotool x11-utils x11-xserver-utils imagemagick libxcb1-dev
  pulseaudio pulseaudio-utils sox procps
  # the scalable icon, and the Debian package with its checks
  qt6-svg-dev dpkg-dev fakeroot file desktop-file-utils appstream lintian
  # the other window managers the end-to-end tests run under, and wmctrl to set
  # window states from outside
  xfwm4 metacity fluxbox icewm i3-wm wmctrl
)

# `make bench` also needs the offline recogniser that judges the voice (37 MB).
if [[ "${1:-}" == "bench" ]]; then
  packages+=(pocketsphinx pocketsphinx-en-us)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then sudo=(); else sudo=(sudo -n); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another apt run on the machine (a second checkout setting up) is waited for, not failed on.
apt=(apt-get -o DPkg::Lock::Timeout=900)
"${sudo[@]}" "${apt[@]}" update -q
"${sudo[@]}" "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
