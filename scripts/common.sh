# Shared by the two set-up commands. Installs the Debian packages the project
# needs, as root directly or through sudo, and only when one is missing.

WEQ_PACKAGES=(
  cmake g++ ninja-build pkg-config clang-14 libclang-rt-14-dev llvm-14
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libzxing-dev libzint-dev zlib1g-dev
  zint poppler-utils
  xvfb xauth imagemagick python3 python3-xlib fonts-dejavu-extra
)

weq_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

weq_install_packages() {
  local missing=()
  local p
  for p in "${WEQ_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    weq_as_root apt-get update -qq
    weq_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

weq_jobs() { nproc 2>/dev/null || echo 2; }
