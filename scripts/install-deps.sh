#!/bin/sh
# Installs what this project needs on Debian 12, if anything is missing.
set -e
pkgs="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
  libbenchmark-dev libmsgpack-cxx-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine
  xvfb xauth xclip x11-utils python3-pil nlohmann-json3-dev libcli11-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
