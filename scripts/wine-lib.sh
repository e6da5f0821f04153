# Shared by the Wine scripts: the environment of the private Wine prefix of
# one Windows build tree, its creation, and the end of its processes.
# Source it, then call wine_env <build-dir>.

wine_env() {
    local build_dir
    build_dir=$(cd "$1" && pwd) || return 1
    export TOVIMO_BUILD_DIR=$build_dir
    export WINEPREFIX=$build_dir/wineprefix
    # How many prefixes the tree has for programs that run side by side.
    export TOVIMO_WINE_PREFIXES=${TOVIMO_WINE_PREFIXES:-1}
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
        export TOVIMO_WINE_PREFIXES=1
        export DISPLAY=$TOVIMO_WINE_DISPLAY
        unset WAYLAND_DISPLAY
    else
        # Headless: Wine's null graphics driver, never an X server.
        unset DISPLAY WAYLAND_DISPLAY
    fi
    wine_first_prefix=$WINEPREFIX
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

# Makes the prefix of WINEPREFIX once, as a copy of the tree's template
# prefix (booted once: booting takes some 25 s, a copy well under one), and
# imports the registry settings whenever they differ from the last import.
# A stamp file marks a finished prefix. Serialised with a lock, so that
# concurrent callers do each step once.
wine_prepare_prefix() {
    local stamp=$WINEPREFIX/.tovimo-created
    local wanted=$TOVIMO_BUILD_DIR/wine-registry.reg
    local log=$TOVIMO_BUILD_DIR/wine-prefix.log
    (
        flock 9
        if [[ ! -e $stamp ]]; then
            wine_make_template || exit 1
            rm -rf "$WINEPREFIX"
            wine_copy_prefix "$TOVIMO_BUILD_DIR/wineprefix-template" "$WINEPREFIX" || exit 1
        fi
        wine_registry_file >"$wanted"
        wine_import_registry "$wanted" || exit 1
    ) 9>"$TOVIMO_BUILD_DIR/wine-prefix.lock"
}

# Boots the template prefix unless it is there, with the registry settings
# imported, and waits until its server has written it out and ended.
wine_make_template() {
    local WINEPREFIX=$TOVIMO_BUILD_DIR/wineprefix-template
    local stamp=$WINEPREFIX/.tovimo-created
    local log=$TOVIMO_BUILD_DIR/wine-prefix.log
    [[ -e $stamp ]] && return 0
    echo "wine: creating the prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    local started=$SECONDS
    if ! timeout 300 wineboot -i >"$log" 2>&1 </dev/null; then
        echo "wine: wineboot -i failed, see $log" >&2
        return 1
    fi
    # wineboot ends before its server does; wait for the prefix to be
    # written out.
    timeout 60 wineserver -w >/dev/null 2>&1 </dev/null
    local registry=$TOVIMO_BUILD_DIR/wine-registry.reg
    wine_registry_file >"$registry"
    wine_import_registry "$registry" || return 1
    timeout 60 wineserver -w >/dev/null 2>&1 </dev/null
    touch "$stamp"
    echo "wine: prefix created in $((SECONDS - started)) s" >&2
}

# Imports the registry file into WINEPREFIX unless it was the last import.
wine_import_registry() {
    local wanted=$1 imported=$WINEPREFIX/.tovimo-registry.reg
    local log=$TOVIMO_BUILD_DIR/wine-prefix.log
    cmp -s "$wanted" "$imported" && return 0
    if ! timeout 120 wine regedit /S "Z:${wanted//\//\\}" >>"$log" 2>&1 </dev/null; then
        echo "wine: registry import failed, see $log" >&2
        return 1
    fi
    cp "$wanted" "$imported"
}

# Copies a prefix whose server has ended. Wine's modules and tables (some
# 700 MB) are only ever read: the copy links them. Everything else, the
# registry, the users' folders and the .ini files among it, is copied.
wine_copy_prefix() {
    local from=$1 to=$2
    cp -a --link "$from" "$to" || return 1
    find "$to" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
        -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.tlb' -o -iname '*.com' \
        -o -iname '*.nls' -o -iname '*.ds' -o -iname '*.ax' -o -iname '*.msstyles' \) \
        -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} + || return 1
}

# The prefix number N of the tree (1 is WINEPREFIX as wine_env set it).
# Several prefixes let Wine programs run side by side: each has its own
# server, desktop and temporary folder, so the programs of one never see
# those of another.
wine_numbered_prefix() {
    if (($1 == 1)); then
        echo "$wine_first_prefix"
    else
        echo "$wine_first_prefix-$1"
    fi
}

# Takes the first prefix of the tree that no other wine-run uses, waiting
# while all are in use, and sets WINEPREFIX and wine_prefix_number. The
# lock is on file descriptor 8 and lasts until the caller ends: whatever
# the caller starts must not inherit it (8>&-).
wine_take_prefix() {
    local n
    for (( ; ; )); do
        for ((n = 1; n <= TOVIMO_WINE_PREFIXES; ++n)); do
            exec 8>"$(wine_numbered_prefix "$n").in-use"
            if flock -n 8; then
                WINEPREFIX=$(wine_numbered_prefix "$n")
                wine_prefix_number=$n
                return 0
            fi
            exec 8>&-
        done
        sleep 0.2
    done
}

# The program of the bin folder that a program in prefix number N > 1 runs:
# a copy of the folder of its own beside the prefix, since programs write
# beside themselves (AutoCAD's tmp.dwg at the end of a run) and programs in
# other prefixes must not meet there. The programs are linked, the rest is
# copied, and the samples lie beside the copy as beside the bin folder.
wine_program_copy() {
    local exe=$1 bin
    bin=$(readlink -f "$TOVIMO_BUILD_DIR/bin")
    if ((wine_prefix_number == 1)) || [[ ${exe%/*} != "$bin" ]]; then
        echo "$exe"
        return 0
    fi
    local tree=$WINEPREFIX-tree file
    rm -rf "$tree"
    mkdir -p "$tree/bin" || return 1
    for file in "$bin"/*; do
        [[ -f $file ]] || continue
        if [[ $file == *.exe ]]; then
            ln "$file" "$tree/bin/" || return 1
        else
            cp -p "$file" "$tree/bin/" || return 1
        fi
    done
    if [[ -d $TOVIMO_BUILD_DIR/samples ]]; then
        cp -a "$TOVIMO_BUILD_DIR/samples" "$tree/" || return 1
    fi
    echo "$tree/bin/${exe##*/}"
}

# Makes the TOVIMO_WINE_PREFIXES prefixes of the tree (see wine_prepare_prefix).
wine_prepare_prefixes() {
    local n
    for ((n = 1; n <= TOVIMO_WINE_PREFIXES; ++n)); do
        WINEPREFIX=$(wine_numbered_prefix "$n") wine_prepare_prefix || return 1
    done
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
    local file dir pid exe cmd
    # One grep reads every environment: a loop over all processes of a busy
    # machine took a second.
    for file in $(grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ); do
        dir=${file%/environ}
        pid=${dir#/proc/}
        exe=$(readlink "$dir/exe" 2>/dev/null) || continue
        case ${exe##*/} in
            wineserver*) continue ;;
            wine*) ;;
            *) continue ;;
        esac
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

# The same for each of the tree's prefixes, and for the template, whose
# boot may have been interrupted.
wine_stop_prefixes() {
    local n
    for ((n = 1; n <= TOVIMO_WINE_PREFIXES; ++n)); do
        WINEPREFIX=$(wine_numbered_prefix "$n") wine_stop_all
    done
    WINEPREFIX=$TOVIMO_BUILD_DIR/wineprefix-template wine_stop_all
}
