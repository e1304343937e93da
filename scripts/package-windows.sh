#!/usr/bin/env bash
# Makes the Windows zip from the 32- and 64-bit MinGW builds that
# scripts/test-windows.sh tested (build-win32/, build-win64/; built here
# when missing): x86/ and x64/ each with TQ587.dll, its import library and
# tq587.exe, plus the header, the bindings, the mark-up reference and
# LEIAME.txt. Checks each DLL's exports and imports and that tq587.exe
# imports system DLLs only, then lists the zip.
#   scripts/package-windows.sh     -> build-package/tq587-VERSION-windows.zip
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-windows-deps.sh

version=$(sed -n 's/^project(TQ587 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=build-package/tq587-$version-windows
rm -rf "$stage" "$stage.zip"
mkdir -p "$stage/include" "$stage/docs"
for arch in x86:i686:win32 x64:x86_64:win64; do
  IFS=: read -r folder processor name <<<"$arch"
  build=build-$name
  if [ ! -f "$build/TQ587.dll" ] || [ ! -f "$build/tools/tq587.exe" ]; then
    cmake -S . -B "$build" --toolchain "cmake/mingw-w64-$processor.cmake" >/dev/null
    cmake --build "$build" -j "$(nproc)" --target TQ587 tq587
  fi
  objdump=$processor-w64-mingw32-objdump
  bash tests/wine/check-dll.sh "$objdump" "$build/TQ587.dll" include/tq587.h
  imports=$("$objdump" -p "$build/tools/tq587.exe" | awk '/DLL Name:/ {print tolower($3)}' | sort -u | xargs)
  [ "$imports" = "kernel32.dll msvcrt.dll" ] || { echo "$name tq587.exe imports: $imports" >&2; exit 1; }
  mkdir -p "$stage/$folder"
  cp "$build/TQ587.dll" "$build/libTQ587.dll.a" "$build/tools/tq587.exe" "$stage/$folder/"
done
cp include/tq587.h "$stage/include/"
cp -r bindings "$stage/"
cp docs/markup.md "$stage/docs/"
# Windows line ends for the one file a user opens with Notepad
sed 's/$/\r/' packaging/LEIAME.txt >"$stage/LEIAME.txt"
(cd build-package && cmake -E tar cf "$(basename "$stage").zip" --format=zip "$(basename "$stage")")
echo "== $stage.zip"
unzip -l "$stage.zip" 2>/dev/null || (cd build-package && cmake -E tar tf "$(basename "$stage").zip")
