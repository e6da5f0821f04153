# Shared by the Wine scripts: the environment of the private Wine prefix of
# one Windows build tree, its creation, and the end of its processes.
# Source it, then call wine_env <build-dir>.

wine_env() {
    local build_dir
    build_dir=$(cd "$1" && pwd) || return 1
    export TOVIMO_BUILD_DIR=$build_dir
    export WINEPREFIX=$build_dir/wineprefix
    export WINEARCH=win64
    export WINEDEBUG=${TOVIMO_WINEDEBUG:--all}
    # mscoree and mshtml off: the prefix is created without asking for Mono
    # or Gecko. winemenubuilder off: Wine writes nothing into the home folder.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Makes GetACP() give 932 (Shift-JIS), as on the users' Japanese Windows.
    # GetACP() says 932 even without the glibc locale, but then Wine turns
    # file names into ASCII and every path with a Japanese name fails: the
    # locale is compiled into the build tree once and found through LOCPATH.
    export LC_ALL=ja_JP.UTF-8
    wine_locale "$build_dir" || return 1
    if [[ -n ${TOVIMO_WINE_DISPLAY:-} ]]; then
        # Windows to look at: a prefix of its own that draws on this X
        # display (Xvfb for screenshots), at TOVIMO_WINE_DPI (default 96).
        export WINEPREFIX=$build_dir/wineprefix-x11
        export DISPLAY=$TOVIMO_WINE_DISPLAY
        unset WAYLAND_DISPLAY
    else
        # Headless: Wine's null graphics driver, never an X server.
        unset DISPLAY WAYLAND_DISPLAY
    fi
}

# Compiles the glibc locale ja_JP.UTF-8 into <build-dir>/locale unless the
# system has it already, and points LOCPATH there.
wine_locale() {
    if locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
        return 0
    fi
    local dir=$1/locale
    if [[ ! -e $dir/ja_JP.UTF-8/LC_CTYPE ]]; then
        mkdir -p "$dir"
        localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
        if [[ ! -e $dir/ja_JP.UTF-8/LC_CTYPE ]]; then
            echo "wine: cannot compile the locale ja_JP.UTF-8 (package locales)" >&2
            return 1
        fi
    fi
    export LOCPATH=$dir
}

# The registry settings of the prefix: the null graphics driver, and the
# ".dwg" association that starts the stand-in AutoCAD of this build tree.
wine_registry_file() {
    local exe_unix=$TOVIMO_BUILD_DIR/bin/standin-acad.exe
    local exe_win="Z:${exe_unix//\//\\}"
    local exe_reg=${exe_win//\\/\\\\}
    local graphics=null dpi desktop=
    dpi=$(printf '%08x' "${TOVIMO_WINE_DPI:-96}")
    if [[ -n ${TOVIMO_WINE_DISPLAY:-} ]]; then
        # One virtual desktop, drawn with frames and title bars, that every
        # program of the prefix shows its windows on.
        graphics=x11
        desktop="
[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
\"Desktop\"=\"Default\"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
\"Default\"=\"${TOVIMO_WINE_DESKTOP:-1024x900}\"
"
    fi
    cat <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Graphics"="$graphics"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$dpi

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]
"LogPixels"=dword:$dpi
$desktop
[HKEY_CLASSES_ROOT\\.dwg]
@="Tovimo.StandinDrawing"

[HKEY_CLASSES_ROOT\\Tovimo.StandinDrawing]
@="Stand-in AutoCAD drawing"

[HKEY_CLASSES_ROOT\\Tovimo.StandinDrawing\\shell\\open\\command]
@="\\"$exe_reg\\" \\"%1\\""
REG
}

# Creates the prefix once (a stamp file marks a finished creation) and
# imports the registry settings whenever they differ from the last import.
# Serialised with a lock, so concurrent callers do it once.
wine_prepare_prefix() {
    local stamp=$WINEPREFIX/.tovimo-created
    local imported=$WINEPREFIX/.tovimo-registry.reg
    local wanted=$TOVIMO_BUILD_DIR/wine-registry.reg
    local log=$TOVIMO_BUILD_DIR/wine-prefix.log
    (
        flock 9
        if [[ ! -e $stamp ]]; then
            echo "wine: creating the prefix $WINEPREFIX" >&2
            rm -rf "$WINEPREFIX"
            local started=$SECONDS
            if ! timeout 300 wineboot -i >"$log" 2>&1 </dev/null; then
                echo "wine: wineboot -i failed, see $log" >&2
                exit 1
            fi
            # wineboot ends before its server does; wait for the prefix to
            # be written out.
            timeout 60 wineserver -w >/dev/null 2>&1 </dev/null
            rm -f "$imported"
            touch "$stamp"
            echo "wine: prefix created in $((SECONDS - started)) s" >&2
        fi
        wine_registry_file >"$wanted"
        if ! cmp -s "$wanted" "$imported"; then
            if ! timeout 120 wine regedit /S "Z:${wanted//\//\\}" >>"$log" 2>&1 </dev/null; then
                echo "wine: registry import failed, see $log" >&2
                exit 1
            fi
            cp "$wanted" "$imported"
        fi
    ) 9>"$TOVIMO_BUILD_DIR/wine-prefix.lock"
}

# Starts the prefix's own services (services.exe, explorer and the like)
# with their output away from ours: they live as long as the server, and a
# service holding the pipe of a test runner keeps the runner waiting.
wine_warm_up() {
    timeout 120 wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
    return 0
}

# Process ids of the Wine processes (Windows programs) that run in this
# prefix; its server is not one of them. With a pattern, only those whose
# command line matches it (extended regular expression, letter case aside).
wine_prefix_pids() {
    local pattern=${1:-}
    local dir pid exe cmd
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        exe=$(readlink "$dir/exe" 2>/dev/null) || continue
        case ${exe##*/} in
            wineserver*) continue ;;
            wine*) ;;
            *) continue ;;
        esac
        { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        cmd=$({ tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null) || continue
        [[ -z $cmd ]] && continue
        if [[ -n $pattern ]] && ! grep -qiE -- "$pattern" <<<"$cmd"; then continue; fi
        echo "$pid"
    done
}

# Ends every process of the prefix and its server.
wine_stop_all() {
    timeout 30 wineserver -k >/dev/null 2>&1 </dev/null
    local pid
    for pid in $(wine_prefix_pids); do
        kill -KILL "$pid" 2>/dev/null
    done
    return 0
}
