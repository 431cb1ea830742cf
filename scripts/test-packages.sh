#!/usr/bin/env bash
# The packaging stage: makes the Debian package and the Windows installer and
# zip (scripts/package.sh), then checks them as a user would meet them:
#  - lintian finds no error or warning; the desktop entry validates; the file
#    type of DVD-RB projects loads into a scratch MIME database and names
#    REBUILDER.ECL and REBUILDER.INF in any letter case; both manual pages
#    format without a warning; apt could install the package on this system;
#  - both programs unpacked from the .deb run the example job and write the
#    same four files, and print the same report, as the build tree's program;
#  - ratequill-cli.exe imports only Windows' own DLLs; the installer installs
#    silently (/S) under Wine into a scratch prefix, with its Start-menu
#    entries, the window (ratequill.exe with Qt's DLLs and plugins) and its
#    "Open with" for .ecl and .inf; the installed ratequill-cli.exe, and the
#    installed ratequill.exe with its window and with /nogui on an X display
#    (Xvfb), run the example job byte-identical to the build tree's; the zip
#    holds the same programs; the uninstaller removes what was installed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/package.sh
build/release/ratequill-cli --version >/dev/null
version="$(sed -n 's/^project(Ratequill VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
deb="build/packages/ratequill_${version}_amd64.deb"
setup="build/packages/ratequill-${version}-win64.exe"
zip="$PWD/build/packages/ratequill-${version}-win64.zip"
reference="$PWD/build/release/ratequill-cli"

work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-packages.XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# run_example DIR PROGRAM...: the example job and its report, on a fresh copy
# of the example project in DIR; the report goes to DIR/report.txt. PROGRAM
# is given the project as the path it should see (see windows_path).
job=(/vts=v02 /min=1850 /max_via_bitrate /autosave)
to_path() { printf '%s' "$1"; }
run_example() {
    local dir="$1"; shift
    mkdir -p "$dir"
    cp examples/REBUILDER.ECL examples/REBUILDER.INF "$dir/"
    "$@" "/ecl=$(to_path "$dir/REBUILDER.ECL")" "${job[@]}"
    "$@" --report "/ecl=$(to_path "$dir/REBUILDER.ECL")" >"$dir/report.txt"
}
# same_as_reference DIR: the four files and the report equal the reference's.
same_as_reference() {
    local f
    for f in REBUILDER.ECL REBUILDER.INF REBUILDER.ECLBAK REBUILDER.INFBAK report.txt; do
        cmp "$work/reference/$f" "$1/$f" || fail "$1/$f differs from the build tree's"
    done
}
run_example "$work/reference" "$reference"
cmp -s "$work/reference/REBUILDER.ECL" examples/REBUILDER.ECL && fail "the example job changed nothing"

echo "== The Debian package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
lintian_ok=1
lintian --fail-on error,warning --display-info --show-overrides "$deb" >"$work/lintian.log" 2>&1 || lintian_ok=0
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$lintian_ok" = 1 ] || fail "lintian reports errors or warnings"
apt-get install --simulate -qq "./$deb" >/dev/null || fail "apt cannot install the package"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/ratequill.desktop"

mime="$work/xdg/mime"
mkdir -p "$mime/packages" "$work/names"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/ratequill.xml" "$mime/packages/"
update-mime-database "$mime" >"$work/mime.log" 2>&1
if grep -iE 'error|warning|unknown|invalid' "$work/mime.log"; then fail "the file type does not load"; fi
for name in REBUILDER.ECL REBUILDER.INF rebuilder.ecl Rebuilder.Inf; do
    ext="${name##*.}"
    cp "examples/REBUILDER.${ext^^}" "$work/names/$name"
    type="$(XDG_DATA_HOME="$work/none" XDG_DATA_DIRS="$work/xdg" \
            gio info -a standard::content-type "$work/names/$name" | sed -n 's/.*content-type: //p')"
    [ "$type" = application/x-dvdrb-project ] || fail "$name is $type"
done
echo "The desktop entry validates; REBUILDER.ECL and REBUILDER.INF in any letter case are application/x-dvdrb-project."

for page in ratequill ratequill-cli; do
    MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" >/dev/null 2>"$work/man.log"
    [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "man warns about $page(1)"; }
done
echo "Both manual pages format without a warning."

for program in ratequill-cli ratequill; do
    run_example "$work/deb-$program" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program"
    same_as_reference "$work/deb-$program"
done
echo "ratequill-cli and ratequill from the package write the same four files and report as the build tree's."

echo "== The Windows installer: $setup"
exe=build/windows-qt/ratequill-cli.exe
dlls="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')"
echo "ratequill-cli.exe imports:" $dlls
# Windows' own DLLs only: nothing of the MinGW runtime (libstdc++, libgcc,
# libwinpthread) that a clean Windows lacks.
for dll in $dlls; do
    echo "$dll" | grep -qiE '^(kernel32|msvcrt|ucrtbase|shell32|user32|advapi32|ws2_32|ole32|shlwapi|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$' \
        || fail "ratequill-cli.exe needs $dll"
done

