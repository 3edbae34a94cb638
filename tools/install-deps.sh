#!/usr/bin/env bash
# Installs what building, running and testing Quorvex need on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
# xvfb and xauth: bench/run.sh times the windows on a real X server.
# dpkg-dev and file: the Debian package (CPack) computes its dependencies with them.
# libxcb1-dev: the busy pointer sends its change to an X11 display without the event loop.
# libhunspell-dev: French lemmas; hunspell-fr and libxml2-utils (xmllint): the tests of the
# equivalents on the real dictionary and of the TMX export.
# man-db: the manual page test renders the pages with man (skipped without it).
apt-get install -y --no-install-recommends \
  cmake make g++ pkg-config dpkg-dev file \
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev libxcb1-dev \
  libgtest-dev libbenchmark-dev \
  libhunspell-dev hunspell-fr libxml2-utils man-db \
  fonts-liberation fonts-dejavu-core qt6-translations-l10n \
  xvfb xauth
# The Latin lexicon of lemma searches, from the collatinus package without installing it.
bash "$(dirname "$0")/fetch-lexicon.sh"
