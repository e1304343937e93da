# Cross-build for 32-bit Windows with Debian's mingw-w64 (package mingw-w64).
#   cmake -S . -B build-win32 --toolchain cmake/mingw-w64-i686.cmake
set(TQ587_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
