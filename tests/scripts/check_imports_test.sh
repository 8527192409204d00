#!/bin/sh
# check_imports_test.sh CHECK: the import check on small programs for i686 and
# x86_64. A program that Windows XP runs passes; an import by ordinal, a
# function of Windows Vista loaded by a delay load and a header marked for
# Windows 6.0 are each refused, and the check names the cause.
set -eu
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '#include <windows.h>\nvoid start(void) { ExitProcess(0); }\n' >pass.c
printf '__declspec(dllimport) int IsOS(unsigned);\nvoid start(void) { IsOS(0); }\n' >ordinal.c
printf 'int GetTickCount64(void);\nvoid start(void) { GetTickCount64(); }\n' >delay.c
printf 'LIBRARY shlwapi.dll\nEXPORTS\nIsOS @437 NONAME\n' >ordinal.def
printf 'LIBRARY kernel32.dll\nEXPORTS\nGetTickCount64\n' >delay.def
# refused PROGRAM TEXT: the check refuses PROGRAM, saying TEXT.
refused() {
  if "$check" "$1" >out 2>&1 || ! tr '\n' ' ' <out | grep -q "$2"; then
    echo "FAILED: $1: $(cat out)"
    exit 1
  fi
}
for arch in i686 x86_64; do
  entry=start
  [ $arch = x86_64 ] || entry=_start  # as i686 names C functions
  link="$arch-w64-mingw32-gcc-win32 -nostdlib -Wl,-e,$entry"
  $link -o pass.exe pass.c -lkernel32
  "$check" pass.exe >out 2>&1 || { echo "FAILED: $arch: $(cat out)" && exit 1; }
  $link -Wl,--major-subsystem-version,6,--minor-subsystem-version,0 -o marked.exe pass.c -lkernel32
  refused marked.exe "marked for Windows 6.0"
  "$arch-w64-mingw32-dlltool" -d ordinal.def -l ordinal.a
  $link -o ordinal.exe ordinal.c ordinal.a
  refused ordinal.exe "by ordinal.*shlwapi.dll #437"
  "$arch-w64-mingw32-dlltool" -d delay.def -y delay.a
  $link -o delay.exe delay.c delay.a -lmingwex -lkernel32
  refused delay.exe "finds them by name.*GetTickCount64"
done
echo "check-imports: passed"
