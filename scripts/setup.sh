#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package Brindle needs to build and run, skipping what is present.
# Idempotent: a second run installs nothing. Needs root (or sudo) only when something is missing.
#
#   scripts/setup.sh [--with-test-tools]   the option adds what only tests and developer tools use:
#                                          unit, screen and package tests, benchmarks, fuzzing,
#                                          screenshots and start-up timing
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # core libraries
  libicu-dev nlohmann-json3-dev libsqlite3-dev libexpected-dev zlib1g-dev libfreetype-dev
  # Qt 6.4
  qt6-base-dev qt6-declarative-dev qml6-module-qtquick qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtquick-window
  qml6-module-qtqml-workerscript qml6-module-qtquick-dialogs
  qml6-module-qt5compat-graphicaleffects qml6-module-qt-labs-platform
  qml6-module-qt-labs-folderlistmodel
  qt6-speech-dev qt6-speech-speechd-plugin qt6-speech-flite-plugin
  qml6-module-qttexttospeech
  # speech, fonts, software OpenGL
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng fonts-noto-cjk
  libgl1-mesa-dri libglx-mesa0 libegl-mesa0
  # fetching the lexicon's open data and the icon font
  ca-certificates npm sqlite3 python3-fonttools python3-pil
)
if [[ "${1:-}" == "--with-test-tools" ]]; then
  packages+=(
    # unit and screen tests, benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev qml6-module-qttest
    # QML lint: resolves Timer, Connections and the Qt namespace
    qml6-module-qtqml
    # fuzzing (clang with libFuzzer)
    clang libclang-rt-14-dev
    # screenshots and start-up timing on a headless display
    xvfb xauth imagemagick
    # checking the Debian package: its validators
    lintian desktop-file-utils appstream
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    # A package may be satisfied by a newer provider already on the machine (npm ships with nodejs
    # from other repositories, for example).
    case "$p" in
      npm) command -v npm >/dev/null 2>&1 && continue ;;
    esac
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present" >&2
fi
