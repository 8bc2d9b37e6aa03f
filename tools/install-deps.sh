#!/bin/sh
# Installs what a fresh Debian 12 machine needs to build, run and test Quorvo.
set -e
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    libgtest-dev libsdl2-dev libphysfs-dev libtinyxml-dev libcairo2-dev libpixman-1-dev libfreetype-dev \
    libvorbis-dev libogg-dev zlib1g-dev fonts-dosis \
    xvfb xauth xdotool imagemagick openbox x11-utils zip unzip desktop-file-utils appstream \
    clang clang-format libclang-rt-14-dev
