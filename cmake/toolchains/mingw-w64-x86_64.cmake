# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads: std::thread and
# std::mutex work). The libraries come from MUSICDISK_WINDOWS_PREFIX, the folder that
# tools/windows/build_libraries.sh fills; everything links statically, so the program
# imports only Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_ASM_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# The prefix reaches try_compile projects and later runs through the environment too.
if(NOT MUSICDISK_WINDOWS_PREFIX AND DEFINED ENV{MUSICDISK_WINDOWS_PREFIX})
  set(MUSICDISK_WINDOWS_PREFIX "$ENV{MUSICDISK_WINDOWS_PREFIX}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MUSICDISK_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple} ${MUSICDISK_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the cross libraries' files, and with --static its answers carry the
# libraries each one needs in turn (SDL2's system DLLs, libvorbis' libogg).
if(MUSICDISK_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR}
      "${MUSICDISK_WINDOWS_PREFIX}/lib/pkgconfig:/usr/${mingw_triple}/lib/pkgconfig")
endif()
set(PKG_CONFIG_ARGN --static)

# Static C and C++ runtimes and winpthread: nothing of the compiler's to ship beside the exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
