# Shared library of the end-to-end scenarios (sourced, not run).
#
# A scenario is a machine made from scratch: a copy of a template Wine prefix
# in which the Windows Installer program is replaced by a recording shim, the
# suite's packages installed by the real installer, a few things added by
# hand; then korvalend.exe runs, and the scenario checks the registry, the
# files, the Recycle Bin, the processes, the installer's command lines and
# the exit code.
#
# Needs KORVALEND_BUILD (the windows build: korvalend.exe, tests/*.exe) and
# KORVALEND_SOURCE. The fixtures and the template are built once per build
# folder, under a lock, so scenarios may run in parallel.

set -uo pipefail

: "${KORVALEND_BUILD:?KORVALEND_BUILD must name the windows build folder}"
: "${KORVALEND_SOURCE:?KORVALEND_SOURCE must name the source folder}"

WINE=${KORVALEND_WINE:-/usr/lib/wine/wine64}
WINESERVER=${KORVALEND_WINESERVER:-/usr/lib/wine/wineserver}
REAL_MSIEXEC=${KORVALEND_REAL_MSIEXEC:-/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/msiexec.exe}
E2E_SRC=$KORVALEND_SOURCE/tests/e2e
E2E_HOME=${KORVALEND_E2E_HOME:-$KORVALEND_BUILD/e2e}
E2E_FIXTURES=$E2E_HOME/fixtures
E2E_TEMPLATE=$E2E_HOME/template
PROGRAMS=$KORVALEND_BUILD/tests

export WINEDEBUG=-all
# Our shim in system32 runs in place of Wine's own msiexec only when the
# native file is preferred; mscoree/mshtml off spares the Mono/Gecko prompts.
export WINEDLLOVERRIDES="mscoree,mshtml=;msiexec.exe=n"
unset DISPLAY WAYLAND_DISPLAY # headless: a message box returns at once

# Fixed identities of the fixtures.
UNINSTALL='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
# The same key of the 32-bit view, as a 64-bit program names it by path.
UNINSTALL32='HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
UPGRADE_CODE='{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}'
SERVICE_CLSID='{82154420-0FBF-11d4-8313-005004526AB4}'
APPID_KEY="HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\AppID\\$SERVICE_CLSID"
PROGID_KEY='HKEY_LOCAL_MACHINE\SOFTWARE\Classes\com.sun.star.ServiceManager.1'
HELP_BEFORE_CODE='{0A1F0000-7600-4B1E-9D2C-000000000F76}'
HELP_AFTER_CODE='{FA1F0000-7600-4B1E-9D2C-000000000F76}'
HELP_COLLABORA_CODE='{FA1F0000-2305-4B1E-9D2C-000000000F23}'
# A German help pack, listed before the French ones.
HELP_GERMAN_CODE='{01DE0000-7600-4B1E-9D2C-000000000D76}'

# A French help pack of the 32-bit LibreOffice.
HELP_X86_CODE='{FA1F0086-7600-4B1E-9D2C-000000000F86}'

# One line per distribution of the suite:
# id|product key|version|vendor key|manufacturer|AppID value|folder|app prefix|product code|GUID prefix|arch|on removal
# tdf86 is the 32-bit LibreOffice (its keys in the 32-bit view, its files in
# Program Files (x86)); tdfreboot a LibreOffice whose removal schedules a
# restart (Wine's installer then ends with 3010); tdffail one whose removal
# runs a program of its own that exits with 1 (Wine's installer then ends with
# 1627 and the product stays).
DISTRIBUTIONS='
tdf|LibreOffice 7.6|7.6|SOFTWARE\The Document Foundation\LibreOffice|The Document Foundation|LibreOffice Service Manager|LibreOffice|LibreOffice|{7C0E4A1B-7600-4B1E-9D2C-00000000A076}|7C0E0001|x64|-
mimo|LibreOffice 7.5|7.5|SOFTWARE\MimO\LibreOffice|MimO|LibreOffice Service Manager|LibreOffice MimO|LibreOffice|{7C0E4A1B-7500-4B1E-9D2C-00000000B075}|7C0E0002|x64|-
collabora|Collabora Office 23.05|23.05|SOFTWARE\Collabora\Collabora Office|Collabora Productivity|Collabora Office Service Manager|Collabora Office|Collabora Office|{7C0E4A1B-2305-4B1E-9D2C-00000000C235}|7C0E0003|x64|-
zeta|ZetaOffice 7.6|7.6|SOFTWARE\allotropia software GmbH\ZetaOffice|allotropia software GmbH|ZetaOffice Service Manager|ZetaOffice|ZetaOffice|{7C0E4A1B-7600-4B1E-9D2C-00000000D076}|7C0E0004|x64|-
tdf86|LibreOffice 7.6|7.6|SOFTWARE\The Document Foundation\LibreOffice|The Document Foundation|LibreOffice Service Manager|LibreOffice|LibreOffice|{7C0E4A1B-7600-4B1E-9D2C-00000000E086}|7C0E0005|x86|-
tdfreboot|LibreOffice 7.6|7.6|SOFTWARE\The Document Foundation\LibreOffice|The Document Foundation|LibreOffice Service Manager|LibreOffice|LibreOffice|{7C0E4A1B-7600-4B1E-9D2C-000000003010}|7C0E0006|x64|restart
tdffail|LibreOffice 7.6|7.6|SOFTWARE\The Document Foundation\LibreOffice|The Document Foundation|LibreOffice Service Manager|LibreOffice|LibreOffice|{7C0E4A1B-7600-4B1E-9D2C-00000000FA11}|7C0E0007|x64|fail
'

# Packages that lie in LibreOffice 7.6's folder (see build_fixtures):
# id|display name|product code|folder in the suite's|file|fails on removal
PARTS='
help75|LibreOffice 7.5 Help Pack (French)|{FA1F0075-7500-4B1E-9D2C-000000000F75}|help|old-index.html|fails
sdk|LibreOffice 7.6 SDK|{5D4C0076-7600-4B1E-9D2C-000000005D76}|sdk|sal.h|-
'
part_field() { printf '%s\n' "$PARTS" | grep "^$1|" | cut -d'|' -f"$2"; }

# install_part ID: one of PARTS, into the suite's folder; its code in PART_CODE.
install_part() {
    install_msi "part-$1"
    PART_CODE=$(part_field "$1" 3)
}

# dist_field ID N: field N (1-based) of a distribution's line.
dist_field() {
    local line
    line=$(printf '%s\n' "$DISTRIBUTIONS" | grep "^$1|") || { echo "unknown distribution $1" >&2; return 1; }
    printf '%s\n' "$line" | cut -d'|' -f"$2"
}

# Desktop shortcuts a distribution's package puts on the shared desktop.
desktop_shortcuts() {
    local key prefix
    key=$(dist_field "$1" 2)
    if [ "$1" = collabora ]; then
        for app in Writer Calc Impress Draw Math; do echo "Collabora Office $app.lnk"; done
    else
        for app in Writer Calc Draw Impress Base Math; do echo "LibreOffice $app.lnk"; done
    fi
    echo "$key.lnk"
}

# --- fixtures --------------------------------------------------------------

