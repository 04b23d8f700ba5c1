# Sourced by e2e/run: building, the virtual display, Wine, cardemu, the programs, the probe and
# the bookkeeping of cases. Expects `root` and `out` to be set.
# The programs are the shipped i686 build under 32-bit Wine where this machine runs it, the x86_64
# build under wine64 otherwise; VZ_WIN_ARCH=i686|x86_64 chooses, VZ_NO_32BIT=1 forces x86_64.

host_build=$root/build/host
VZ_WIN_ARCH=${VZ_WIN_ARCH:-$(source "$root/scripts/wine-env" && echo "$VZ_WIN_ARCH")}
export VZ_WIN_ARCH
if [ "$VZ_WIN_ARCH" = i686 ]; then win_preset=win32; else win_preset=win64; fi
win_build=$root/build/$win_preset
emulator_log=$out/cardemu.log
passed=0
failed=0
EMULATOR_PID=""
EMULATOR_PORT=""
EMULATOR_SCENARIO=""
NO_DEVICE_PID=""
NO_DEVICE_PORT=""
TOOL_PID=""
XVFB_PID=""

e2e_build() {
    [ -f "$host_build/build.ninja" ] || cmake --preset host >/dev/null || return 1
    [ -f "$win_build/build.ninja" ] || cmake --preset "$win_preset" >/dev/null || return 1
    cmake --build "$host_build" --target cardemu >/dev/null || return 1
    cmake --build "$win_build" >/dev/null || return 1
}

e2e_start_display() {
    local fifo=$out/.display
    rm -f "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
        [ -s "$fifo" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -1 "$fifo")"
}

e2e_start_wine() {
    local name=${VZ_E2E_PREFIX_NAME:-e2e}
    export VZ_WINEPREFIX=$root/build/wine/$name-prefix
    [ "$VZ_WIN_ARCH" = i686 ] && VZ_WINEPREFIX+=32
    export VZ_WINEHOME=$root/build/wine/$name-home
    source "$root/scripts/wine-env"
    vz_wine_prefix
    /usr/lib/wine/wineserver -p
    # The adapter's key as the driver's setup leaves it: a PC card in domain 3.
    local key='HKLM\System\CurrentControlSet\Services\davuziro\Parameters'
    wine_quiet reg add "$key" /v Master_Name /t REG_SZ /d MASTER /f
    wine_quiet reg add "$key" /v CardType /t REG_SZ /d PCMCIA /f
    wine_quiet reg add "$key" /v Station_Type /t REG_DWORD /d 0 /f
    wine_quiet reg add "$key" /v Domain /t REG_DWORD /d 3 /f
}

wine_quiet() { timeout 60 "$VZ_WINE" "$@" >/dev/null 2>&1; }

e2e_cleanup() {
    stop_tool
    [ -f "$out/.monitor-pid" ] && kill "$(cat "$out/.monitor-pid")" 2>/dev/null
    stop_emulator
    [ -n "$NO_DEVICE_PID" ] && kill "$NO_DEVICE_PID" 2>/dev/null
    # Ends whatever is left in this prefix, and only there.
    /usr/lib/wine/wineserver -k 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -f "$out/.display" "$out/.monitor-pid"
}

# Control ids by the names the resource headers give them: $(tool_id IDC_MAIN_REPORT),
# $(monitor_id IDC_MONITOR_INFORMATION); IDOK and IDCANCEL are the window system's own.
resource_id() {  # resource_id HEADER NAME
    case $2 in
        IDOK) echo 1 ;;
        IDCANCEL) echo 2 ;;
        *) awk -v name="$2" '$1 == "#define" && $2 == name { print $3; found = 1 }
                END { if (!found) { print "no id " name > "/dev/stderr"; exit 1 } }' "$1" ;;
    esac
}
tool_id() { resource_id "$root/zazivev/res/resource.h" "$1"; }
monitor_id() { resource_id "$root/ruvedor/res/resource.h" "$1"; }

# The console's line ends come back as CR LF; the cases compare plain text.
probe() {
    timeout 120 "$VZ_WINE" "$win_build/e2e/probe.exe" "$@" 2>>"$out/probe.log" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}


screenshot() { import -display "$DISPLAY" -window root "$out/screens/$1.png" 2>/dev/null; }

start_emulator() {  # start_emulator SCENARIO [PORT]
    EMULATOR_SCENARIO=$1
    local port=${2:-0}
    stop_emulator
    rm -f "$out/.emulator-port"
    "$host_build/emulator/cardemu" --scenario "$EMULATOR_SCENARIO" --port "$port" \
        >"$out/.emulator-port" 2>>"$emulator_log" &
    EMULATOR_PID=$!
    for _ in $(seq 50); do
        [ -s "$out/.emulator-port" ] && break
        sleep 0.1
    done
    EMULATOR_PORT=$(head -1 "$out/.emulator-port")
    [ -n "$EMULATOR_PORT" ]
}

stop_emulator() {
    if [ -n "$EMULATOR_PID" ]; then
        kill "$EMULATOR_PID" 2>/dev/null
        wait "$EMULATOR_PID" 2>/dev/null
    fi
    EMULATOR_PID=""
}

