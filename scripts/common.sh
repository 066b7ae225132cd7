# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# Shared by the set-up commands. Installs the Debian packages the project
# needs, as root directly or through sudo, and only when one is missing.
# scripts/check-packages proves after each configure that this list holds
# everything the builds and the scripts use.

WEQ_PACKAGES=(
  cmake g++ ninja-build pkg-config clang-14 libclang-rt-14-dev llvm-14
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev designer-qt6 libgl-dev
  qt6-declarative-dev qt6-declarative-dev-tools qml6-module-qtquick qml6-module-qtqml-workerscript
  libgtest-dev libgmock-dev libbenchmark-dev libzxing-dev libzint-dev zlib1g-dev
  dpkg-dev file ccache reuse lintian help2man man-db
  xvfb xauth imagemagick python3 python3-xlib fonts-dejavu-extra
  zint zbar-tools poppler-utils ghostscript
  doxygen libjs-jquery
)

# Debian's interpreter, whatever else is first on PATH: its modules are the
# ones the list above installs.
WEQ_PYTHON=/usr/bin/python3

weq_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# weq_missing_packages PACKAGE...: prints those of the packages that are not
# installed. dpkg-query fails when it has never heard of one, which is the
# normal case on a fresh machine, so its status is not ours.
weq_missing_packages() {
  local installed p
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "$@" 2>/dev/null |
    awk '$2 == "installed" { print $1 }') || true
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

weq_install_packages() {
  local missing=()
  mapfile -t missing < <(weq_missing_packages "${WEQ_PACKAGES[@]}" "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    echo "error: the Debian packages ${missing[*]} are missing, and installing them needs root or sudo" >&2
    return 1
  fi
  if ! weq_as_root apt-get update -qq ||
     ! weq_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    echo "error: could not install the Debian packages ${missing[*]}" >&2
    return 1
  fi
}

weq_jobs() { nproc 2>/dev/null || echo 2; }

# weq_configure DIR CMAKE-ARGUMENTS...: configures the build folder DIR with
# Ninja unless it was configured with the same arguments and compilers before.
# Ninja itself re-runs CMake when a CMakeLists.txt changes.
# The install command's and the packages' builds compile the same sources
# with the same flags in two folders: a compiler cache inside build/ lets the
# second take the first's objects. (Precompiled headers would defeat it.)
WEQ_CACHED_BUILD=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache -DWEQ_PRECOMPILED_HEADERS=OFF)
# The library, its Designer plugin, QML module and command line, and the API
# reference (seconds of Doxygen), and nothing else: what the install command builds.
WEQ_LIBRARY_ONLY=(-DWEQ_BUILD_DESIGNER_PLUGIN=ON -DWEQ_BUILD_QML=ON -DWEQ_BUILD_CLI=ON -DWEQ_BUILD_API_DOCS=ON -DWEQ_BUILD_TESTS=OFF
  -DWEQ_BUILD_DEMO=OFF -DWEQ_BUILD_BENCH=OFF -DWEQ_BUILD_FUZZ=OFF -DWEQ_BUILD_EXAMPLES=OFF -DWEQ_BUILD_DOCS_IMAGES=OFF)
weq_use_cache() {
  export CCACHE_DIR=$PWD/build/ccache CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=2G
}

weq_configure() {
  local dir=$1; shift
  local key="${CC:-} ${CXX:-} $*"
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/weq-configured-with" 2>/dev/null)" = "$key" ]; then
    return 0
  fi
  cmake -B "$dir" -G Ninja "$@" >/dev/null
  printf '%s' "$key" > "$dir/weq-configured-with"
}

# weq_check_packages CMAKECACHE...: scripts/check-packages, remembered in
# build/package-check/ so that an unchanged second run asks apt nothing.
weq_check_packages() {
  "$WEQ_PYTHON" scripts/check-packages --stamps build/package-check "$@"
}