sed_escape() { printf '%s' "$1" | sed -e 's/[\\&|]/\\&/g'; }

# render TEMPLATE OUT DESKTOPFILE field=value...: substitutes @FIELD@ markers.
render() {
    local template=$1 out=$2 desk=$3
    shift 3
    local args=()
    for kv in "$@"; do args+=(-e "s|@${kv%%=*}@|$(sed_escape "${kv#*=}")|g"); done
    sed -e "/@DESKTOP_FILES@/{r $desk" -e 'd}' "$template" | sed "${args[@]}" >"$out"
}

wixl_build() { # wixl_build WXS MSI [ARCH]; wixl resolves sources from the working folder
    (cd "$(dirname "$1")" && wixl -a "${3:-x64}" -o "$2" "$(basename "$1")") 2>"$2.log" ||
        { cat "$2.log" >&2; return 1; }
    [ -s "$2" ] || { echo "wixl made no $2" >&2; cat "$2.log" >&2; return 1; }
}

build_fixtures() {
    local out=$E2E_FIXTURES.new
    rm -rf "$out" && mkdir -p "$out"
    local id key version vendor manuf appid folder prefix code guid arch removal
    while IFS='|' read -r id key version vendor manuf appid folder prefix code guid arch removal; do
        [ -n "$id" ] || continue
        local stage=$out/$id-stage
        mkdir -p "$stage"
        printf '[Bootstrap]\r\nInstallMode=<installmode>\r\nProductKey=%s\r\n' "$key" >"$stage/bootstrap.ini"
        printf 'MZ stand-in for %s\r\n' "$key" >"$stage/soffice.exe"
        printf '%s read me\r\n' "$key" >"$stage/readme.txt"
        printf 'shortcut\r\n' >"$stage/shortcut.lnk"
        local n=0 desk=$stage/desktop.xml
        : >"$desk"
        while read -r name; do
            n=$((n + 1))
            local kp=""; [ $n -eq 1 ] && kp=' KeyPath="yes"'
            printf '          <File Id="Desk%d" Name="%s" Source="%s-stage/shortcut.lnk"%s/>\n' \
                "$n" "$name" "$id" "$kp" >>"$desk"
        done < <(desktop_shortcuts "$id")
        local programs=ProgramFiles64Folder win64=yes sequence=""
        [ "$arch" = x86 ] && programs=ProgramFilesFolder win64=no
        [ "$removal" = restart ] &&
            sequence='<InstallExecuteSequence><ScheduleReboot After="InstallFinalize">REMOVE="ALL"</ScheduleReboot></InstallExecuteSequence>'
        local extra=""
        if [ "$removal" = fail ]; then
            cp "$PROGRAMS/sleeper.exe" "$stage/fail.exe"
            extra="<File Id=\"FailExe\" Name=\"fail.exe\" Source=\"$id-stage/fail.exe\"/>"
            # sleeper.exe 0 1: exits with 1 at once
            sequence='<CustomAction Id="FailOnRemoval" FileKey="FailExe" ExeCommand="0 1" Execute="immediate" Return="check"/><InstallExecuteSequence><Custom Action="FailOnRemoval" Before="RemoveFiles">REMOVE="ALL"</Custom></InstallExecuteSequence>'
        fi
        local common=("PRODUCT_KEY=$key" "VERSION=$version" "MANUFACTURER=$manuf" "INSTALL_DIR=$folder"
            "STAGE=$id-stage/" "APP_PREFIX=$prefix" "VENDOR_KEY=$vendor" "APPID_VALUE=$appid"
            "PROGRAM_FILES=$programs" "WIN64=$win64")
        render "$E2E_SRC/fixtures/suite.wxs" "$out/suite-$id.wxs" "$desk" "${common[@]}" \
            "PRODUCT_CODE=$code" "UPGRADE_CODE=$UPGRADE_CODE" "GUID_PREFIX=$guid" "EXECUTE_SEQUENCE=$sequence" \
            "PROGRAM_EXTRA=$extra"
        wixl_build "$out/suite-$id.wxs" "$out/suite-$id.msi" "$arch" || return 1
        local hp
        for hp in before after german x86; do
            case "$id:$hp" in tdf:before | tdf:after | tdf:german | collabora:after | tdf86:x86) ;; *) continue ;; esac
            local hcode=$HELP_AFTER_CODE hguid=FA1F0001 hname=helppack-$hp
            local language=French lcid=1036 dir=fr upgrade='{0A1F0000-0000-4B1E-9D2C-0000000000FF}'
            [ $hp = before ] && hcode=$HELP_BEFORE_CODE hguid=0A1F0001
            [ $hp = german ] && hcode=$HELP_GERMAN_CODE hguid=01DE0001 language=German lcid=1031 dir=de \
                upgrade='{01DE0000-0000-4B1E-9D2C-0000000000FF}'
            [ "$id" = collabora ] && hcode=$HELP_COLLABORA_CODE hguid=FA1F0003 hname=helppack-collabora
            [ $hp = x86 ] && hcode=$HELP_X86_CODE hguid=FA1F0086
            render "$E2E_SRC/fixtures/helppack.wxs" "$out/$hname.wxs" /dev/null "${common[@]}" \
                "PRODUCT_CODE=$hcode" "HELP_UPGRADE_CODE=$upgrade" "GUID_PREFIX=$hguid" \
                "HELP_LANGUAGE=$language" "LANGUAGE_ID=$lcid" "HELP_DIR=$dir"
            wixl_build "$out/$hname.wxs" "$out/$hname.msi" "$arch" || return 1
        done
    done <<<"$DISTRIBUTIONS"
    # Packages in the LibreOffice 7.6 folder: an older French help pack whose
    # removal fails, and the SDK (id|name|code|folder|file|fails).
    cp "$PROGRAMS/sleeper.exe" "$out/tdf-stage/fail.exe"
    local pid pname pcode pdir pfile pfails
    while IFS='|' read -r pid pname pcode pdir pfile pfails; do
        [ -n "$pid" ] || continue
        local ffile="" faction=""
        if [ "$pfails" = fails ]; then
            ffile='<File Id="FailExe" Name="fail.exe" Source="tdf-stage/fail.exe"/>'
            faction='<CustomAction Id="FailOnRemove" FileKey="FailExe" ExeCommand="0 1" Execute="immediate" Return="check"/><InstallExecuteSequence><Custom Action="FailOnRemove" Sequence="1400">REMOVE="ALL"</Custom></InstallExecuteSequence>'
        fi
        render "$E2E_SRC/fixtures/part.wxs" "$out/part-$pid.wxs" /dev/null "PART_NAME=$pname" "PRODUCT_CODE=$pcode" \
            "PART_UPGRADE_CODE={${pcode:1:8}-0000-4B1E-9D2C-0000000000FF}" "GUID_PREFIX=${pcode:1:8}" \
            "VERSION=7.6" "MANUFACTURER=The Document Foundation" "INSTALL_DIR=LibreOffice" "STAGE=tdf-stage/" \
            "PART_DIR=$pdir" "PART_FILE=$pfile" "FAIL_FILE=$ffile" "FAIL_ACTION=$faction"
        wixl_build "$out/part-$pid.wxs" "$out/part-$pid.msi" x64 || return 1
    done <<<"$PARTS"
    render "$E2E_SRC/fixtures/peruser.wxs" "$out/peruser.wxs" /dev/null "STAGE=tdf-stage/"
    wixl_build "$out/peruser.wxs" "$out/peruser.msi" x64 || return 1
    rm -rf "$E2E_FIXTURES" && mv "$out" "$E2E_FIXTURES"
}

