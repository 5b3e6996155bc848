#!/usr/bin/env bash
# The private wine of a build folder, DIR (build/win/wine): its prefix, and a home of
# its own so that wine writes nothing into the user's. DIR/arch (written by
# cmake/wine.cmake) says which Windows the build is for: win64, or win32 for a 32-bit
# prefix run by the 32-bit loader, as on 32-bit Windows.
#
#   bash tools/wine-env.sh DIR     creates DIR/prefix, once
#   source tools/wine-env.sh DIR   only sets the environment wine runs in (a script's)

[[ -n "${1:-}" ]] || { echo "usage: wine-env.sh DIR" >&2; exit 2; }
mkdir -p "$1"
wine_dir=$(cd "$1" && pwd)
wine_arch=$(cat "$wine_dir/arch" 2>/dev/null || echo win64)
if [[ ! $wine_arch =~ ^win(32|64)$ ]]; then
  echo "wine-env.sh: $wine_dir/arch says neither win32 nor win64" >&2
  return 2 2>/dev/null || exit 2
fi
export WINEPREFIX=$wine_dir/prefix WINEARCH=$wine_arch
export HOME=$wine_dir/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, and no menu entries on the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes the ANSI code page from the locale; without a Japanese one the windows'
# Japanese texts become question marks.
export LC_ALL=ja_JP.UTF-8
# Debian keeps both loaders out of PATH; /usr/bin/wine picks the 32-bit one whenever
# wine32 is installed, whatever the prefix.
if [[ $wine_arch == win32 ]]; then
  WINELOADER=/usr/lib/wine/wine
else
  WINELOADER=$(command -v wine64 || echo /usr/lib/wine/wine64)
fi
[[ -x $WINELOADER ]] || WINELOADER=$(command -v wine)
export WINELOADER
wine_ready=$WINEPREFIX/.dosat-ready

# Sourced: the environment is all.
(return 0 2>/dev/null) && return 0
set -euo pipefail

exec 9>"$wine_dir/lock"
flock 9  # two tests starting at once create it once
# Made again when this script, the kind of prefix or the installed wine changes: a
# prefix made before wine32 was installed, for one, starts no program afterwards.
recipe=$({
  cat "${BASH_SOURCE[0]}"
  echo "$WINEARCH"
  dpkg-query -W -f='${Package}:${Architecture} ${Version}\n' wine wine64 wine32:i386 libwine libwine:i386 2>/dev/null || true
} | md5sum)
[[ -f $wine_ready && $(<"$wine_ready") == "$recipe" ]] && exit 0

started=$SECONDS
rm -rf "$WINEPREFIX"
mkdir -p "$HOME"
locale -a | grep -qix 'ja_JP.utf8' || echo "wine-env.sh: no ja_JP.UTF-8 locale: run tools/install-deps.sh" >&2
unset DISPLAY WAYLAND_DISPLAY  # no windows while the prefix is made
"$WINELOADER" wineboot -i
wineserver -w

# Without replacements wine picks, for the Japanese Windows faces, one with no Latin
# letters. The UI face stands in with IPA Gothic's half-width Latin, as on Linux, so
# that "(海水標準=21000mg/L)" keeps to one line of its label. Unmanaged windows: on a bare X server no window manager would place them.
{
  printf '\xff\xfe'  # regedit reads UTF-16LE with a byte-order mark
  sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

EOF
} >"$wine_dir/settings.reg"
reg=$wine_dir/settings.reg
"$WINELOADER" regedit /S "Z:${reg//\//\\}"  # a Unix path would read as a switch
cp /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
"$WINELOADER" wineboot
wineserver -w

echo "$recipe" >"$wine_ready"
echo "wine-env.sh: made $WINEPREFIX in $((SECONDS - started)) s"
