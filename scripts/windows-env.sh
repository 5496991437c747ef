# Sourced by build-windows.sh and test-windows.sh: the cross toolchain's packages, GoogleTest built
# for Windows, and a private Wine prefix that runs headless.

# Installs MinGW-w64 (i686), 32-bit Wine and zlib (for the build-time resource tool), and any
# packages given as arguments, when missing; silent when all are there.
install_windows_packages() {
  local pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 zlib1g-dev file "$@") missing=() pkg status
  for pkg in "${pkgs[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$pkg")
  done
  ((${#missing[@]} == 0)) && return 0
  local as_root=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo (missing: ${missing[*]})" >&2; return 1; }
    as_root=(sudo)
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
  fi
  local log
  log=$(mktemp)
  if ! { "${as_root[@]}" apt-get update -qq && \
         "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2; rm -f "$log"; return 1
  fi
  rm -f "$log"
}

# Builds GoogleTest from the Debian sources with the MinGW compilers into DIR/googletest and
# installs it under DIR/googletest-install (once).
build_mingw_gtest() {
  local dir=$1 root=$2
  [[ -f $dir/googletest-install/lib/cmake/GTest/GTestConfig.cmake ]] && return 0
  cmake -S /usr/src/googletest -B "$dir/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dir/googletest-install" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$dir/googletest" -j2 >/dev/null
  cmake --install "$dir/googletest" >/dev/null
}

# Exports the environment of a private, headless 32-bit Wine prefix at PREFIX.
export_wine_env() {
  export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# Creates the prefix at PREFIX (once), with the null graphics driver and no crash dialog, and
# starts its wine server. Every Wine call is bounded and detached from our pipes.
setup_wine_prefix() {
  export_wine_env "$1"
  if [[ ! -f $WINEPREFIX/.quorlis-ready ]]; then
    mkdir -p "$WINEPREFIX"
    timeout 600 wineboot -i </dev/null >/dev/null 2>&1 || true
    timeout 600 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    timeout 600 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    timeout 600 wineserver -w </dev/null >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.quorlis-ready"
  fi
  timeout 600 wineserver -p </dev/null >/dev/null 2>&1 || true
  timeout 600 wineboot </dev/null >/dev/null 2>&1 || true
}
