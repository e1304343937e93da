# 32-bit x86 Linux, built on 64-bit x86 Linux with Debian's gcc-multilib:
#   cmake -S . -B build-linux32 --toolchain cmake/linux-i686.cmake
# Its programs run under qemu-i386 (qemu-user-static), which also serves a
# kernel that cannot execute 32-bit programs. FreeType, libpng and zint are
# 64-bit only here, so the tools and the tests that use them are left out.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static -L /)
set(TQ587_TOOLS OFF CACHE BOOL "" FORCE)
