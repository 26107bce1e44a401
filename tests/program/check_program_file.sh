#!/usr/bin/env bash
# Checks the program file itself: a GUI-subsystem PE that imports only Windows' own
# DLLs, so it runs from a single file, and (for the 32-bit build) no bigger than 96 KiB.
# Usage: check_program_file.sh EXE OBJDUMP
set -euo pipefail
exe=$1 objdump=$2
fail() { echo "FAIL: $*"; exit 1; }

headers=$("$objdump" -p "$exe")
format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')
echo "format: $format"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not the Windows GUI subsystem"

dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
for dll in $dlls; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll | comctl32.dll | \
            shell32.dll | ole32.dll) ;;
        *) fail "imports $dll, which a bare Windows does not have" ;;
    esac
done

size=$(stat -c %s "$exe")
echo "size: $size bytes"
if [ "$format" = pei-i386 ] && [ "$size" -gt $((96 * 1024)) ]; then
    fail "the 32-bit program is $size bytes, more than 96 KiB"
fi
grep -q '\.debug_' <<<"$("$objdump" -h "$exe")" && fail "debug sections left in: not stripped"
echo "ok"
