# Shared set-up for ./run, ./test and the other top-level commands.
# Source it from bash: it installs what is missing and defines helpers.

KTV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG=-all
export WINEPREFIX="$KTV_ROOT/build/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts

ktv_packages=(cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev clang-format
              g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick
              x11-utils x11-xkb-utils procps nsis python3 nlohmann-json3-dev)

# Installs the Debian packages the build and the tests need, when missing.
ktv_install_packages() {
    local missing=()
    for package in "${ktv_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" \
            || missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "== Installing: ${missing[*]}"
        if [[ $(id -u) -ne 0 ]]; then
            echo "Missing packages and not root: install them with apt-get" >&2
            return 1
        fi
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
}

# Configures (once) and builds one CMake preset.
ktv_build() {
    local preset=$1
    if [[ ! -f "$KTV_ROOT/build/$preset/build.ninja" ]]; then
        cmake --preset "$preset" -S "$KTV_ROOT" >/dev/null
    fi
    cmake --build --preset "$preset"
}

# Runs a Windows program under Wine with address randomisation off when the
# system allows it: with it on, about one Wine start in 2,500 fails at once
# (the fixed address of the shared user data is taken). The toolchain file
# does the same for ctest.
ktv_wine() {
    if setarch x86_64 -R true 2>/dev/null; then
        setarch x86_64 -R wine "$@"
    else
        wine "$@"
    fi
}

# Starts a private X display (24-bit) and a persistent wineserver on it, and
# stops both when the calling script exits. Keeps Wine process starts fast.
ktv_start_wine_display() {
    local display
    for display in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] && continue
        # -noreset: a server that resets when its last client goes also forgets
        # the keyboard layout a test has set.
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        KTV_XVFB_PID=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        break
    done
    trap ktv_stop_wine_display EXIT
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        echo "== Creating the Wine prefix (once)"
        wineboot -i >/dev/null 2>&1 || true
        # wineboot leaves a server running for a few seconds; a persistent
        # one can only start after it has gone.
        wineserver -w || true
    fi
    # Fails when a server for this prefix is still up (another command's);
    # Wine then starts one per process, which is slower but correct.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit >/dev/null 2>&1 || true
    ktv_keep_wine_desktop
}

# Wine starts its desktop process (explorer.exe) from the first program that
# needs a window and hands it that program's standard error. The desktop then
# lives as long as any program has a window, so under ctest one test's output
# pipe could stay open until a later test ended, and ctest waited on it until
# the timeout. An idle cmd that reads from a pipe this shell holds starts the
# desktop with no output and keeps it up until the shell closes the pipe.
ktv_keep_wine_desktop() {
    exec {KTV_DESKTOP_KEEPER}> >(exec wine cmd >/dev/null 2>&1)
    for _ in $(seq 50); do
        pgrep -f 'explorer.exe /desktop' >/dev/null && break
        sleep 0.1
    done
}

ktv_stop_wine_display() {
    [[ -n "${KTV_DESKTOP_KEEPER:-}" ]] && exec {KTV_DESKTOP_KEEPER}>&- || true
    wineserver -k >/dev/null 2>&1 || true
    [[ -n "${KTV_XVFB_PID:-}" ]] && kill "$KTV_XVFB_PID" >/dev/null 2>&1 || true
}
