#!/usr/bin/env bash
# Installs, from Debian's packages, what this machine lacks for the parts asked for. Run as
# root, on Debian 12 (bookworm) or 13 (trixie):
#
#   tools/install-deps.sh [GROUP...]
#
#   program   building and running the calculator (tools/start.sh)
#   display   a virtual X server, for a machine with no display
#   tests     the Linux tests: clang and its sanitizers, GoogleTest, Google Benchmark,
#             MPFR, X servers, window managers, desktop themes, the screen-reader bus
#   windows   the Windows builds and wine to run them (adds the i386 architecture)
#   web       the web edition: Emscripten and the browsers its tests drive
#   release   what tools/release.sh packs and checks a release with
#   all       every group (tools/test.sh), and what tools/archive-check.sh needs; the default
#
# This is the one list of what the project installs. Names that differ between Debian
# releases are resolved here.
set -euo pipefail
here=$(dirname "$0")

# What builds and runs the program. Qt's Widgets (its OpenGL headers, which Qt's CMake
# files ask for), the X connection the windows read the work area with, the Japanese font.
program=(cmake ninja-build g++ qt6-base-dev libgl-dev libxcb1-dev fonts-ipafont-gothic)
display=(xvfb xauth)
tests=(
  # clang, whose sanitizers and libFuzzer come with its runtime (the unversioned name is
  # the release's own clang: 14 on Debian 12, 19 on Debian 13)
  clang libclang-rt-dev
  libgtest-dev libbenchmark-dev
  # MPFR, which the correctly rounded powers are checked against
  libmpfr-dev
  xvfb xauth x11-utils imagemagick libx11-dev
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
  # The resource script's check (MinGW's windres), the desktop entry's
  binutils-mingw-w64-x86-64 desktop-file-utils file
  locales
)
windows=(
  # Cross compilers (the win32 thread model, which links no winpthreads), GoogleTest from
  # source, and wine to run the builds (wine32 from the i386 architecture, for the 32-bit
  # prefix) on an X server
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest wine wine64 wine32:i386 fonts-wine locales xdotool xvfb xauth
)
web=(
  # Emscripten (it runs node with Debian's JavaScript modules), and the browsers its
  # tests drive: Chromium through its driver, WebKit's MiniBrowser through
  # WebKitWebDriver, both from Selenium, and Firefox ESR through its own WebDriver BiDi
  emscripten nodejs chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr
  python3-websocket
)
# The zips, the MSI (wixl; msitools reads it back), Authenticode signatures, the Debian
# package and its lint and metadata
release=(zip unzip wixl msitools python3-olefile osslsigncode openssl dpkg-dev file lintian appstream)
# A fresh Debian root, for the check of a source archive (tools/archive-check.sh)
archive=(debootstrap)

groups=("$@")
((${#groups[@]})) || groups=(all)
packages=()
for group in "${groups[@]}"; do
  case $group in
    program | display | tests | windows | web | release) ;;
    all) packages+=("${program[@]}" "${tests[@]}" "${windows[@]}" "${web[@]}" "${release[@]}" "${archive[@]}")
         continue ;;
    *) echo "install-deps.sh: no group '$group' (program, display, tests, windows, web, release, all)" >&2
       exit 2 ;;
  esac
  declare -n list=$group
  packages+=("${list[@]}")
  unset -n list
done
# A checkout's releases and their tests ask git for the commit; a source archive needs no git.
if [[ -e $here/../.git ]] && [[ " ${groups[*]} " =~ \ (all|tests|release)\  ]]; then
  packages+=(git)
fi

# wine32 is an i386 package: dpkg must take that architecture first. It is then missing
# below, and apt-get update reads the new architecture's package lists.
if [[ " ${packages[*]} " == *:i386\ * ]]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  [[ " ${missing[*]} " != *" $p "* ]] || continue
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The package lists apt could not have: those apt-get update failed to fetch, and, where
# i386 packages are asked for, the i386 list of each suite that has an amd64 one (a
# sources entry limited to amd64 has none).
lists_problem() {
  local log=$1 file
  grep -o 'Failed to fetch [^ ]*' "$log" 2>/dev/null | sed 's/^Failed to fetch /  failed to download: /' | sort -u
  [[ " ${missing[*]} " == *:i386\ * ]] || return 0
  for file in /var/lib/apt/lists/*_binary-amd64_Packages*; do
    [[ -e $file ]] || continue
    compgen -G "${file%%_binary-amd64_Packages*}_binary-i386_Packages*" >/dev/null ||
      echo "  no i386 list: $(basename "${file%%_binary-amd64_Packages*}" | tr _ /)"
  done
}

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  update_log=$(mktemp)
  trap 'rm -f "$update_log"' EXIT
  # A mirror caught mid-sync fails an index now and then (Debian's security mirror
  # served an i386 list that did not match its own Release file for days): apt keeps the
  # old list for it or none, and the install below says whether what is needed can still
  # be had.
  for attempt in 1 2; do
    apt-get update -qq >"$update_log" 2>&1 && break
    cat "$update_log" >&2
    echo "install-deps.sh: apt-get update failed (attempt $attempt); going on with the package lists there are" >&2
    sleep 5
  done
  # Nothing the machine has is removed or downgraded: apt-get refuses a downgrade unless
  # told, and --no-remove stops where a removal would be needed.
  install=(apt-get install -y -qq --no-install-recommends --no-remove)
  if ! "${install[@]}" "${missing[@]}"; then
    # Without a list (an index that failed, a suite's list for i386 that is missing),
    # packages that must have the same version in both architectures (Multi-Arch: same)
    # can find no pair where the machine has the security suite's amd64 version. The
    # release's own versions are listed for every architecture, and apt takes them
    # wherever that needs no downgrade.
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    problem=$(lists_problem "$update_log")
    echo "install-deps.sh: the packages could not be installed from the package lists there are; trying again with Debian ${codename:-?}'s own versions (apt-get install -t ${codename:-?})" >&2
    if [[ -z $codename ]] || ! "${install[@]}" -t "$codename" "${missing[@]}"; then
      {
        echo
        echo "install-deps.sh: could not install: ${missing[*]}"
        if [[ -n $problem ]]; then
          echo "The package lists apt could not have:"
          echo "$problem"
          echo "A mirror caught mid-sync serves lists that do not match its Release file for a"
          echo "while. Try again later, or take another Debian mirror in /etc/apt/sources.list.d/."
        else
          echo "apt-get says why above. If a mirror was caught mid-sync, try again later, or take"
          echo "another Debian mirror in /etc/apt/sources.list.d/."
        fi
      } >&2
      exit 1
    fi
  fi
fi

# Wine takes its code page from the locale: without a Japanese one, the windows'
# Japanese texts turn into question marks. A German one gives the C library a decimal
# comma, for the tests of the exact number texts.
if [[ " ${packages[*]} " == *" locales "* ]]; then
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
fi
