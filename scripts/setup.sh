#!/usr/bin/env bash
# Installs the Debian 12 packages Tarnwick needs that this machine lacks. Asks the package
# manager only when something is missing, so it returns at once on a prepared machine.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config        # compilers (clang for the sanitizer build)
  libclang-rt-14-dev                            # clang's sanitizer and fuzzer runtimes
  libgtest-dev libgmock-dev                     # tests
  nlohmann-json3-dev libcli11-dev               # tarnwick-cli
  libfftw3-dev                                  # transforms of the multi-play distributions
  clang-format clang-tidy clazy                 # the format, tidy and Qt checks
  qt6-base-dev qt6-svg-dev libqt6opengl6-dev    # the desktop program (Widgets, SVG cards;
  qt6-charts-dev qt6-pdf-dev                    #   charts; saved PDFs read back by the tests)
  qt6-translations-l10n fonts-dejavu-core       # Qt's own texts in German and Russian; a font
  xvfb xauth at-spi2-core python3-pyatspi       # the end-to-end test in a real window,
  dbus-x11 xdotool                              #   driven through the accessibility bus
  openbox x11-utils                             # the first placement under a window manager
  dpkg-dev file                                 # cpack -G DEB reads the library dependencies
  appstream desktop-file-utils                  # the package's metadata and desktop entry checked
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  -o DPkg::Lock::Timeout=300 "${missing[@]}"
