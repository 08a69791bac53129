# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX thread model, which
# Qt's std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VOLTARA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VOLTARA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOLTARA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VOLTARA_MINGW_TRIPLE}-windres)

# Headers and libraries come from the mingw sysroot (and whatever CMAKE_FIND_ROOT_PATH adds,
# such as the static Qt); programs such as Qt's host tools come from this machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VOLTARA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
