# Shared by the scripts that show the window program: an X display to draw
# on (Xvfb when there is none), Japanese fonts in the Wine prefix, a
# program folder with Tovimo, Pelkadu and a settings file that drives the
# stand-in AutoCAD, and screenshots of single windows.
# Source it after build-lib.sh; it needs $root and $windows_dir.

# Starts Xvfb on a free display unless $DISPLAY is usable; sets
# TOVIMO_WINE_DISPLAY. Xvfb is ended by window_stop_display.
window_display() {
    local size=${1:-1280x1024}
    xvfb_pid=
    if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
        export TOVIMO_WINE_DISPLAY=$DISPLAY
        return 0
    fi
    local n
    for n in $(seq 90 120); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
        xvfb_pid=$!
        export TOVIMO_WINE_DISPLAY=:$n
        local i
        for i in $(seq 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && return 0
            sleep 0.1
        done
        echo "window: Xvfb did not start on :$n" >&2
        return 1
    done
    echo "window: no free X display" >&2
    return 1
}

window_stop_display() {
    [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
    return 0
}

# Inside a wine-session: the Windows font names that the program asks for,
# mapped to the IPA Gothic fonts of Debian, and Wine's Marlett, which draws
# the caption buttons. Debian's Wine does not look in its own font folder
# (fonts-wine), in any locale: without a copy in the prefix's Fonts folder
# the buttons show as "0 1 r".
window_fonts() {
    local marlett=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [[ -e $marlett ]]; then
        mkdir -p "$fonts" && cp -u "$marlett" "$fonts/"
    else
        echo "window: $marlett missing (package fonts-wine): caption buttons show as letters" >&2
    fi
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v "ＭＳ Ｐゴシック" /d IPAPGothic /f >/dev/null 2>&1
    wine reg add "$key" /v "ＭＳ ゴシック" /d IPAGothic /f >/dev/null 2>&1
    wine reg add "$key" /v "MS UI Gothic" /d IPAPGothic /f >/dev/null 2>&1
}

# window_program_folder FOLDER [ACADARG]: Tovimo.exe, Pelkadu.exe and a
# settings file whose AutoCAD is the stand-in of the build tree.
window_program_folder() {
    local folder=$1 acad_arg=${2:-/startup}
    # Beside the stand-in AutoCAD's window (800 x 600 from the top left),
    # not behind it.
    mkdir -p "$folder"
    cp "$windows_dir/bin/Tovimo.exe" "$windows_dir/bin/Pelkadu.exe" "$windows_dir/bin/Tovimohelp.html" "$folder/"
    local standin="Z:${windows_dir//\//\\}\\bin\\standin-acad.exe"
    {
        printf '[MainForm]\r\nTop=20\r\nLeft=820\r\nAcadPath=%s\r\nAcadArg=%s\r\nCommandWait=50\r\nGetChildFolder=1\r\n' \
            "$standin" "$acad_arg"
        sed -n '/^\[dwgtodxf\]/,$p' "$root/samples/tovimo.ini" | sed 's/\r$//; s/$/\r/'
    } | iconv -f UTF-8 -t CP932 >"$folder/tovimo.ini"
}

# window_shot CLASS FILE: a PNG of the first visible window of the class,
# cut from the X display. Inside a wine-session.
window_shot() {
    local class=$1 file=$2 rect
    rect=$(wine "$windows_dir/bin/window-tool.exe" rect "$class" 2>/dev/null | tr -d '\r') || return 1
    read -r x y w h <<<"$rect"
    ((x < 0)) && { w=$((w + x)); x=0; }
    ((y < 0)) && { h=$((h + y)); y=0; }
    mkdir -p "$(dirname "$file")"
    local convert=convert
    [[ -x /usr/bin/convert ]] && convert=/usr/bin/convert  # ImageMagick's own
    xwd -root -silent -display "$TOVIMO_WINE_DISPLAY" | "$convert" xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$file"
}

# window_menu_shot CLASS FILE: a PNG of the window with its open menus,
# cut from the X display. Wine leaves popup menus black on a virtual X
# server, so each open menu is drawn by the program itself (window-tool's
# "menus") and pasted where it shows. Inside a wine-session.
window_menu_shot() {
    local class=$1 file=$2 tool="$windows_dir/bin/window-tool.exe" rect menus bitmap
    rect=$(wine "$tool" rect "$class" 2>/dev/null | tr -d '\r') || return 1
    read -r x y w h <<<"$rect"
    local right=$((x + w)) bottom=$((y + h))
    menus=$(mktemp -d)
    wine "$tool" menus "$class" "Z:${menus//\//\\}" || { rm -rf "$menus"; return 1; }
    local convert=convert
    [[ -x /usr/bin/convert ]] && convert=/usr/bin/convert
    local paste=()
    for bitmap in "$menus"/menu+*.bmp; do
        local at=${bitmap##*/menu}
        at=${at%.bmp}
        local left=${at#+} top
        top=${left#*+}
        left=${left%%+*}
        local size
        size=$("$convert" "$bitmap" -format '%w %h' info:)
        read -r mw mh <<<"$size"
        ((left + mw > right)) && right=$((left + mw))
        ((top + mh > bottom)) && bottom=$((top + mh))
        paste+=("$bitmap" -geometry "$at" -composite)
    done
    ((x < 0)) && x=0
    ((y < 0)) && y=0
    mkdir -p "$(dirname "$file")"
    xwd -root -silent -display "$TOVIMO_WINE_DISPLAY" |
        "$convert" xwd:- "${paste[@]}" -crop "$((right - x))x$((bottom - y))+${x}+${y}" +repage "$file"
    rm -rf "$menus"
}

# window_run_and_shoot FOLDER SUFFIX: inside a wine-session, with Tovimo.exe
# showing a list of DWG drawings: presses "DXFで保存", shoots the window
# during the run and the list of drawings not converted at its end, and
# answers the list and the end message (whose shot is taken when
# WINDOW_SHOOT_END is set).
window_run_and_shoot() {
    local folder=$1 suffix=$2 tool="$windows_dir/bin/window-tool.exe"
    wine "$tool" press TForm1 ToDxfBitBtn
    sleep 12
    window_shot TForm1 "$folder/running$suffix.png"
    wine "$tool" wait TSkipForm 180 >/dev/null
    sleep 1
    window_shot TSkipForm "$folder/skipped$suffix.png"
    wine "$tool" ok TSkipForm
    wine "$tool" wait '#32770' 60 >/dev/null
    sleep 1
    [[ -n ${WINDOW_SHOOT_END:-} ]] && window_shot '#32770' "$folder/end$suffix.png"
    wine "$tool" ok '#32770'
}
