#!/usr/bin/env bash
# Builds the soak test and runs it for HOURS hours of virtual time (24 when
# not given): the virtual analyzer's bus at 19200 bit/s with the shortest
# frames back to back, errors and sleep/wake-up mixed in, through the
# acquisition thread and the live log. Prints the records per second of
# virtual time, the lost records and the resident size at hour 1 and at the
# end; exits non-zero when a record is lost or out of order or memory grows.
# ORVANE_BUILD_DIR and ORVANE_BUILD_TYPE as for test.sh; ORVANE_JOBS limits
# the build's parallel jobs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
hours="${1:-24}"
if ! [[ "$hours" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/soak.sh [HOURS]" >&2
  exit 1
fi
orvane_install_packages
if [ ! -f "$ORVANE_BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$ORVANE_ROOT" -B "$ORVANE_BUILD_DIR" -G Ninja \
    -DCMAKE_BUILD_TYPE="${ORVANE_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
fi
cmake --build "$ORVANE_BUILD_DIR" --target soak_test -j "${ORVANE_JOBS:-$(nproc)}"
echo "Soak: $hours hours of virtual time"
ORVANE_SOAK_MINUTES=$((hours * 60)) "$ORVANE_BUILD_DIR/bin/soak_test" --gtest_brief=1
