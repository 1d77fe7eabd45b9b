#!/usr/bin/env bash
# Sets everything up and runs Orvane: the desktop program when a display is
# available (arguments are passed on to it), otherwise orvane-cli on the
# terminal. Without a USB analyzer it runs on the virtual analyzer
# (ORLINK_DEVICE=auto).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
orvane_install_packages
orvane_build
export ORLINK_DEVICE="${ORLINK_DEVICE:-auto}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$ORVANE_BUILD_DIR/bin/orvane" "$@"
fi
echo "No display: showing five seconds of live bus traffic with orvane-cli instead of the desktop program."
"$ORVANE_BUILD_DIR/bin/orvane-cli" info
exec "$ORVANE_BUILD_DIR/bin/orvane-cli" monitor --seconds 5
