#!/usr/bin/env bash
# What the CI's extra stages need beyond tools/install-deps.sh (Debian 12, run as root):
# the MinGW-w64 cross compiler for the Windows build and Wine to run it (wine64; wine for its
# command), clang with libFuzzer and the sanitizer runtimes for the fuzzing and sanitizer stages.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  g++-mingw-w64-x86-64-posix wine wine64 \
  clang libclang-rt-14-dev