export WINEPREFIX="$work/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
# No Gecko or Mono prompts, and no menu entries of the scratch prefix on this desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
"$wine" wineboot --init >/dev/null 2>&1
"$wine" "$setup" /S
"$wineserver" -w
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Ratequill"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ratequill"
# The window and what it needs beside it.
window_files=(bin/ratequill.exe bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/libstdc++-6.dll
              bin/libgcc_s_seh-1.dll bin/libwinpthread-1.dll bin/platforms/qwindows.dll
              bin/styles/qwindowsvistastyle.dll)
for f in bin/ratequill-cli.exe "${window_files[@]}" README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$installed/$f" ] || fail "the installer did not install $f"
done
for f in Ratequill.lnk "Ratequill command prompt.lnk" README.lnk Uninstall.lnk; do
    [ -f "$menu/$f" ] || fail "no Start-menu entry $f"
done
# (Read whole before grep -q, which may stop reading early: with pipefail a
# writer's broken pipe would count as a failure.)
target="$(strings -a "$menu/Ratequill.lnk")"
grep -qiF 'Ratequill\bin\ratequill.exe' <<<"$target" || fail "the Start-menu entry Ratequill does not start ratequill.exe"
registry_key='Uninstall\\\\Ratequill\]'
grep -q "$registry_key" "$WINEPREFIX/system.reg" || fail "the installer wrote no uninstall entry"
# Explorer's "Open with" for .ecl and .inf: the program's own file type, with
# the installed ratequill.exe opening the file it is given, offered for both.
open_command='\[Software\\\\Classes\\\\Ratequill.Project\\\\shell\\\\open\\\\command\]'
registered="$(grep -A3 "$open_command" "$WINEPREFIX/system.reg" || true)"
grep -qF '@="\"C:\\Program Files\\Ratequill\\bin\\ratequill.exe\" \"%1\""' <<<"$registered" ||
    fail "the installer did not register ratequill.exe to open DVD-RB projects"
for ext in ecl inf; do
    offered="$(grep -A3 '\[Software\\\\Classes\\\\.'"$ext"'\\\\OpenWithProgids\]' "$WINEPREFIX/system.reg" || true)"
    grep -qF '"Ratequill.Project"=""' <<<"$offered" || fail "the installer did not offer Ratequill for .$ext files"
done
# The console entry's own command, run once with /c instead of /k from
# another folder: bin\ is on its PATH and ratequill-cli answers.
console="$(strings -el "$menu/Ratequill command prompt.lnk" | grep -o '/k .*')"
printf 'cd /d C:\\\r\ncmd /c %s\r\n' "${console#/k }" | sed 's/--help/--version/' >"$drive_c/console.bat"
answer="$("$wine" cmd /c 'C:\console.bat' 2>/dev/null | tr -d '\r')"
grep -qxF "$("$reference" --version)" <<<"$answer" || fail "the Start-menu command prompt does not find ratequill-cli"
echo "The installer made its Start-menu entries; the command prompt finds ratequill-cli."

to_path() { printf 'Z:%s' "${1//\//\\}"; }
run_example "$work/setup" "$wine" "$installed/bin/ratequill-cli.exe"
same_as_reference "$work/setup"
echo "The silently installed ratequill-cli.exe writes the same four files and report as the build tree's."
# The installed window on an X display of its own, with the Windows platform
# plugin: nothing but what the installer laid down. Wine's processes from the
# runs without a display must end first, or no window opens on it.
source scripts/windows-env.sh
"$wineserver" -w
rq_start_xvfb
trap 'rq_stop_xvfb; rm -rf "$work"' EXIT
run_example "$work/setup-window" "$wine" "$installed/bin/ratequill.exe" /autoexit
same_as_reference "$work/setup-window"
run_example "$work/setup-nogui" "$wine" "$installed/bin/ratequill.exe" /nogui /autoexit
same_as_reference "$work/setup-nogui"
"$wineserver" -w
rq_stop_xvfb
echo "The silently installed ratequill.exe, with its window and with /nogui, writes the same four files and report."

cmake -E make_directory "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
for f in bin/ratequill-cli.exe "${window_files[@]}" README.txt LICENSE.txt; do
    cmp "$installed/$f" "$work/zip/ratequill-${version}-win64/$f" || fail "the zip's $f differs from the installer's"
done
echo "The zip holds the same programs, Qt's DLLs, README and license."

# _?= keeps the uninstaller in place, so that it ends before we look.
"$wine" "$installed/Uninstall.exe" /S "_?=C:\\Program Files\\Ratequill"
"$wineserver" -w
for f in bin/ratequill-cli.exe "${window_files[@]}"; do
    [ ! -e "$installed/$f" ] || fail "the uninstaller left $f"
done
if grep -q 'Ratequill.Project' "$WINEPREFIX/system.reg"; then fail "the uninstaller left the Open with entries"; fi
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entries"
if grep -q "$registry_key" "$WINEPREFIX/system.reg"; then fail "the uninstaller left its registry key"; fi
echo "The uninstaller removes the programs, Qt's DLLs, the Start-menu entries, the Open with entries and its registry key."
