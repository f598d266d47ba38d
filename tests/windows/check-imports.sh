#!/usr/bin/env bash
# Checks that nightgrid.scr is what Windows expects of a screen saver: a 32-bit PE GUI program whose import
# table names only Windows' own DLLs (no C++ runtime, winpthread or freeglut DLL to ship beside it), and that
# it carries the resources the shell asks for: icon 100, dialog 2003 and string 1, the saver's name.
#   check-imports.sh nightgrid.scr
set -uo pipefail
scr=${1:?usage: check-imports.sh nightgrid.scr}
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
status=0
fail() {
    echo "FAIL $*"
    status=1
}

headers=$($objdump -p "$scr") || { echo "FAIL cannot read $scr"; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit PE image"
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "not a Windows GUI program"

mapfile -t dlls < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:lower:]' '[:upper:]' | sort -u)
echo "nightgrid.scr: $(stat -c %s "$scr") bytes, imports ${dlls[*]}"
[ ${#dlls[@]} -gt 0 ] || fail "no import table"
for dll in "${dlls[@]}"; do
    case $dll in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | ADVAPI32.DLL | OPENGL32.DLL | GLU32.DLL | WINMM.DLL | MSVCRT.DLL) ;;
    *) fail "imports $dll, which Windows does not ship" ;;
    esac
done
for needed in OPENGL32.DLL USER32.DLL GDI32.DLL; do
    printf '%s\n' "${dlls[@]}" | grep -qx "$needed" || fail "does not import $needed"
done

resources=$($windres -i "$scr" -O rc 2>/dev/null) || fail "cannot read the resources"
grep -Eq '^100 14 .*RT_GROUP_ICON' <<<"$resources" || fail "no icon 100"
grep -Eq '^2003 DIALOG' <<<"$resources" || fail "no dialog 2003"
grep -Eq '^[[:space:]]*1,[[:space:]]*"Night Grid"' <<<"$resources" || fail "string 1 is not \"Night Grid\""
[ "$status" -eq 0 ] && echo "ok   32-bit GUI program, Windows' own DLLs only, icon 100, dialog 2003, string 1"
exit "$status"
