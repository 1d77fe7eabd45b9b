#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite through CTest.
# ORVANE_TEST_LABEL limits the run to the tests with that label. The long soak
# (label soak) never runs here; scripts/soak.sh runs it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
orvane_install_packages
orvane_build
label_args=(-LE soak)
[ -n "${ORVANE_TEST_LABEL:-}" ] && label_args+=(-L "$ORVANE_TEST_LABEL")
ctest --test-dir "$ORVANE_BUILD_DIR" --output-on-failure -j "$(nproc)" "${label_args[@]}"
