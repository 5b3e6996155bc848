# shellcheck shell=bash
# What a release is made from and with, sourced by tools/release.sh and the release tests:
#
#   source_files DIR [FORMAT]    the tree's own files, as find -printf FORMAT ('%P\0' unless
#                                given): all but .git and what .gitignore keeps out
#   find_source DIR              which commit the tree in DIR is, and its time
#   release_source DIR           that, and the time a release of it takes
#   build_packages BUILD_DIR...  the Debian packages of the builds' compilers, headers and
#                                libraries
#   write_buildinfo VERSION EPOCH PACKAGE...
#                                BUILDINFO, on standard output: the commit and the time, and
#                                the installed version of each package

# The top .gitignore, read as find's terms: a pattern with a slash is a path from the top, one
# without is a name anywhere, a trailing slash means folders only. A pattern beyond that
# stops it rather than letting build output pass for sources.
source_files() {
  local line prune=(-path ./.git) type
  while IFS= read -r line || [[ -n $line ]]; do
    case $line in
      '' | '#'*) continue ;;
      '!'* | *'\'* | *'**'*)
        echo "source_files: $1/.gitignore: '$line' is a pattern this reader does not know" >&2
        return 1 ;;
    esac
    type=()
    [[ $line == */ ]] && line=${line%/} type=(-type d)
    if [[ $line == */* ]]; then
      prune+=(-o -path "./${line#/}" "${type[@]}")
    else
      prune+=(-o -name "$line" "${type[@]}")
    fi
  done <"$1/.gitignore"
  (cd "$1" && find . \( "${prune[@]}" \) -prune -o ! -type d -printf "${2:-%P\0}")
}

utc() { date -u -d "@$1" '+%Y-%m-%d %H:%M:%S UTC'; }

# Sets source_commit (the commit's id, or empty when unknown), source_time (its time in
# seconds since 1970) and source_how (where that time comes from, for people to read). When
# the tree is not the commit's as it was committed, source_changed says how. Without a time
# to trust it returns 1, and source_problem says why.
#
# A git checkout is what git says it is. A source archive (git archive, a forge's download)
# has no .git: git writes the commit's id and time into release/archive-commit
# (export-subst), and gives every file the commit's time. A file with another time was
# changed since, or the files were unpacked without their times: either way the time is not
# to be trusted.
find_source() {
  local dir=$1
  source_commit='' source_time='' source_how='' source_changed='' source_problem=''
  if [[ -e $dir/.git ]]; then
    if ! command -v git >/dev/null; then
      source_problem="a git checkout, but git is not installed (apt-get install git)"
      return 1
    fi
    # Whoever owns the checkout: git refuses another user's unless told it is safe.
    local git=(git -c safe.directory="$(cd "$dir" && pwd)" -C "$dir") status
    source_commit=$("${git[@]}" rev-parse --verify HEAD) &&
      source_time=$("${git[@]}" log -1 --format=%ct HEAD) &&
      status=$("${git[@]}" status --porcelain) ||
      { source_problem="git finds no commit in $dir"; return 1; }
    source_how="the commit's (git log)"
    [[ -z $status ]] || source_changed="the checkout has uncommitted changes or untracked files"
    return 0
  fi

  local hash='' stamped='' listing newest oldest time
  read -r hash stamped < <(grep -v '^#' "$dir/release/archive-commit" 2>/dev/null) || true
  if [[ $hash =~ ^[0-9a-f]{40,64}$ && $stamped =~ ^[0-9]+$ ]]; then
    source_commit=$hash
  else
    stamped=''
  fi
  listing=$(source_files "$dir" '%T@ %P\n' | sort -n) || return 1
  oldest=${listing%%$'\n'*} newest=${listing##*$'\n'}
  time=${newest%% *}
  if [[ ${oldest%% *} != "$time" ]]; then
    source_changed="files were changed after the archive was made (the newest: ${newest#* }, $(utc "${time%.*}"))"
  elif [[ -n $stamped && ${time%.*} != "$stamped" ]]; then
    source_changed="the files' time ($(utc "${time%.*}")) is not the commit's ($(utc "$stamped"))"
  fi
  if [[ -n $source_changed ]]; then
    source_problem="a source archive, but $source_changed"
    return 1
  fi
  source_time=${time%.*}
  if [[ -n $stamped ]]; then
    source_how="the source archive's: its files' time, that of the commit it names"
  else
    source_how="the source archive's: its files' time (the archive names no commit)"
  fi
}

# find_source, and the time a release of DIR takes, in release_time: SOURCE_DATE_EPOCH when
# set, the source's otherwise; time_from says which. Without either it returns 1.
release_source() {
  if ! find_source "$1" && [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    return 1
  fi
  if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    release_time=$source_time time_from=$source_how
  elif [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]]; then
    release_time=$SOURCE_DATE_EPOCH time_from="SOURCE_DATE_EPOCH, as given"
    [[ -z $source_time || $source_time == "$release_time" ]] ||
      time_from+=" (the commit's: $(utc "$source_time"))"
  else
    source_problem="SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH is not a number of seconds"
    return 1
  fi
}

# The packages that own the files named on standard input, one name a line; a name without
# a slash is a command, looked up in PATH, and skipped when there is none (a compiler names a
# file it does not have so). A file that no package owns stops it: the release could not
# say what built it. dpkg knows a file by the path its package ships, which may go through
# a symbolic link (/lib, /usr/bin/c++) or not.
packages_of_files() {
  local name line packages i
  local -a files=() named=() resolved=()
  local -A found=()
  while IFS= read -r name; do
    if [[ $name != /* ]]; then
      name=$(command -v "$name") || continue
    fi
    [[ ! -e $name ]] || files+=("$name")
  done < <(sort -u)
  ((${#files[@]})) || return 0
  mapfile -t named < <(realpath -s -- "${files[@]}")
  mapfile -t resolved < <(readlink -f -- "${files[@]}")
  while IFS= read -r line; do
    packages=${line%%: /*}
    found[/${line#*: /}]=1
    tr ',' '\n' <<<"$packages" | sed 's/^ *//; s/:.*//'
  done < <(printf '%s\n' "${named[@]}" "${resolved[@]}" | sort -u |
    xargs -d '\n' dpkg-query -S 2>/dev/null | grep -v '^diversion by')
  for i in "${!files[@]}"; do
    [[ -n ${found[${named[i]}]:-}${found[${resolved[i]}]:-} ]] ||
      { echo "release: ${files[i]}, which the build used, is in no Debian package" >&2; return 1; }
  done
}

build_packages() {
  local dir compiler program file soname
  for dir; do
    compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$dir"/CMakeFiles/*/CMakeCXXCompiler.cmake)
    [[ -n $compiler ]] || { echo "build_packages: $dir names no C++ compiler" >&2; return 1; }
    echo "$compiler"
    for file in "$dir"/CMakeFiles/*/CMakeRCCompiler.cmake; do
      [[ ! -f $file ]] || sed -n 's/^set(CMAKE_RC_COMPILER "\(.*\)")$/\1/p' "$file"
    done
    # (Emscripten's em++ answers neither question; web_tool_files names what it runs.)
    for program in cc1plus collect2 as ld; do "$compiler" -print-prog-name="$program" 2>/dev/null; done
    for file in libstdc++.a libstdc++.so libgcc.a libgcc_eh.a crtbegin.o crt1.o crt2.o libc.so \
      libkernel32.a libwinpthread.a; do
      "$compiler" -print-file-name="$file" 2>/dev/null
    done
    # Every header the build included that is not the project's own.
    ninja -C "$dir" -t deps | awk -v own="$(pwd)/" '$1 ~ /^\// && index($1, own) != 1 { print $1 }'
    # The libraries the Linux program loads: their packages give the .deb's Depends.
    if [[ -f $dir/ui/dosat ]]; then
      objdump -p "$dir/ui/dosat" | awk '$1 == "NEEDED" { print $2 }' | while read -r soname; do
        # The whole cache is read (no early exit), or ldconfig dies of SIGPIPE under pipefail.
        ldconfig -p | awk -v s="$soname" '$1 == s && /x86-64/ && !p { p = $NF } END { print p }'
      done
    fi
  done | packages_of_files | sort -u
}

# The files beside the build trees' that shape the release: the Python that finishes the MSI
# and the web page, and the clang and wasm-ld that Emscripten runs (its configuration names
# their folder and version suffix) with the LLVM libraries they load.
web_tool_files() {
  local config=/usr/share/emscripten/.emscripten root version file
  readlink -f /usr/bin/python3
  root=$(sed -n "s/^LLVM_ROOT *= *'\(.*\)'.*/\1/p" "$config")
  version=$(sed -n "s/^CLANG_ADD_VERSION *= *'\(.*\)'.*/\1/p" "$config")
  for file in "$root/clang${version:+-$version}" "$root/wasm-ld${version:+-$version}"; do
    [[ -e $file ]] || { echo "web_tool_files: Emscripten's $file is missing" >&2; return 1; }
    readlink -f "$file"
    ldd "$file" | awk '$2 == "=>" && $3 ~ /\/lib(LLVM|clang-cpp)/ { print $3 }'
  done
}

# The archive, compression and Windows Installer libraries that the commands named load.
tool_libraries() {
  local command
  for command; do
    command=$(command -v "$command") || { echo "tool_libraries: no $command" >&2; return 1; }
    ldd "$command" | awk '$2 == "=>" && $3 ~ /\/lib(archive|z|zstd|msi|msi-1\.0|gcab-1\.0|gsf-1)\.so/ { print $3 }'
  done
}

# The Debian release the build ran on, as /etc/os-release names it.
build_distribution() {
  (. /etc/os-release && echo "${PRETTY_NAME:-$ID $VERSION_ID}")
}

write_buildinfo() {
  local version=$1 epoch=$2 commit=${source_commit:-unknown} arch package installed
  shift 2
  arch=$(dpkg --print-architecture)
  [[ -z ${source_changed:-} ]] || commit+=", but NOT its sources: $source_changed"
  echo "Source: dosat"
  echo "Version: $version"
  echo "Commit: $commit"
  echo "Source-Date-Epoch: $epoch ($(utc "$epoch"))"
  echo "Build-Distribution: $(build_distribution)"
  echo "Build-Architecture: $arch"
  echo "Build-Packages:"
  # Installed, of this machine's architecture or of none; the same package of another
  # architecture (wine's i386 libraries) builds nothing here.
  installed=$(dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Architecture}|${Version}\n' "$@" 2>/dev/null |
    awk -F '|' -v arch="$arch" '$1 == "ii " && ($3 == arch || $3 == "all") { print $2 " (= " $4 ")" }' |
    sort -u) || true
  for package in "$@"; do
    awk -v p="$package" '$1 == p { found = 1 } END { exit !found }' <<<"$installed" ||
      { echo "write_buildinfo: $package is not installed" >&2; return 1; }
  done
  sed 's/^/ /; $!s/$/,/' <<<"$installed"
}
