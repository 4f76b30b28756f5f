# Shared by the scripts: package installation and the build folders.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
linux_build=$root/build/linux
windows_build=$root/build/windows

# Debian packages the build, the tests and the run need.
velkor_packages=(
  cmake ninja-build g++ pkg-config python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  qpdf poppler-utils fio chromium
  clang libclang-rt-14-dev libfuse3-dev fuse3
  exfat-fuse exfatprogs ntfs-3g dosfstools e2fsprogs
)

# What scripts/package needs beside them: Debian's package tools, zip, and man to check the pages.
packaging_packages=(dpkg-dev zip unzip man-db groff-base)

# The program's version, from the one place it is kept (common/version.h), e.g. "1.0.0".
velkor_version() {
  awk '/^#define VELKOR_VERSION_(MAJOR|MINOR|PATCH) /{printf "%s%s", sep, $3; sep="."}' "$root/common/version.h"
}

# Installs whatever of the list is missing (apt-get update first, as a fresh machine needs).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

configure_and_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -G Ninja -S "$root" -B "$dir" "$@"
  fi
  cmake --build "$dir"
}