# The template prefix: a booted Wine machine with the recording shim in place
# of msiexec.exe and the real installer beside it as msiexec-real.exe.
build_template() {
    local t=$E2E_TEMPLATE.new
    rm -rf "$t" "$E2E_HOME/template-home" && mkdir -p "$E2E_HOME/template-home"
    (
        export WINEPREFIX=$t HOME=$E2E_HOME/template-home XDG_DATA_HOME=$E2E_HOME/template-home/.local/share
        "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
    )
    [ -f "$t/system.reg" ] || { echo "wineboot made no prefix" >&2; return 1; }
    # Wine links a user's Desktop, Documents... to the host's home folder:
    # make them real folders, so nothing a scenario does reaches outside it.
    local link
    for link in "$t"/drive_c/users/*/*; do
        if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
    local sys=$t/drive_c/windows/system32
    cp "$REAL_MSIEXEC" "$sys/msiexec-real.exe"
    cp "$PROGRAMS/msiexec_shim.exe" "$sys/msiexec.exe"
    rm -rf "$E2E_TEMPLATE" && mv "$t" "$E2E_TEMPLATE"
}

fixtures_stamp() {
    cat "$E2E_SRC/lib.sh" "$E2E_SRC"/fixtures/*.wxs "$PROGRAMS/msiexec_shim.exe" "$PROGRAMS/sleeper.exe" | md5sum | cut -d' ' -f1
}

# Builds fixtures and template unless this build folder already has them.
prepare_shared() {
    mkdir -p "$E2E_HOME"
    (
        flock 9
        local stamp
        stamp=$(fixtures_stamp)
        if [ "$(cat "$E2E_HOME/stamp" 2>/dev/null)" != "$stamp" ] || [ ! -d "$E2E_TEMPLATE" ] || [ ! -d "$E2E_FIXTURES" ]; then
            build_fixtures && build_template && echo "$stamp" >"$E2E_HOME/stamp"
        fi
    ) 9>"$E2E_HOME/lock"
}

# --- one machine -------------------------------------------------------------

FAILURES=0
CHECKS=0

# new_machine NAME: a fresh copy of the template, with its own wineserver,
# home folder and Recycle Bin.
new_machine() {
    prepare_shared || { echo "could not build the fixtures or the template" >&2; exit 1; }
    RUN=$E2E_HOME/runs/$1
    if [ -d "$RUN/prefix" ]; then WINEPREFIX=$RUN/prefix "$WINESERVER" -k 2>/dev/null; fi
    rm -rf "$RUN" && mkdir -p "$RUN/home" "$RUN/xdg"
    cp -a "$E2E_TEMPLATE" "$RUN/prefix"
    export WINEPREFIX=$RUN/prefix HOME=$RUN/home XDG_DATA_HOME=$RUN/xdg
    C=$WINEPREFIX/drive_c
    TRASH=$XDG_DATA_HOME/Trash
    USER_DIR=$(find "$C/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
    PUBLIC_DESKTOP=$C/users/Public/Desktop
    COMMON_PROGRAMS="$C/ProgramData/Microsoft/Windows/Start Menu/Programs"
    USER_STARTUP="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp"
    mkdir -p "$PUBLIC_DESKTOP" "$COMMON_PROGRAMS" "$USER_STARTUP" "$USER_DIR/Desktop"
    trap end_machine EXIT
}

end_machine() {
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null
    return 0
}

win() { timeout 120 "$WINE" "$@"; }

# in_japanese COMMAND...: runs a command (a function too) in a Japanese
# locale, where Wine gives its processes the ANSI code page 932. The locale
# is compiled once into the build folder: Wine finds host file names only
# through a locale the host really has.
in_japanese() {
    (
        flock 9
        mkdir -p "$E2E_HOME/locale"
        [ -d "$E2E_HOME/locale/ja_JP.UTF-8" ] || localedef -i ja_JP -f UTF-8 "$E2E_HOME/locale/ja_JP.UTF-8"
    ) 9>"$E2E_HOME/locale.lock" || { echo "could not build the ja_JP.UTF-8 locale" >&2; exit 1; }
    LOCPATH=$E2E_HOME/locale LC_ALL=ja_JP.UTF-8 "$@"
}

# The Windows form of a host path (the prefix maps Z: to /).
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# install_msi NAME [PROPERTY=VALUE...]: a fixture package, installed quietly.
install_msi() {
    local msi=$E2E_FIXTURES/$1.msi
    shift
    win 'C:\windows\system32\msiexec-real.exe' /i "$(winpath "$msi")" /qn "$@" ||
        { echo "installing $(basename "$msi" .msi) failed" >&2; exit 1; }
}

# The C: form of a host path below the prefix's drive C.
cpath() { printf 'C:%s' "${1#"$C"}" | tr / '\\'; }

# install_suite DIST [FOLDER]: the distribution's package (into FOLDER, a host
# path below $C, instead of its folder in Program Files), plus a file the user
# left in the program folder and a link in its Start menu folder, so that both
# folders outlive the uninstallation as they do on real machines.
install_suite() {
    SUITE=$1
    SUITE_KEY=$(dist_field "$1" 2)
    SUITE_CODE=$(dist_field "$1" 9)
    # A 32-bit suite's files go to Program Files (x86), its keys to the 32-bit view.
    local programs="Program Files" vendor
    vendor=$(dist_field "$1" 4)
    SUITE_UNINSTALL=$UNINSTALL
    if [ "$(dist_field "$1" 11)" = x86 ]; then
        programs="Program Files (x86)" vendor="SOFTWARE\\Wow6432Node\\${vendor#SOFTWARE\\}" SUITE_UNINSTALL=$UNINSTALL32
    fi
    SUITE_DIR=${2:-"$C/$programs/$(dist_field "$1" 7)"}
    SUITE_VENDOR_KEY="HKEY_LOCAL_MACHINE\\$vendor"
    if [ $# -ge 2 ]; then install_msi "suite-$1" "INSTALLLOCATION=$(cpath "$SUITE_DIR")\\"; else install_msi "suite-$1"; fi
    echo "left by the user" >"$SUITE_DIR/program/user-notes.txt"
    echo "[InternetShortcut]" >"$COMMON_PROGRAMS/$SUITE_KEY/Online Help.url"
    # The quick starter a user put in their own Startup folder.
    SUITE_STARTUP="$USER_STARTUP/$(dist_field "$1" 8) Quickstart.lnk"
    echo "quickstart" >"$SUITE_STARTUP"
}

# install_helppack before|after|collabora|x86: a French help pack (its code
# in HELP_CODE; x86 the 32-bit suite's); install_helppack german: a German one
# (HELP_GERMAN_CODE).
install_helppack() {
    install_msi "helppack-$1"
    case $1 in
        before) HELP_CODE=$HELP_BEFORE_CODE ;;
        after) HELP_CODE=$HELP_AFTER_CODE ;;
        collabora) HELP_CODE=$HELP_COLLABORA_CODE ;;
        x86) HELP_CODE=$HELP_X86_CODE ;;
    esac
}

# install_copy NAME FOLDER: the fixture package NAME copied to FOLDER (a host
# path) and installed from there: the installer keeps FOLDER as its source.
install_copy() {
    mkdir -p "$2" && cp "$E2E_FIXTURES/$1.msi" "$2/" || { echo "could not copy $1.msi" >&2; exit 1; }
    win 'C:\windows\system32\msiexec-real.exe' /i "$(winpath "$2/$1.msi")" /qn ||
        { echo "installing $1 from $2 failed" >&2; exit 1; }
}

# installer_exit ARG...: the whole exit code of Wine's own installer run with
# these arguments (not the recording shim: nothing of it goes to the logs).
installer_exit() {
    win "$(winpath "$PROGRAMS/launcher.exe")" 'C:\windows\system32\msiexec-real.exe' "$@" | tr -d '\r' |
        sed -n 's/^exit //p'
}

# msi_query CODE...: what the Windows Installer's queries answer through the
# program's own wrappers (tests/programs/msi_query.cpp), kept in
# $RUN/msi_query.out; msi_answer CODE WHAT: one of its answers ("5" for a
# state, "0 C:\windows\Installer\1a2b.msi" or "1605" for a property).
msi_query() { win "$(winpath "$PROGRAMS/msi_query.exe")" "$@" | tr -d '\r' >"$RUN/msi_query.out"; }
msi_answer() {
    C_=$1 W_=$2 awk '$1 == ENVIRON["C_"] && $2 == ENVIRON["W_"] { sub(/^[^ ]* [^ ]* /, ""); sub(/ $/, ""); print; exit }' \
        "$RUN/msi_query.out"
}
expect_msi() { # expect_msi CODE WHAT ANSWER
    local got
    got=$(msi_answer "$1" "$2")
    if [ "$got" = "$3" ]; then pass "$2 of $1: $3"; else fail "$2 of $1: '$got', expected '$3'"; fi
}

# reg_import: a .reg text on standard input, imported in one process.
reg_import() {
    local f=$RUN/import-$RANDOM.reg
    { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; sed 's/$/\r/'; } >"$f"
    win regedit /s "$(winpath "$f")" || { echo "registry import failed" >&2; exit 1; }
}

# add_extension KEYNAME DISPLAYNAME: an extension whose uninstaller deletes
# its own Uninstall entry when run with /verysilent.
add_extension() {
    mkdir -p "$C/ext"
    cp "$PROGRAMS/ext_uninstaller.exe" "$C/ext/$1.exe"
    reg_import <<EOF
[$UNINSTALL\\$1]
"DisplayName"="$2"
"UninstallString"="\"C:\\\\ext\\\\$1.exe\""
"Publisher"="extension vendor"
EOF
}

# Things near the suite that belong to someone else and must stay.
add_bystanders() {
    echo "user shortcut" >"$USER_DIR/Desktop/LibreOffice Writer.lnk"
    echo "other" >"$PUBLIC_DESKTOP/Notes.lnk"
    # A folder bearing a shortcut's name is no shortcut (only where the
    # package does not put that very shortcut).
    if [ "${SUITE:-}" = collabora ]; then mkdir -p "$PUBLIC_DESKTOP/LibreOffice Base.lnk"; fi
    echo "other product" >"$USER_STARTUP/OpenOffice.lnk"
    echo "text" >"$USER_STARTUP/LibreOffice notes.txt"
    # Startup entries of other suites of the family, which stay installed
    # (the removed suite's own family is named by the first word of its prefix).
    local family="" other
    [ -n "${SUITE:-}" ] && family="$(dist_field "$SUITE" 8 | cut -d' ' -f1) "
    OTHER_STARTUP=()
    for other in "Collabora Office 24.04.lnk" "LibreOfficeDev 24.8.lnk" "ZetaOffice 7.6.lnk"; do
        case "$other" in "$family"*) continue ;; esac
        echo "other suite" >"$USER_STARTUP/$other"
        OTHER_STARTUP+=("$other")
    done
    mkdir -p "$C/Program Files/Other Suite/program"
    echo "other" >"$C/Program Files/Other Suite/program/bootstrap.ini"
}

# spawn_standin WINDOWSPATH: the stand-in started from that file. It never
# ends on its own, so once gone it was ended: "<image name> <process id>" goes
# to $RUN/standins for the proof that the plan is the run.
spawn_standin() {
    local pid
    pid=$(win "$(winpath "$PROGRAMS/soffice_standin.exe")" --spawn "$1" | tr -d '\r') && [ -n "$pid" ] ||
        { echo "could not start $1" >&2; exit 1; }
    printf '%s %s\n' "${1##*\\}" "$pid" >>"$RUN/standins"
}

# place_soffice, start_soffice: a stand-in suite process under the image name
# soffice.bin, in the suite's program folder.
place_soffice() { cp "$PROGRAMS/soffice_standin.exe" "$SUITE_DIR/program/soffice.bin"; }
start_soffice() {
    [ -f "$SUITE_DIR/program/soffice.bin" ] || place_soffice
    spawn_standin "$(cpath "$SUITE_DIR/program/soffice.bin")"
}

# start_other_soffice FOLDER: the stand-in as another suite's soffice.bin
# (one that stays installed), running from FOLDER\program below C:.
start_other_soffice() {
    mkdir -p "$C/$1/program"
    cp "$PROGRAMS/soffice_standin.exe" "$C/$1/program/soffice.bin"
    win "$(winpath "$PROGRAMS/soffice_standin.exe")" --spawn "$(cpath "$C/$1/program/soffice.bin")" >/dev/null ||
        { echo "could not start $1's soffice.bin" >&2; exit 1; }
}

# start_bystander_process NAME: the stand-in under another image name, outside
# the suite (the suite's own launcher is soffice.exe: it is not looked for).
start_bystander_process() {
    mkdir -p "$C/other"
    cp "$PROGRAMS/soffice_standin.exe" "$C/other/$1"
    spawn_standin "C:\\other\\$1"
}

# hold_installer_mutex MS: another installation owns the Windows Installer's
# mutex for MS milliseconds from now (the shim refuses with 1618 meanwhile);
# it logs an event when it gives the mutex back.
hold_installer_mutex() {
    win "$(winpath "$PROGRAMS/mutex_holder.exe")" "$1" >"$RUN/mutex_holder.out" 2>&1 &
    local i
    for i in $(seq 1 300); do
        grep -q owned "$RUN/mutex_holder.out" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "the mutex holder did not take the mutex" >&2
    exit 1
}

# processes: the image names of the running processes; process_list: "<image
# name> <process id> <image path>" lines.
process_list() { win "$(winpath "$PROGRAMS/soffice_standin.exe")" --list | tr -d '\r'; }
processes() { process_list | cut -d' ' -f1; }
# The Windows path of each running process's image, one a line.
images() { process_list | cut -d' ' -f3-; }
image_running() { images | grep -Fqix -- "$1"; }
expect_image_running() { check "running from $1" image_running "$1"; }
expect_image_gone() { check "no longer running from $1" not image_running "$1"; }

# fail_installer_for TEXT: the shim answers 1603 to command lines holding TEXT.
fail_installer_for() { printf '%s\n' "$1" >>"$C/korvalend-msiexec.fail"; }

# snapshot NAME: HKLM and the file list of C:, for comparisons. Stopping the
# wineserver makes it write the registry to system.reg (far quicker than an
# export); it also ends every process of the machine, so take snapshots
# before starting soffice.bin.
snapshot() {
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
    rm -f "$RUN/standins" # stopped with the rest
    # Key lines become HKEY_LOCAL_MACHINE\... with single backslashes, as
    # regedit writes them; Wine's own timestamps go.
    sed -e '/^#/d' -e '/^\[/{s/\] [0-9]*$/]/;s/\\\\/\\/g;s/^\[/[HKEY_LOCAL_MACHINE\\/}' \
        "$WINEPREFIX/system.reg" >"$RUN/$1.regtxt"
    (cd "$C" && find . -path ./windows -prune -o -print | LC_ALL=C sort) >"$RUN/$1.files"
}

# run_korvalend [ARG...]: runs the program (KORVALEND_EXE, by default the
# build's korvalend.exe) as a deployment tool would, with
# fresh logs, and keeps its whole exit code in KV_EXIT (read through the
# launcher: a Unix exit status keeps only 8 bits) and its wall time in
# KV_WALL_MS. With PLAN_PROOF=1 (every scenario) the JSON plan of the same
# options is made first, on the same machine, and held against the run
# afterwards (expect_plan_is_run).
run_korvalend() {
    rm -f "$C/korvalend-msiexec.log" "$C/korvalend-events.log" "$C/korvalend-times.log" "$C/korvalend-starts.log" \
        "$RUN/trash.entries"
    if [ "${PLAN_PROOF:-0}" = 1 ]; then
        # the plan's options as korvalend.exe reads its own: only an exact first
        # "/quiet", and the record's option wherever it stands
        local plan_args=(--json) arg
        [ "${1:-}" = /quiet ] && plan_args+=(/quiet)
        for arg in "$@"; do case $arg in /log | /log=*) plan_args+=("$arg") ;; esac; done
        run_plan "${plan_args[@]}"
        if [ -n "${PLAN_KEEPS:-}" ]; then expect_plan_kept "$PLAN_KEEPS"; PLAN_KEEPS=; fi
        drive_keys >"$RUN/drive.before"
    fi
    local t0=$SECONDS status
    timeout 300 "$WINE" "$(winpath "$PROGRAMS/launcher.exe")" "$(winpath "${KORVALEND_EXE:-$KORVALEND_BUILD/korvalend.exe}")" "$@" \
        >"$RUN/korvalend.out" 2>&1
    status=$?
    KV_EXIT=$(tr -d '\r' <"$RUN/korvalend.out" | sed -n 's/^exit \([0-9]*\)$/\1/p')
    KV_WALL_MS=$(tr -d '\r' <"$RUN/korvalend.out" | sed -n 's/^wall_ms //p')
    [ -n "$KV_EXIT" ] || KV_EXIT="unknown (launcher status $status)"
    echo "korvalend.exe $* ended with exit code $KV_EXIT after $((SECONDS - t0)) s"
    if [ "${PLAN_PROOF:-0}" = 1 ]; then expect_plan_is_run; PLAN_WAIVERS=(); fi
}

# The run's record in its default folder (%SystemRoot%\Logs\Korvalend),
# and the installer's own logs beside it.
RECORD_FOLDER='C:\windows\Logs\Korvalend'
record_dir() { printf '%s' "$C/windows/logs/Korvalend"; }
# record_lines: the record's lines, without the byte-order mark and the CRs.
record_lines() { sed '1s/^\xEF\xBB\xBF//' "$(record_dir)/korvalend.log" | tr -d '\r'; }
# record_has TEXT TYPE: a line of the record holds TEXT and is of TYPE (1
# information, 2 kept or skipped, 3 a failure).
record_has() { record_lines | grep -F -- "$1" | grep -qF "type=\"$2\""; }
# record_ends TEXT TYPE: the same, of its last line.
record_ends() { record_lines | tail -n 1 | grep -F -- "$1" | grep -qF "type=\"$2\""; }
# expect_cmtrace_record: the record exists, begins with the UTF-8 mark and
# each of its lines is CMTrace's; a copy is kept as e2e/record-SCENARIO.log.
expect_cmtrace_record() {
    expect_file "$(record_dir)/korvalend.log"
    cp "$(record_dir)/korvalend.log" "$E2E_HOME/record-$SCENARIO.log" 2>/dev/null
    check "the record begins with the UTF-8 byte-order mark" \
        test "$(head -c 3 "$(record_dir)/korvalend.log" | od -An -tx1 | tr -d ' \n')" = efbbbf
    check "every line of the record is a CMTrace line" not grep -vE '^<!\[LOG\[.*\]LOG\]!><time="[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}[+-][0-9]{3}" date="[0-9]{2}-[0-9]{2}-[0-9]{4}" component="korvalend" context="" type="[123]" thread="[0-9]+" file="">$' <(record_lines)
}

# installer_ms: the uninstallers' own run times of the last run, in all.
installer_ms() {
    [ -f "$C/korvalend-times.log" ] || { echo 0; return; }
    tr -d '\r' <"$C/korvalend-times.log" | awk '{ t += $3 - $2 } END { printf "%.1f\n", t }'
}

# run_plan [ARG...]: korvalend-plan.exe on the machine as it stands; standard
# output in $RUN/plan.out, standard error in $RUN/plan.err, the exit code in
# PLAN_EXIT.
run_plan() {
    timeout 300 "$WINE" "$(winpath "$KORVALEND_BUILD/korvalend-plan.exe")" "$@" >"$RUN/plan.out" 2>"$RUN/plan.err"
    PLAN_EXIT=$?
    echo "korvalend-plan.exe $* ended with exit code $PLAN_EXIT"
}
plan_json() { jq -r "$1" "$RUN/plan.out"; }
# contents NAME: a checksum of every file on C: outside Windows' own folder.
contents() {
    (cd "$C" && find . -path ./windows -prune -o -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$RUN/$1.sums"
}

# expect_plan_kept BEFORE: the plan ran to its end and left the machine as the
# snapshot and checksums BEFORE had it.
expect_plan_kept() {
    check "plan ran to its end" test "$PLAN_EXIT" -eq 0
    snapshot plan
    contents plan
    expect_unchanged "$1" plan
    check "file contents unchanged by the plan" cmp -s "$RUN/$1.sums" "$RUN/plan.sums"
    check "plan is pure ASCII" not grep -qP '[^\x00-\x7F]' "$RUN/plan.out"
}

# plan_keeps BEFORE: the plan that the next run_korvalend makes is checked,
# before the run, to have left the machine as snapshot and checksums BEFORE
# had it (a snapshot stops every process: not with stand-ins running).
plan_keeps() { PLAN_KEEPS=$1; }

# waive_plan_step ACTION TEXT REASON: the next proof that the plan is the run
# waives the first step of the plan whose action is ACTION and whose program
# and parameters, process or paths hold TEXT. A waived "run" step is one whose
# outcome the plan cannot know: from it on, a step of the plan need not have
# been made, and the exit code is the scenario's own to check. Any other
# waived step need not have been made. Nothing else is waived: what the run
# did is always held against the whole plan.
PLAN_WAIVERS=()
waive_plan_step() { PLAN_WAIVERS+=("$1"$'\t'"$2"$'\t'"$3"); }

# Keys under which the proof compares paths: relative to drive C, "/" for
# "\", ASCII letters in lower case (Windows ignores their case). A Windows path
# off drive C keeps a "?" in front, so it matches nothing on the drive.
win_keys() { sed -e 's#^[Cc]:\\##' -e 't c' -e 's#^#?#' -e ':c' -e 's#\\#/#g' -e 's#/$##' | tr '[:upper:]' '[:lower:]'; }
# The system folder is listed, not its content, as the recording programs list
# the drive.
drive_keys() { (cd "$C" && find . -mindepth 1 -path ./windows/system32/\* -prune -o -print) | sed 's#^\./##' | tr '[:upper:]' '[:lower:]'; }

# not_under SET: the lines of standard input that are neither a key of the
# file SET nor below one.
not_under() {
    awk 'NR == FNR { s[$0]; next }
        { p = $0; while (1) { if (p in s) next; if (!sub(/\/[^\/]*$/, "", p)) break } print }' "$1" -
}

# expect_plan_is_run: after run_korvalend, the plan it made beforehand is the
# run: its "run" steps are the commands started (the recording programs'
# starts log), in order; its "terminate" steps the processes ended (the
# scenario's stand-ins, which never end on their own, gone after the run);
# nothing went to the Recycle Bin that the plan does not recycle, nothing was
# deleted for good that it does not delete (the drive before and after the
# run, less what the uninstallers removed between their start and their end);
# each path it names is gone; its exit code is the run's.
expect_plan_is_run() {
    local p=$RUN/proof
    if ! jq -e '.steps and .exitCode != null' "$RUN/plan.out" >/dev/null 2>&1; then
        fail "the plan is a JSON document (korvalend-plan.exe exit $PLAN_EXIT)"
        return
    fi
    # step<TAB>action<TAB>file<TAB>parameters | process and id | one path a line
    jq -r '.steps[] | . as $s |
        if .action == "run" then [.step, "run", .file, (.parameters | sub("^[ \t]+"; ""))]
        elif .action == "terminate" then [.step, "terminate", "\(.process) \(.processId)"]
        else (.paths // [.path])[] | [$s.step, $s.action, .] end | map(tostring) | join("\t")' \
        "$RUN/plan.out" >"$p.steps"

    local from=999999 only=" " waiver action text reason n
    local waived='function waived(s) { return s + 0 >= from + 0 || index(only, " " s " ") }'
    for waiver in "${PLAN_WAIVERS[@]}"; do
        IFS=$'\t' read -r action text reason <<<"$waiver"
        n=$(A=$action T=$text awk -F'\t' '$2 == ENVIRON["A"] {
            s = substr($0, length($1 $2) + 3); gsub(/\t/, " ", s); if (index(s, ENVIRON["T"])) { print $1; exit } }' "$p.steps")
        if [ -z "$n" ]; then fail "waived step is in the plan: $action $text"; continue; fi
        echo "# waived: plan step $n ($action $text): $reason"
        if [ "$action" = run ]; then [ "$n" -lt "$from" ] && from=$n; else only+="$n "; fi
    done

    # Commands: the plan's in order; one the plan names may be missing only
    # when waived (a waived run and everything after it).
    local starts=$C/korvalend-starts.log
    [ -f "$starts" ] || starts=/dev/null
    tr -d '\r' <"$starts" | awk -F'\t' '$1 == "begin" { print $2 "\t" $3 }' >"$p.started"
    if awk -F'\t' -v from="$from" -v only="$only" "$waived"'
        # the plan may name the program as the shell finds it: then by its name
        function same(pf, sf) { pf = tolower(pf); sf = tolower(sf)
            return pf == sf || (index(pf, "\\") == 0 && substr(sf, length(sf) - length(pf)) == "\\" pf) }
        NR == FNR { if ($2 == "run") { n++; st[n] = $1; pf[n] = $3; pp[n] = $4 } next }
        { m++; sf[m] = $1; sp[m] = $2 }
        END {
            j = 1
            for (i = 1; i <= n; i++) {
                if (j <= m && sp[j] == pp[i] && same(pf[i], sf[j])) { j++; continue }
                if (!waived(st[i])) { print "    planned, not started: step " st[i] ": " pf[i] " " pp[i]; bad = 1 }
            }
            for (; j <= m; j++) { print "    started, not planned there: " sf[j] " " sp[j]; bad = 1 }
            exit bad
        }' "$p.steps" "$p.started" >"$p.out"; then pass "the plan's run steps are the commands started, in order"
    else fail "the plan's run steps are the commands started, in order"; cat "$p.out"; fi

    # Processes: each stand-in gone is planned, each planned process is gone.
    local standins=$RUN/standins
    [ -f "$standins" ] || standins=/dev/null
    : >"$p.after"
    if [ -s "$standins" ] || grep -q $'\tterminate\t' "$p.steps"; then process_list | cut -d' ' -f1,2 >"$p.after"; fi
    if awk -F'\t' -v from="$from" -v only="$only" "$waived"'
        FILENAME == ARGV[1] { if ($2 == "terminate") planned[tolower($3)] = $1; next }
        FILENAME == ARGV[2] { alive[tolower($0)]; next }
        !(tolower($0) in alive) && !(tolower($0) in planned) { print "    ended, not planned: " $0; bad = 1 }
        END {
            for (k in planned) if ((k in alive) && !waived(planned[k])) { print "    planned, still running: step " planned[k] ": " k; bad = 1 }
            exit bad
        }' "$p.steps" "$p.after" "$standins" >"$p.out"; then
        pass "the plan's terminate steps are the processes ended"
    else fail "the plan's terminate steps are the processes ended"; cat "$p.out"; fi

    # Paths. Planned keys: what the plan deletes for good, and what it recycles.
    awk -F'\t' '$2 == "delete" || $2 == "shellDelete" || $2 == "removeFolder" { print $3 }' "$p.steps" | win_keys >"$p.deletes"
    awk -F'\t' '$2 == "recycle" { print $3 }' "$p.steps" | win_keys >"$p.recycles"
    drive_keys >"$RUN/drive.after"
    local cdir
    cdir=$(lower_path "$C")
    trash_entries | cut -d'|' -f1 | awk -v c="$cdir/" '{ print index($0, c) == 1 ? substr($0, length(c) + 1) : "?" $0 }' >"$p.trashed"
    if not_under "$p.recycles" <"$p.trashed" | sed 's/^/    recycled, not planned: /' >"$p.out" && [ ! -s "$p.out" ]; then
        pass "nothing went to the Recycle Bin that the plan does not recycle"
    else fail "nothing went to the Recycle Bin that the plan does not recycle"; cat "$p.out"; fi

    # Removed by the uninstallers: what each had at its start and not at its
    # end (one that never logged its end removed nothing that counts).
    tr -d '\r' <"$starts" | awk -F'\t' '
        function flush(k) { if (ended) for (k in b) if (!(k in e)) print k; split("", b); split("", e); ended = 0 }
        $1 == "begin" { flush(); mode = "b"; next }
        $1 == "end" { mode = "e"; ended = 1; next }
        mode == "b" { b[$2] } mode == "e" { e[$2] }
        END { flush() }' | win_keys >"$p.uninstalled"
    awk 'NR == FNR { after[$0]; next } !($0 in after)' "$RUN/drive.after" "$RUN/drive.before" | not_under "$p.trashed" |
        awk 'NR == FNR { u[$0]; next } !($0 in u)' "$p.uninstalled" - | not_under "$p.deletes" |
        sed 's/^/    deleted, not planned: /' >"$p.out"
    if [ ! -s "$p.out" ]; then pass "nothing was deleted for good that the plan does not delete"
    else fail "nothing was deleted for good that the plan does not delete"; cat "$p.out"; fi

    # Every path the plan names is gone (taken by the run or an uninstaller).
    if awk -F'\t' -v from="$from" -v only="$only" "$waived"'
        $2 == "delete" || $2 == "shellDelete" || $2 == "removeFolder" || $2 == "recycle" { if (!waived($1)) print $3 }' "$p.steps" |
        win_keys | awk 'NR == FNR { after[$0]; next } $0 in after { print "    planned, still there: " $0 }' "$RUN/drive.after" - >"$p.out" &&
        [ ! -s "$p.out" ]; then pass "every path the plan deletes or recycles is gone"
    else fail "every path the plan deletes or recycles is gone"; cat "$p.out"; fi

    local planned_exit
    planned_exit=$(plan_json .exitCode)
    if [ "$from" != 999999 ]; then echo "# the plan's exit code $planned_exit follows a waived step: not compared"
    elif [ "$planned_exit" = "$KV_EXIT" ]; then pass "the plan's exit code is the run's: $KV_EXIT"
    else fail "the plan's exit code $planned_exit is the run's $KV_EXIT"; fi

    # The compliance check after the run answers 0 exactly when the run left
    # nothing of the family (0, or 3010: removed, a restart completes it), and
    # meets the error the run met.
    local line code want=1
    timeout 120 "$WINE" "$(winpath "$KORVALEND_BUILD/korvalend-plan.exe")" --check >"$RUN/check.out" 2>&1
    code=$?
    line=$(tr -d '\r' <"$RUN/check.out")
    case $KV_EXIT in 0 | 3010) want=0 ;; 217) want=217 ;; esac
    if [ "$code" = "$want" ]; then pass "--check after the run answers $code: $line"
    else fail "--check after the run answers $code, expected $want: $line"; fi
}

# --- checks ------------------------------------------------------------------

pass() { CHECKS=$((CHECKS + 1)); echo "ok - $1"; }
fail() { CHECKS=$((CHECKS + 1)); FAILURES=$((FAILURES + 1)); echo "FAIL - $1"; }
not() { ! "$@"; }
check() { # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

expect_exit() {
    if [ "$KV_EXIT" = "$1" ]; then pass "exit code $1"; else fail "exit code $KV_EXIT, expected $1"; fi
}

installer_log() { [ -f "$C/korvalend-msiexec.log" ] && tr -d '\r' <"$C/korvalend-msiexec.log"; return 0; }
event_log() { [ -f "$C/korvalend-events.log" ] && tr -d '\r' <"$C/korvalend-events.log"; return 0; }

# expect_lines LABEL ACTUAL: standard input, line for line, equals ACTUAL.
expect_lines() {
    local want
    want=$(cat)
    if [ "$want" = "$2" ]; then
        pass "$1: ${want:-none}"
    else
        fail "$1"
        diff <(printf '%s\n' "$want") <(printf '%s\n' "$2") | sed 's/^/    /'
    fi
}

# expect_installer_calls: the exact command lines the installer received, in
# order, one per line on standard input (none for an empty input).
expect_installer_calls() { expect_lines "installer command lines" "$(installer_log)"; }

# expect_events: the exact sequence of uninstallers started (event log).
expect_events() { expect_lines "uninstallers started, in order" "$(event_log)"; }

# Registry checks on a snapshot: key paths as regedit writes them.
# Wine writes only keys with values or without subkeys, so a key is also
# present when a key below it is listed.
has_key() { grep -Fiq -e "[$2]" -e "[$2\\" "$RUN/$1.regtxt"; }
expect_key() { check "key present: $2" has_key "$1" "$2"; }
expect_no_key() { check "key absent: $2" not has_key "$1" "$2"; }

expect_file() { check "present: ${1#$C/}" test -e "$1"; }
gone() { [ ! -e "$1" ] && [ ! -L "$1" ]; }
expect_no_file() { check "absent: ${1#$C/}" gone "$1"; }

# The Recycle Bin is the XDG trash: Trash/files holds the items, each with a
# Trash/info/<name>.trashinfo naming where it came from. The program empties
# a folder into the bin before the folder itself, so a folder's content
# arrives as items of its own. Paths are compared as Windows does, case
# ignored (the program lower-cases the install location).
trash_entries() { # lines "<original host path, lower case>|<name in Trash/files>"
    if [ ! -f "$RUN/trash.entries" ]; then
        local info p
        for info in "$TRASH"/info/*.trashinfo; do
            [ -e "$info" ] || continue
            p=$(sed -n 's/^Path=//p' "$info")
            p=$(printf '%b' "${p//%/\\x}") # percent-decoding
            printf '%s|%s\n' "$(lower_path "$p")" "$(basename "$info" .trashinfo)"
        done >"$RUN/trash.entries"
    fi
    cat "$RUN/trash.entries"
}
lower_path() { realpath -m "$1" | tr '[:upper:]' '[:lower:]'; }

# trashed_as HOSTPATH: where the item that was at HOSTPATH now is, in
# Trash/files, directly or inside a trashed folder that held it.
trashed_as() {
    local want origin name
    want=$(lower_path "$1")
    while IFS='|' read -r origin name; do
        if [ "$want" = "$origin" ]; then echo "$TRASH/files/$name"; return 0; fi
        case "$want" in
            "$origin"/*)
                local rest=${want#"$origin"/} hit
                # the rest of the path, matched without regard to case
                hit=$(cd "$TRASH/files/$name" 2>/dev/null && find . -ipath "./$rest" -print -quit)
                if [ -n "$hit" ]; then echo "$TRASH/files/$name/${hit#./}"; return 0; fi ;;
        esac
    done < <(trash_entries)
    return 1
}
expect_trashed() {
    local at
    if at=$(trashed_as "$1") && [ -e "$at" ]; then
        pass "in the Recycle Bin: ${1#$C/}"
    else
        fail "in the Recycle Bin: ${1#$C/}"
        trash_entries | sed 's/^/    /'
    fi
}
expect_not_trashed() {
    check "not in the Recycle Bin: ${1#$C/}" not trashed_as "$1"
}
trash_count() { find "$TRASH/files" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l; }
expect_trash_count() {
    local n
    n=$(trash_count)
    if [ "$n" -eq "$1" ]; then pass "Recycle Bin holds $1 item(s)"; else
        fail "Recycle Bin holds $n item(s), expected $1"
        ls "$TRASH/files" 2>/dev/null | sed 's/^/    /'
    fi
}
# What the family's installers put at the top of the install folder.
SUITE_LAYOUT='program share help presets readmes ure credits.fodt license.html license.txt notice'

# Everything in the Recycle Bin is the suite's: the install folder itself,
# the entries of the suite's layout in it, its Start menu folder (or the
# suite's own Startup shortcut).
expect_trash_only_suite() {
    local origin name bad=0 dir menu startup entry ok
    dir=$(lower_path "$SUITE_DIR")
    menu=$(lower_path "$COMMON_PROGRAMS/$SUITE_KEY")
    startup=$(lower_path "$SUITE_STARTUP")
    while IFS='|' read -r origin name; do
        ok=0
        case "$origin" in "$dir" | "$menu" | "$menu"/* | "$startup") ok=1 ;; esac
        for entry in $SUITE_LAYOUT; do
            case "$origin" in "$dir/$entry" | "$dir/$entry"/*) ok=1 ;; esac
        done
        [ $ok -eq 1 ] || { bad=1; echo "    unexpected: $origin"; }
    done < <(trash_entries)
    check "Recycle Bin holds nothing but the suite's own" test $bad -eq 0
}

running() { processes | grep -qix "$1"; }
expect_running() { check "process running: $1" running "$1"; }
expect_not_running() { check "process gone: $1" not running "$1"; }

# The part of the registry that installing and uninstalling touch: HKLM's
# software keys (HKCR included). Wine rewrites hardware and display keys at
# each start of its desktop process; they say nothing about this program.
volatile_filter() {
    awk '/^\[/{k = toupper($0); keep = (k ~ /^\[HKEY_LOCAL_MACHINE\\SOFTWARE(\\|\])/) && k !~ /\\NETWORKCARDS/} keep'
}

# expect_unchanged BEFORE AFTER: registry and files of two snapshots agree.
expect_unchanged() {
    if diff <(volatile_filter <"$RUN/$1.regtxt") <(volatile_filter <"$RUN/$2.regtxt") >"$RUN/reg.diff"; then
        pass "registry unchanged"
    else
        fail "registry unchanged"
        head -20 "$RUN/reg.diff" | sed 's/^/    /'
    fi
    if diff "$RUN/$1.files" "$RUN/$2.files" >"$RUN/files.diff"; then
        pass "files unchanged"
    else
        fail "files unchanged"
        head -20 "$RUN/files.diff" | sed 's/^/    /'
    fi
}

# The suite as the package left it: every trace present.
expect_suite_installed() {
    local snap=$1
    expect_key "$snap" "$SUITE_UNINSTALL\\$SUITE_CODE"
    expect_key "$snap" "$SUITE_VENDOR_KEY\\$(dist_field "$SUITE" 3)\\$UPGRADE_CODE"
    expect_key "$snap" "$APPID_KEY"
    expect_file "$SUITE_DIR/program/bootstrap.ini"
    expect_file "$COMMON_PROGRAMS/$SUITE_KEY"
    local name
    while read -r name; do expect_file "$PUBLIC_DESKTOP/$name"; done < <(desktop_shortcuts "$SUITE")
    expect_file "$SUITE_STARTUP"
}

# The suite gone: registrations removed by its uninstallation, shortcuts
# deleted for good, its two folders in the Recycle Bin.
expect_suite_removed() {
    local snap=$1
    expect_no_key "$snap" "$SUITE_VENDOR_KEY"
    expect_suite_files_removed "$snap"
}

# The same, but for the vendor key (a machine may keep other versions' keys).
expect_suite_files_removed() {
    local snap=$1
    expect_no_key "$snap" "$SUITE_UNINSTALL\\$SUITE_CODE"
    expect_no_key "$snap" "$APPID_KEY"
    expect_no_key "$snap" "$PROGID_KEY"
    local name
    while read -r name; do expect_no_file "$PUBLIC_DESKTOP/$name"; done < <(desktop_shortcuts "$SUITE")
    expect_no_file "$SUITE_STARTUP"
    expect_no_file "$SUITE_DIR"
    expect_no_file "$COMMON_PROGRAMS/$SUITE_KEY"
    expect_trashed "$SUITE_DIR"
    expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY"
    expect_trashed "$SUITE_DIR/program/user-notes.txt"
    expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY/Online Help.url"
}

# What belongs to others stayed where it was.
expect_bystanders_kept() {
    expect_file "$USER_DIR/Desktop/LibreOffice Writer.lnk"
    expect_file "$PUBLIC_DESKTOP/Notes.lnk"
    if [ "${SUITE:-}" = collabora ]; then expect_file "$PUBLIC_DESKTOP/LibreOffice Base.lnk"; fi
    expect_file "$USER_STARTUP/OpenOffice.lnk"
    expect_file "$USER_STARTUP/LibreOffice notes.txt"
    local other
    for other in "${OTHER_STARTUP[@]}"; do expect_file "$USER_STARTUP/$other"; done
    expect_file "$C/Program Files/Other Suite/program/bootstrap.ini"
}

# finish: the scenario's verdict, as its exit code.
# A passed scenario's prefix copy (about 700 MB) is removed, so that a whole
# run fits on a small disk; a failed one is kept for a look, and so is every
# one when KORVALEND_KEEP_RUNS is set.
finish() {
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ] || return 1
    if [ -z "${KORVALEND_KEEP_RUNS:-}" ] && [ -n "${RUN:-}" ] && [ -d "$RUN" ]; then
        end_machine
        WINEPREFIX=$RUN/prefix "$WINESERVER" -w 2>/dev/null
        rm -rf "$RUN"
    fi
    return 0
}

# uninstall_in_order CODE...: runs the program (no argument), takes the
# snapshot "after" and checks that it ended with 0 after the installer
# uninstalled these products, in this order, each gone from both registry
# views.
uninstall_in_order() {
    run_korvalend
    snapshot after
    expect_exit 0
    printf '/passive /norestart /x%s\n' "$@" | expect_installer_calls
    local code
    for code in "$@"; do
        expect_no_key after "$UNINSTALL\\$code"
        expect_no_key after "$UNINSTALL32\\$code"
    done
}
# uninstall_suite_alone: the same for the suite without packs.
uninstall_suite_alone() { uninstall_in_order "$SUITE_CODE"; }

# A distribution with no extras: its own vendor key, product key and AppID
# text, and the suite alone is uninstalled.
plain_distribution_scenario() {
    new_machine "$SCENARIO"
    install_suite "$1"
    add_bystanders
    snapshot before
    expect_suite_installed before

    uninstall_suite_alone
    expect_suite_removed after
    expect_bystanders_kept
    expect_trash_only_suite
}
