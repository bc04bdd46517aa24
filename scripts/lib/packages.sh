# Debian packages the scripts install when missing, and the installer they share.

BUILD_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev
  libcurl4-openssl-dev libssl-dev
  libsqlite3-dev libmicrohttpd-dev libpugixml-dev
  libcpp-httplib-dev  # the loopback HTTP server of tests/support
  qt6-base-dev qt6-webengine-dev
  libxcb1-dev
  clang-format  # scripts/format, and the test that the tree is formatted
)

# Installs each missing package (as root, or through sudo).
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# What scripts/run needs besides the build: curl to see whether the server answers,
# and a virtual display for machines without one.
RUN_PACKAGES=(xvfb xauth curl)

BENCH_PACKAGES=(libxml2-dev libpugixml-dev wrk)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
