# Cross-builds the Windows (x86-64) programs on Linux with the MinGW-w64 compilers that use POSIX
# threads, and runs what the build runs (test discovery, tests) under Wine.
#
# Libraries come from the MinGW root and from the staging prefix given in VELKOR_WINDOWS_PREFIX
# (header-only libraries and GoogleTest built for Windows; scripts/build-windows.sh fills it). The
# Linux /usr tree is never searched, so no glibc header can reach a Windows build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELKOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELKOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKOR_MINGW_TRIPLE}-windres)

# Try-compile projects get the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELKOR_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VELKOR_MINGW_TRIPLE})
if(VELKOR_WINDOWS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VELKOR_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run alone on a Windows PC: zlib, the C++ runtime and the thread library are linked
# in, so no MinGW DLL has to lie beside them.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test discovery and ctest run the .exe files under Wine, quietly, in a Wine prefix of the build's
# own (scripts/wine-server.sh starts its server before a build or a test run).
# Programs that use Qt find its DLLs (and, beside them, its plugins) through WINEPATH: the bin
# folder of every prefix that holds a Qt for Windows.
find_program(VELKOR_WINE wine)
set(VELKOR_WINE_ENVIRONMENT WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix)
set(velkor_wine_path "")
foreach(prefix IN LISTS VELKOR_WINDOWS_PREFIX)
  if(EXISTS ${prefix}/bin/Qt6Core.dll)
    list(APPEND velkor_wine_path ${prefix}/bin)
  endif()
endforeach()
if(velkor_wine_path)
  string(REPLACE ";" "\\;" velkor_wine_path "${velkor_wine_path}")
  list(APPEND VELKOR_WINE_ENVIRONMENT "WINEPATH=${velkor_wine_path}")
endif()
if(VELKOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${VELKOR_WINE_ENVIRONMENT} ${VELKOR_WINE})
endif()
