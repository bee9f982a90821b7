# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QH_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows programs run through Wine inside the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