# The same world on the same port, as a restarted driver would come back.
restart_emulator() { start_emulator "$EMULATOR_SCENARIO" "$EMULATOR_PORT"; }

emulator_address() { echo "${EMULATOR_ADDRESS-127.0.0.1:$EMULATOR_PORT}"; }

# A card without its driver. Under wine64 the programs search for the real, absent, device. 32-bit
# Wine crashes in DefineDosDeviceA(DDD_RAW_TARGET_PATH), which that search calls (Windows does
# not), so there the search goes through the link to a world without the card's device: the same
# search, the same failure, seen by the same program. That emulator runs until the cleanup.
start_no_device_emulator() {
    [ -n "$NO_DEVICE_PID" ] && return 0
    sed 's/^device davuziro 1$/device zeruve/' "$root/emulator/scenarios/default.scn" \
        >"$out/no-device.scn"
    "$host_build/emulator/cardemu" --scenario "$out/no-device.scn" --port 0 \
        >"$out/.no-device-port" 2>>"$emulator_log" &
    NO_DEVICE_PID=$!
    for _ in $(seq 50); do
        [ -s "$out/.no-device-port" ] && break
        sleep 0.1
    done
    NO_DEVICE_PORT=$(head -1 "$out/.no-device-port")
    [ -n "$NO_DEVICE_PORT" ]
}

# The emulator a program is to reach, in PROGRAM_ADDRESS: the running one, or with
# EMULATOR_ADDRESS="" none (under 32-bit Wine a world without the card's device, see above).
resolve_program_address() {
    PROGRAM_ADDRESS=$(emulator_address)
    if [ -z "$PROGRAM_ADDRESS" ] && [ "$VZ_WIN_ARCH" = i686 ]; then
        start_no_device_emulator || return 1
        PROGRAM_ADDRESS=127.0.0.1:$NO_DEVICE_PORT
    fi
}

# start_program DIR EXE: runs a program under Wine in its own folder, against the emulator
# (EMULATOR_ADDRESS="" runs it without a driver, see start_no_device_emulator); its pid goes to
# PROGRAM_PID.
start_program() {
    resolve_program_address || return 1
    local address=$PROGRAM_ADDRESS
    (
        cd "$1" || exit 1
        if [ -n "$address" ]; then export VEZUREZ_EMULATOR=$address; else unset VEZUREZ_EMULATOR; fi
        exec timeout 900 "$VZ_WINE" "$2" >/dev/null 2>&1
    ) &
    PROGRAM_PID=$!
}

vzsurvey_out=$out/vzsurvey


# run_vzsurvey NAME ARGS...: runs it to its end; standard output and error land in
# $vzsurvey_out/NAME.out and NAME.err (line ends as plain LF), its exit status in VZSURVEY_STATUS.
run_vzsurvey() {
    local name=$1
    shift
    mkdir -p "$vzsurvey_out"
    resolve_program_address || return 1
    local address=$PROGRAM_ADDRESS
    (
        cd "$win_build/vzsurvey" || exit 1
        if [ -n "$address" ]; then export VEZUREZ_EMULATOR=$address; else unset VEZUREZ_EMULATOR; fi
        timeout 300 "$VZ_WINE" vzsurvey.exe "$@" >"$vzsurvey_out/$name.out" 2>"$vzsurvey_out/$name.err"
    )
    VZSURVEY_STATUS=$?
    sed -i 's/\r$//' "$vzsurvey_out/$name.out" "$vzsurvey_out/$name.err"
}

start_tool() {
    stop_tool
    start_program "$win_build/zazivev" zazivev.exe
    TOOL_PID=$PROGRAM_PID
    probe wait "Vezurez Site Survey & Configuration Tool" 30000
}

# A second copy, run to its end: it must exit with 0.
run_tool_once() {
    (cd "$win_build/zazivev" && VEZUREZ_EMULATOR=$(emulator_address) timeout 60 "$VZ_WINE" zazivev.exe)
    local code=$?
    [ "$code" -eq 0 ] || echo "  second start exited with $code"
    return "$code"
}

stop_tool() {
    if [ -n "$TOOL_PID" ]; then
        kill "$TOOL_PID" 2>/dev/null
        wait "$TOOL_PID" 2>/dev/null
    fi
    TOOL_PID=""
}

wait_tool_exit() {  # wait_tool_exit CODE
    for _ in $(seq 300); do
        kill -0 "$TOOL_PID" 2>/dev/null || break
        sleep 0.1
    done
    wait "$TOOL_PID"
    local code=$?
    TOOL_PID=""
    [ "$code" -eq "$1" ] || { echo "  exit code $code, expected $1"; return 1; }
}

run_case() {
    local name=${1#case_}
    local start=$SECONDS
    if "$1"; then
        passed=$((passed + 1))
        echo "PASS $name ($((SECONDS - start)) s)"
    else
        failed=$((failed + 1))
        echo "FAIL $name ($((SECONDS - start)) s)"
        screenshot "failed-$name"
    fi
}

e2e_summary() {
    echo "$passed $failed" >"$out/summary.txt"
    echo "end to end on $(vz_build_label): $passed passed, $failed failed; screenshots in $out/screens"
    [ "$failed" -eq 0 ]
}
