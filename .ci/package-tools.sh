#!/usr/bin/env bash
# What the package stages need besides the build: the validators, man and bash-completion.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  lintian appstream desktop-file-utils man-db bash-completion </dev/null
