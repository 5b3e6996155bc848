#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tests and the
# program need and this machine lacks. Run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev
  # MPFR, which the correctly rounded powers are checked against
  libmpfr-dev
  fonts-ipafont-gothic
  xvfb xauth x11-utils imagemagick libx11-dev libxcb1-dev
  # Desktop themes the contrast tests run the windows under: a dark GTK theme, and
  # the high-contrast Adwaita styles
  qt6-gtk-platformtheme adwaita-qt6
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  # GNOME's window manager, on X and as a Wayland compositor with Xwayland, and Qt's
  # wayland plugin, which Qt would choose there by default; openbox, a second X window
  # manager for the placement tests
  mutter xwayland qt6-wayland openbox
  # The panel beside which the windows are fitted to the work area: a dock window in Python
  python3-xlib
  binutils-mingw-w64-x86-64 dpkg-dev file desktop-file-utils
  # The Windows builds, 64- and 32-bit: cross compilers (the win32 thread model, which
  # links no winpthreads), GoogleTest from source, and wine to run them (wine32 from the
  # i386 architecture, for the 32-bit prefix)
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  googletest wine wine64 wine32:i386 fonts-wine locales xdotool
  # Releases (tools/release.sh) and their checks: the zips, the MSI (wixl; msitools reads
  # it back), Authenticode signatures, the Debian package's lint and metadata
  zip unzip wixl msitools python3-olefile osslsigncode openssl lintian appstream
  # The web edition: Emscripten (it runs node with Debian's JavaScript modules), and the
  # browsers its tests drive: Chromium through its driver, WebKit's MiniBrowser through
  # WebKitWebDriver, both from Selenium, and Firefox ESR through its own WebDriver BiDi
  emscripten nodejs chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr
  python3-websocket
  # A fresh Debian 12 root, for the check of a source archive (tools/archive-check.sh)
  debootstrap
)
# A checkout's releases and their tests ask git for the commit; a source archive needs no git.
[[ ! -e $(dirname "$0")/../.git ]] || packages+=(git)

# wine32 is an i386 package: dpkg must take that architecture first. It is then missing
# below, and apt-get update reads the new architecture's package lists.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails an index now and then (Debian's security mirror
  # served one that did not match its own Release file for days): apt keeps the old list
  # for it or none, and the install below says whether what is needed can still be had.
  for attempt in 1 2; do
    apt-get update -qq && break
    echo "install-deps.sh: apt-get update failed (attempt $attempt); going on with the package lists there are" >&2
    sleep 5
  done
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its code page from the locale: without a Japanese one, the windows'
# Japanese texts turn into question marks. A German one gives the C library a decimal
# comma, for the tests of the exact number texts.
missing_locales=()
for name in ja_JP de_DE; do
  locale -a 2>/dev/null | grep -qix "$name.utf8" || missing_locales+=("$name")
done
if ((${#missing_locales[@]})); then
  for name in "${missing_locales[@]}"; do
    sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -qx "$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
  done
  locale-gen
fi
