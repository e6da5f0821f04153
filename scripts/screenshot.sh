#!/usr/bin/env bash
# Screenshots of the window program: Tovimo.exe under Wine's X11 driver on
# Xvfb (or the display given in $DISPLAY), with Japanese fonts, driving the
# stand-in AutoCAD. Writes PNGs of the file-type question, the main window
# with a dropped tree, its "設定" menu, the settings panel, the window during
# a run (its title telling the progress), the list of drawings not converted
# and the version window.
#   scripts/screenshot.sh [--dpi N] [OUT_DIR]   (default: docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
source "$root/scripts/build-lib.sh"
source "$root/scripts/window-lib.sh"

dpi=96
if [[ ${1:-} == --dpi ]]; then dpi=$2; shift 2; fi
out=$(mkdir -p "${1:-$root/docs/screenshots}" && cd "${1:-$root/docs/screenshots}" && pwd)

"$root/scripts/install-deps.sh" --window
echo "=== building the Windows tree ($windows_dir)"
build_windows >/dev/null

work=$windows_dir/screenshot-run
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/samples/dwg" "$root/samples/dxf" "$work/"
window_program_folder "$work/program" "/startup /cmddelay:250"

trap window_stop_display EXIT
# Room for the window with its settings panel open.
export TOVIMO_WINE_DPI=$dpi
export TOVIMO_WINE_DESKTOP=$((1200 * dpi / 96))x$((1300 * dpi / 96))
window_display $((1300 * dpi / 96))x$((1400 * dpi / 96))

shots() {
    set -e
    window_fonts
    local tool="$windows_dir/bin/window-tool.exe" suffix=""
    ((dpi != 96)) && suffix="-$dpi"
    winpath() { local p=Z:$1; echo "${p//\//\\}"; }
    (cd "$work" && wine "$work/program/Tovimo.exe" "$(winpath "$work/dwg")" "$(winpath "$work/dxf")" \
        >/dev/null 2>&1 &)
    # Both kinds dropped: the question comes first.
    wine "$tool" wait TFileTypeDlg 60 >/dev/null
    sleep 1
    window_shot TFileTypeDlg "$out/filetype$suffix.png"
    wine "$tool" press TFileTypeDlg DwgBitBtn
    wine "$tool" gone TFileTypeDlg 10
    sleep 1
    window_shot TForm1 "$out/main$suffix.png"
    # "設定" (the second item of the menu bar) open at "同時に使うAutoCAD".
    wine "$tool" menu TForm1 Right Down Down Down Right
    sleep 1
    window_menu_shot TForm1 "$out/settings-menu$suffix.png"
    wine "$tool" keys TForm1 Escape Escape Escape
    sleep 1
    wine "$tool" command TForm1 SettingOpenMenu
    sleep 1
    window_shot TForm1 "$out/settings$suffix.png"
    wine "$tool" press TForm1 SettingCloseBitBtn
    sleep 1
    window_run_and_shoot "$out" "$suffix"
    sleep 1
    wine "$tool" command TForm1 AboutVer
    wine "$tool" wait TAboutBox 10 >/dev/null
    sleep 1
    window_shot TAboutBox "$out/about$suffix.png"
    wine "$tool" ok TAboutBox
    wine "$tool" close TForm1
    wine "$tool" gone TForm1 15 || true
}
export -f shots window_shot window_menu_shot window_fonts window_run_and_shoot
export root windows_dir work out dpi
"$root/scripts/wine-session" "$windows_dir" bash -c shots
echo "=== screenshots in $out:"
ls "$out"
