#!/usr/bin/env bash
# The README's package command on the CI build: BUILD_DIR/quorvex-cli_<version>_amd64.deb,
# BUILD_DIR/quorvex_<version>_amd64.deb and BUILD_DIR/quorvex-lexicon_<version>_all.deb.
set -euo pipefail
build=$1
rm -f "$build"/quorvex_*.deb "$build"/quorvex-cli_*.deb "$build"/quorvex-lexicon_*.deb
cmake --build "$build" -j2 --target package
ls -l "$build"/quorvex-cli_*.deb "$build"/quorvex_*.deb "$build"/quorvex-lexicon_*_all.deb
