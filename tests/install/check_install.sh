#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks what a user's machine would get:
# the programs, a valid menu entry whose Exec and Icon resolve, both icons and the
# manual page, and that the installed ombrix-fade runs. The menu entry, its icon and the
# AppStream listing are all named by the application id.
# Usage: check_install.sh CMAKE BUILD_DIR EXPECT_GUI(0|1) APP_ID
set -euo pipefail

cmake=$1 build=$2 expect_gui=$3 app_id=$4
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$stage "$cmake" --install "$build" --prefix /usr >"$stage.log" 2>&1 || {
    cat "$stage.log" >&2; rm -f "$stage.log"; echo "FAIL: cmake --install" >&2; exit 1; }
rm -f "$stage.log"
root=$stage/usr

programs=(ombrix-fade)
[[ $expect_gui == 1 ]] && programs+=(ombrix)
for p in "${programs[@]}"; do
    [[ -f $root/bin/$p && -x $root/bin/$p ]] || fail "bin/$p is missing or not executable"
done

# The menu entry must be valid and name a program and an icon that were installed.
desktop=$root/share/applications/$app_id.desktop
if [[ ! -f $desktop ]]; then
    fail "share/applications/$app_id.desktop is missing: $(ls "$root/share/applications" 2>&1)"
else
    if ! command -v desktop-file-validate >/dev/null; then
        fail "desktop-file-validate not found (desktop-file-utils; scripts/setup.sh installs it)"
    else
        # Hints are advice; warnings and errors are not.
        if ! report=$(desktop-file-validate "$desktop" 2>&1) || grep -qE ': (warning|error):' <<<"$report"; then
            fail "desktop-file-validate: $report"
        fi
        # Menus file an entry under each main category it names: it must name one.
        grep -q 'more than one main category' <<<"$report" && fail "desktop entry: $report"
    fi
    value() { sed -n "s/^$1=//p" "$desktop"; }
    [[ $(value Name) == "HTML Ombrix" ]] || fail "desktop Name is '$(value Name)'"
    exec_name=$(value Exec | cut -d' ' -f1)
    [[ $exec_name == ombrix ]] || fail "desktop Exec runs '$exec_name', not ombrix"
    if [[ $expect_gui == 1 && ! -x $root/bin/$exec_name ]]; then
        fail "desktop Exec '$exec_name' is not in bin/"
    fi
    icon=$(value Icon)
    [[ $icon == "$app_id" ]] || fail "desktop Icon is '$icon', not the application id $app_id"
fi

# The listing names the same id and launches that entry.
metainfo=$root/share/metainfo/$app_id.metainfo.xml
if [[ ! -f $metainfo ]]; then
    fail "share/metainfo/$app_id.metainfo.xml is missing"
else
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the AppStream id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the AppStream listing does not launch $app_id.desktop"
fi

# Icons: the name the entry asks for, in the hicolor theme, one bitmap of the size its
# folder promises and one scalable picture.
png=$root/share/icons/hicolor/32x32/apps/$app_id.png
svg=$root/share/icons/hicolor/scalable/apps/$app_id.svg
if [[ ! -f $png ]]; then
    fail "32x32 icon ${png#"$stage"} is missing"
else
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [[ $signature == 89504e470d0a1a0a ]] || fail "${png#"$stage"} is not a PNG"
    # IHDR width and height, big-endian, at byte 16.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ $w == 32 && $h == 32 ]] || fail "${png#"$stage"} is ${w}x${h}, not 32x32"
fi
if [[ ! -f $svg ]]; then
    fail "scalable icon ${svg#"$stage"} is missing"
else
    grep -q '<svg' "$svg" || fail "${svg#"$stage"} is not an SVG picture"
fi

# The manual page, compressed or not, must render and describe the command.
man1=$root/share/man/man1
page=
for candidate in "$man1"/ombrix-fade.1.gz "$man1"/ombrix-fade.1; do
    [[ -f $candidate ]] && { page=$candidate; break; }
done
if [[ -z $page ]]; then
    fail "share/man/man1/ombrix-fade.1[.gz] is missing"
elif ! command -v man >/dev/null; then
    fail "man not found (man-db; scripts/setup.sh installs it)"
else
    text=$(MANWIDTH=80 man -l "$page" 2>&1) || fail "man -l ${page#"$stage"} fails: $text"
    for heading in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES; do
        grep -q "^$heading\$" <<<"$text" || fail "manual page has no $heading section"
    done
    grep -q 'ombrix-fade - ' <<<"$text" || fail "manual page NAME does not name ombrix-fade"
fi

# The installed command works on its own, away from the build tree.
fade=$root/bin/ombrix-fade
if [[ -x $fade ]]; then
    if help=$(cd "$stage" && "$fade" --help </dev/null); then
        [[ $help == "Usage: ombrix-fade"* ]] || fail "ombrix-fade --help prints: ${help%%$'\n'*}"
    else
        fail "installed ombrix-fade --help exits with $?"
    fi
    out=$(printf 'ab' | "$fade" --color 16,0,0 --color 0,0,16) || fail "installed ombrix-fade fails on input"
    [[ $out == '<FONT COLOR=800080>a<FONT COLOR=0000FF>b' ]] || fail "installed ombrix-fade writes '$out'"
fi

if ((failures)); then
    echo "$failures failed" >&2
    exit 1
fi
echo "install layout ok (${programs[*]})"
