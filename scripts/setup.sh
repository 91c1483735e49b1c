#!/usr/bin/env bash
# Takes a fresh Debian 12 machine to one that builds and tests the suite.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  ca-certificates cmake make git netbase
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix mingw-w64-tools
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  googletest libwine-dev:i386 wine wine32:i386 wine64 xvfb xauth
  python3 python3-pyftpdlib vsftpd microsocks curl wget
  clang libclang-rt-14-dev imagemagick libgif-dev
  highlight source-highlight
)

sudo_=""
if [ "$(id -u)" -ne 0 ]; then sudo_="sudo"; fi

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_ dpkg --add-architecture i386
  missing=("${packages[@]}")
else
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
fi

if [ ${#missing[@]} -gt 0 ]; then
  $sudo_ apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Minimal roots may lack /etc/hosts; Wine then cannot resolve "localhost".
if ! grep -qs '^127\.0\.0\.1[[:space:]].*localhost' /etc/hosts; then
  echo "127.0.0.1 localhost" | $sudo_ tee -a /etc/hosts >/dev/null
fi
