# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the POSIX thread model), run
# under Wine. Used by scripts/test-windows.sh for the database layer and its tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORDO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORDO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORDO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORDO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORDO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime and the thread library linked in, so that an .exe runs with no DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run through Wine; Debian's wine64 package keeps its loader out of PATH.
find_program(KORDO_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(KORDO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KORDO_WINE})
endif()
