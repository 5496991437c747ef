# Sourced by build-windows.sh, test-windows.sh, wine-run.sh and screenshot-windows.sh: the cross
# toolchains' packages, GoogleTest built for Windows, the word size the Windows tests run at, and a
# private Wine prefix that runs headless. The sourcing script has sourced errors.sh.

# The Debian packages that build for Windows on ARCH (i686 or x86_64): the MinGW-w64 compilers, and
# for the build-time tools that run on this machine, a compiler, zlib and GoogleTest.
windows_build_packages() {
  case $1 in
    i686) echo g++-mingw-w64-i686-posix binutils-mingw-w64-i686 ;;
    x86_64) echo g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 ;;
  esac
  echo cmake ninja-build g++ zlib1g-dev libgtest-dev
}

# The Debian packages of Wine for BITS: 32-bit Wine needs the i386 architecture, 64-bit Wine not.
wine_packages() {
  case $1 in
    32) echo wine wine32:i386 ;;
    64) echo wine wine64 ;;
  esac
}

# The Debian packages of the drop test under Wine: an X server, its input tool, and GTK for Python
# for the drag source.
wine_drop_test_packages() {
  echo xvfb xdotool python3-gi gir1.2-gtk-3.0
}

# Installs the packages given that are missing; silent when all are there. Adds the i386
# architecture first when one of them is an i386 package.
install_windows_packages() {
  local missing=() pkg status
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$pkg")
  done
  ((${#missing[@]} == 0)) && return 0
  local as_root=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo (missing: ${missing[*]})" >&2; return 1; }
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)  # sudo drops the exported variable
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    hint="could not add the i386 architecture; run: dpkg --add-architecture i386"
    "${as_root[@]}" dpkg --add-architecture i386
  fi
  local log
  log=$(mktemp)
  if ! { "${as_root[@]}" apt-get update -qq && \
         "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "setup: installing ${missing[*]} failed (apt's output is above); check the network and the" \
         "package sources, or install them by hand: apt-get install ${missing[*]}" >&2
    return 1
  fi
  rm -f "$log"
}

# Builds GoogleTest from the Debian sources for Windows on ARCH with the MinGW compilers into
# DIR/googletest and installs it under DIR/googletest-install (once).
build_mingw_gtest() {
  local dir=$1 root=$2 arch=$3 log=$1/googletest.log
  [[ -f $dir/googletest-install/lib/cmake/GTest/GTestConfig.cmake ]] && return 0
  mkdir -p "$dir"
  hint="building GoogleTest for Windows ($arch) failed: its output is in $log"
  cmake -S /usr/src/googletest -B "$dir/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dir/googletest-install" -Dgtest_disable_pthreads=OFF >"$log" 2>&1
  cmake --build "$dir/googletest" -j2 >>"$log" 2>&1
  cmake --install "$dir/googletest" >>"$log" 2>&1
  hint=
}

# Whether this machine's kernel runs 32-bit x86 programs. The probe is a 32-bit program of 96
# bytes, written into FOLDER, that only exits with status 42: it needs no library and no package,
# so it answers the same before and after Wine is installed. Wine's 32-bit loader is such a
# program, so where the probe cannot run (the kernel answers "Exec format error"), neither can
# 32-bit Wine. Sets probe_answer to what was seen.
# QUORLIS_PRETEND_NO_32BIT=1 answers no without asking, to try the automatic choice of the 64-bit
# path on a machine that runs both.
kernel_runs_32bit() {
  local probe=$1/probe-i386 output status
  if [[ -n ${QUORLIS_PRETEND_NO_32BIT:-} ]]; then
    probe_answer="QUORLIS_PRETEND_NO_32BIT is set, which stands for a kernel that refuses 32-bit programs"
    return 1
  fi
  mkdir -p "$1"
  # The ELF header, one loadable segment, then the code: mov eax, 1; mov ebx, 42; int 0x80 (exit).
  local bytes='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'
  bytes+='\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00'
  bytes+='\x00\x00\x00\x00\x00\x00'
  bytes+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  bytes+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  bytes+='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
  printf "$bytes" >"$probe"
  chmod +x "$probe"
  status=0
  output=$("$probe" 2>&1) || status=$?
  if ((status == 42)); then
    probe_answer="a 32-bit test program ran"
    return 0
  fi
  output=${output##*: }
  if ((status > 128)); then
    output="it was ended by signal $((status - 128))"
  fi
  probe_answer="a 32-bit test program did not run: ${output:-exit status $status}"
  return 1
}

# Settles QUORLIS_WINE_BITS, the word size the Windows tests run at, and says which and why: 32
# where the kernel runs 32-bit programs, else 64. QUORLIS_WINE_BITS=32 or 64 forces either. FOLDER
# takes the probe.
choose_wine_bits() {
  local folder=$1
  case ${QUORLIS_WINE_BITS:-} in
    64)
      echo "windows: the Windows tests run 64-bit under wine64: QUORLIS_WINE_BITS=64 asks for it" ;;
    32)
      if ! kernel_runs_32bit "$folder"; then
        echo "windows: QUORLIS_WINE_BITS=32 asks for 32-bit Wine, but this machine cannot run it" \
             "($probe_answer); unset QUORLIS_WINE_BITS or set it to 64" >&2
        return 1
      fi
      echo "windows: the Windows tests run 32-bit under Wine: QUORLIS_WINE_BITS=32 asks for it" ;;
    '')
      if kernel_runs_32bit "$folder"; then
        QUORLIS_WINE_BITS=32
        echo "windows: the Windows tests run 32-bit under Wine: this machine's kernel runs 32-bit" \
             "programs ($probe_answer)"
      else
        QUORLIS_WINE_BITS=64
        echo "windows: the Windows tests run 64-bit under wine64: this machine's kernel runs no 32-bit" \
             "programs ($probe_answer); the 32-bit Quorlis.exe is built and its file checked, not run"
      fi ;;
    *)
      echo "windows: QUORLIS_WINE_BITS is '$QUORLIS_WINE_BITS'; set it to 32 or 64, or unset it to" \
           "choose by what this machine runs" >&2
      return 1 ;;
  esac
  export QUORLIS_WINE_BITS
}

# The Wine loader for BITS. Debian's wine script starts the 32-bit loader wherever it is installed,
# so 64-bit Wine is started by its own loader.
wine_loader() {
  if [[ $1 == 64 ]]; then echo /usr/lib/wine/wine64; else echo wine; fi
}

# Exports the environment of a private, headless Wine prefix at PREFIX for BITS.
export_wine_env() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [[ $2 == 64 ]]; then
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  else
    export WINEARCH=win32
    unset WINELOADER WINESERVER
  fi
}

