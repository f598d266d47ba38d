# Cross-builds for 32-bit Windows with Debian's mingw-w64 (i686). Everything links statically (libgcc,
# libstdc++ and, where the toolchain uses it, winpthread), so the programs import only Windows' own DLLs.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(NIGHTGRID_MINGW_PREFIX i686-w64-mingw32)
# The posix thread model: its libstdc++ has std::mutex and std::condition_variable, which GoogleTest needs
# (the win32 model of GCC 12 has neither). Its winpthread is linked statically below.
set(CMAKE_C_COMPILER ${NIGHTGRID_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NIGHTGRID_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${NIGHTGRID_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NIGHTGRID_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Doubles in SSE2 registers rather than the x87's 80-bit ones: a value kept in a register and the same value
# stored to memory then compare equal, so a frame-clock delta of two equal readings is 0 rather than -5e-14,
# and float results match the 64-bit native build. Windows calls window procedures with a 4-byte-aligned
# stack; -mstackrealign keeps SSE spills safe there.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")

# -static pulls in the static winpthread as well; the two -static-lib* flags keep the GCC runtimes out of DLLs
# even where a library is named explicitly.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
