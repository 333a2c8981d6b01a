#!/usr/bin/env bash
# Installs everything Casewright needs to build, test and run on Debian 12,
# from Debian's packages.  Run as root.  help2man makes the man page and
# man-db checks it; Java and Weka, scikit-learn and GNU parallel are for the
# tests that run casewright-cli with them; GNU time measures the speed
# programs' runs.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  g++ cmake ninja-build make \
  qt6-base-dev libgl-dev \
  libsqlite3-dev libcli11-dev libabsl-dev libgtest-dev libgmock-dev libbenchmark-dev \
  python3 fonts-dejavu-core help2man time \
  clang libclang-rt-14-dev util-linux \
  default-jre-headless weka python3-sklearn parallel \
  libxgboost-dev python3-xgboost desktop-file-utils appstream bash-completion man-db pkg-config
