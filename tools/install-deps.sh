#!/usr/bin/env bash
# Installs from Debian 12's packages what Casewright needs.  Run as root.
#   tools/install-deps.sh           building the command line and running it
#                                   (`make run`)
#   tools/install-deps.sh --tests   also the window, the tests and the tools
#                                   they run, the sanitizers and fuzzers, and
#                                   the Debian package's build (`make test`, CI)
# The first set is kept small because a new user waits for it: no Qt, no
# Java, no clang.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

run=(
  g++ cmake ninja-build make pkg-config
  libsqlite3-dev libcli11-dev libabsl-dev libxgboost-dev
  libeigen3-dev libstemmer-dev
)
# help2man makes the man page and man-db checks it; Java and Weka,
# scikit-learn and GNU parallel are for the tests that run casewright-cli with
# them; GNU time measures the speed programs' runs; clang builds the fuzzers;
# debhelper to lintian build and check the Debian packages (dh-python gives
# the Python module's package its dependencies); ccache lets CI's
# package build reuse the release tree's objects.
tests=(
  qt6-base-dev libgl-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  pybind11-dev python3-pybind11 python3-dev
  python3 python3-numpy python3-scipy python3-pandas python3-networkx python3-pytest
  python3-sklearn python3-xgboost
  fonts-dejavu-core help2man man-db bash-completion time util-linux
  clang libclang-rt-14-dev
  default-jre-headless weka parallel
  desktop-file-utils appstream
  debhelper dh-python dpkg-dev fakeroot lintian ccache
)

case "${1-}" in
  "") packages=("${run[@]}") ;;
  --tests) packages=("${run[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
