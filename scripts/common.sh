# Shared by run.sh and test.sh: install what is missing, configure, build.
# Settings from the environment:
#   ORVANE_BUILD_DIR   build folder (default: build)
#   ORVANE_BUILD_TYPE  CMake build type (default: RelWithDebInfo)
#   ORVANE_SANITIZE    sanitizers, e.g. address,undefined or thread
#   ORVANE_WERROR      ON to treat warnings as errors (on by default in CI)
#   ORVANE_GUI         OFF to leave out the desktop program and its tests

ORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORVANE_BUILD_DIR="${ORVANE_BUILD_DIR:-$ORVANE_ROOT/build}"
ORVANE_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
                 libcli11-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libusb-1.0-0-dev
                 umockdev libumockdev-dev clang cmark-gfm dpkg-dev file lintian tshark)

orvane_install_packages() {
  local missing=()
  for package in "${ORVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

orvane_build() {
  local werror="${ORVANE_WERROR:-OFF}"
  [ "${CI:-}" = "true" ] && werror="${ORVANE_WERROR:-ON}"
  cmake -S "$ORVANE_ROOT" -B "$ORVANE_BUILD_DIR" -G Ninja \
    -DCMAKE_BUILD_TYPE="${ORVANE_BUILD_TYPE:-RelWithDebInfo}" \
    -DORVANE_WERROR="$werror" \
    -DORVANE_SANITIZE="${ORVANE_SANITIZE:-}" \
    -DORVANE_GUI="${ORVANE_GUI:-ON}" >/dev/null
  cmake --build "$ORVANE_BUILD_DIR" -j "$(nproc)"
}
