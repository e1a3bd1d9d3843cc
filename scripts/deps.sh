# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build and the tests need, only when something is missing.
EARTHWORK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  poppler-utils xvfb xauth
  fonts-dejavu-core fonts-liberation
)

# The Windows cross build (scripts/cross-windows) needs only these: the
# MinGW-w64 compiler and GoogleTest's sources, which it builds for Windows.
EARTHWORK_CROSS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest)

# Installs the build's packages and the ones given.
install_missing_packages() {
  install_packages "${EARTHWORK_PACKAGES[@]}" "$@"
}

# Installs the packages given that are missing.
install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds in the folder given, with warnings as errors (a
# developer's build; a plain CMake build leaves them off). Further arguments
# go to CMake and may override the build type.
configure_and_build() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEARTHWORK_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
