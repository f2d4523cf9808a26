# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX-threads flavour of the compiler gives the C++ standard library its full thread
# support; everything is linked statically, so the programs need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TECTOPLAN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TECTOPLAN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TECTOPLAN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TECTOPLAN_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TECTOPLAN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++, libgcc or winpthread DLL: the .exe files run on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs and tools of the build run under Wine.
find_program(TECTOPLAN_WINE NAMES wine wine64)
if(TECTOPLAN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TECTOPLAN_WINE})
endif()
