#!/usr/bin/env bash
# The help page: it lies beside the programs and in the zip, unchanged, as
# UTF-8 that says so, and it names every TovimoCmd option, every key of the
# "MainForm" settings and every reason a drawing is not converted, as the
# sources have them now.
#   help_page_test.sh <sources> <windows build tree> <zip>
set -uo pipefail
src=$1 build=$2 zip=$3
page=$src/package/Tovimohelp.html
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmp -s "$page" "$build/bin/Tovimohelp.html" || fail "bin/Tovimohelp.html is missing or differs from package/"
if [[ -f $zip ]]; then
    unzip -p "$zip" Tovimohelp.html | cmp -s "$page" - || fail "Tovimohelp.html is missing from the zip or differs"
else
    fail "no zip at $zip"
fi
iconv -f UTF-8 -t UTF-8 "$page" >/dev/null 2>&1 || fail "the page is not valid UTF-8"
grep -qi '<meta charset="utf-8">' "$page" || fail "no <meta charset=\"utf-8\">"

# Named in the page as code: <code>/s</code>, <code>Rewite</code>, ...
named() { grep -qF "<code>$1" "$page"; }

# The options the command line parser takes (option == "/x").
options=$(grep -oE 'option == "/[^"]+"' "$src/src/portable/console/command_arguments.cpp" |
          sed -E 's/option == "([^"]+)"/\1/' | sort -u)
[[ -n $options ]] || fail "no options found in command_arguments.cpp"
for option in $options "@"; do
    named "$option" || fail "option $option is not named"
done

# The keys of section MainForm.
keys=$(sed -n '/^namespace settings_key {/,/^}/p' "$src/src/portable/settings/settings.h" |
       grep -oE '= "[^"]+"' | tr -d '="' | tr -d ' ')
(($(wc -w <<<"$keys") >= 20)) || fail "the settings keys were not found in settings.h"
for key in $keys; do
    named "$key" || fail "settings key $key is not named"
done

# The reasons of the list of drawings not converted, each explained.
reasons=$(cat "$src/src/portable/convert/skipped_drawing.cpp" "$src/src/portable/drawings/walk_problem.cpp" |
          grep -E 'case .*return "' | grep -oE 'return "[^"]+"' | sed -E 's/return "(.*)"/\1/')
(($(wc -l <<<"$reasons") >= 10)) || fail "the reasons were not found in skipped_drawing.cpp and walk_problem.cpp"
while IFS= read -r reason; do
    grep -qF "<td>$reason</td>" "$page" || fail "reason \"$reason\" is not explained"
done <<<"$reasons"

# Each bounded key's range, in the key's own row of a table.
ranges=$(grep -oE '\{settings_key::[A-Za-z]+, "[^"]*", "[^"]*", [0-9]+, [0-9]+\}' \
             "$src/src/portable/settings/setting_ranges.cpp" |
         sed -E 's/\{settings_key::([A-Za-z]+),.*, ([0-9]+), ([0-9]+)\}/\1 \2 \3/')
(($(wc -l <<<"$ranges") >= 3)) || fail "the ranges were not found in setting_ranges.cpp"
while read -r key minimum maximum; do
    grep -F "<tr><td>" "$page" | grep -F "<code>$key</code>" | grep -qF "$minimum から $maximum" ||
        fail "the range of $key ($minimum to $maximum) is not in its row"
done <<<"$ranges"

# Every exit code, in a row of its own.
codes=$(grep -oE '^ +Exit[A-Za-z]+ = [0-9]+' "$src/src/portable/console/exit_code.h" | grep -oE '[0-9]+$')
(($(wc -w <<<"$codes") >= 6)) || fail "the exit codes were not found in exit_code.h"
for code in $codes; do
    grep -qF "<tr><td>$code</td>" "$page" || fail "exit code $code has no row"
done

# The five placeholder lines of a macro and the end values.
for word in '#FILE' '#SAVEFILE' '#TMPNAME' '#ENTER' '#ESC' FILEDIA ISAVEBAK PROXYNOTICE Drawing1.dwg Pelkadu; do
    named "$word" || fail "$word is not named"
done

if ((failures > 0)); then
    echo "help page: $failures problem(s)"
    exit 1
fi
echo "help page: $(wc -w <<<"$options") options, $(wc -w <<<"$keys") settings keys, $(wc -l <<<"$reasons") reasons named"