# Stops the wine server of the prefix in the environment, and with it every Wine process there.
stop_wine_server() {
  timeout 60 "${WINESERVER:-wineserver}" -k </dev/null >/dev/null 2>&1 || true
}

# Creates the prefix at PREFIX for BITS (once), with the null graphics driver and no crash dialog,
# and starts its wine server. Every Wine call is bounded and detached from our pipes; their output
# goes to PREFIX.log.
setup_wine_prefix() {
  local prefix=$1 bits=$2 wine log=$1.log
  export_wine_env "$prefix" "$bits"
  wine=$(wine_loader "$bits")
  if [[ ! -f $prefix/.quorlis-ready ]]; then
    hint="making the Wine prefix $prefix failed: Wine's output is in $log; remove the prefix (rm -rf '$prefix') and run again"
    mkdir -p "$prefix"
    : >"$log"
    # wineboot reports failures of optional parts; the registry it leaves behind, written when the
    # server ends, is what counts.
    timeout 600 "$wine" wineboot -i </dev/null >>"$log" 2>&1 || true
    timeout 600 "${WINESERVER:-wineserver}" -w </dev/null >>"$log" 2>&1 || true
    [[ -f $prefix/system.reg ]]
    timeout 600 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
    timeout 600 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >>"$log" 2>&1
    timeout 600 "${WINESERVER:-wineserver}" -w </dev/null >>"$log" 2>&1 || true
    touch "$prefix/.quorlis-ready"
    hint=
  fi
  timeout 600 "${WINESERVER:-wineserver}" -p </dev/null >>"$log" 2>&1 || true
  timeout 600 "$wine" wineboot </dev/null >>"$log" 2>&1 || true
}
