# Cross-build for 64-bit Windows with Debian's mingw-w64 (package mingw-w64).
#   cmake -S . -B build-win64 --toolchain cmake/mingw-w64-x86_64.cmake
set(TQ587_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
