# Shared by scripts/run and scripts/test: installs the Debian packages the
# panel needs, then configures and builds it. Sourced, not run.

QUENZART_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUENZART_BUILD=${QUENZART_BUILD:-$QUENZART_ROOT/build}

# Building, testing and showing the Chinese texts.
QUENZART_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n fonts-noto-cjk
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file
)

quenzart_missing_packages() {
  local package missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  echo "${missing[@]}"
}

# Installs what is missing of the given packages, as root or through sudo,
# after one apt-get update; says which are missing when it cannot.
quenzart_install_packages() {
  local missing
  missing=$(quenzart_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local -a as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      as_root=(sudo)
    else
      echo "These Debian packages are missing: $missing" >&2
      echo "Install them as root: apt-get install $missing" >&2
      return 1
    fi
  fi
  echo "Installing Debian packages: $missing"
  if [ -z "${QUENZART_APT_UPDATED:-}" ]; then
    "${as_root[@]}" apt-get update -qq || return 1
    QUENZART_APT_UPDATED=1
  fi
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends $missing ||
    return 1
}

quenzart_configure_and_build() {
  local build_dir=$1
  shift
  if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$QUENZART_ROOT" -B "$build_dir" -G Ninja "$@" || return 1
  fi
  cmake --build "$build_dir" || return 1
}
