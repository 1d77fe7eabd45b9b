#!/usr/bin/env bash
# Sets everything up and runs Orvane. Without a USB analyzer it runs on the
# virtual analyzer (ORLINK_DEVICE=auto).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
orvane_install_packages
orvane_build
export ORLINK_DEVICE="${ORLINK_DEVICE:-auto}"
"$ORVANE_BUILD_DIR/bin/orvane-cli" info
# The desktop program is not built yet: show five seconds of live bus
# traffic on the terminal instead (Ctrl+C stops earlier).
exec "$ORVANE_BUILD_DIR/bin/orvane-cli" monitor --seconds 5
