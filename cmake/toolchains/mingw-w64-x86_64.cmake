# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
# The POSIX thread model: the core uses std::thread, std::mutex and std::condition_variable,
# which the win32 model of this compiler lacks. Everything is linked statically (see
# cmake/windows.cmake), so a program is one .exe without DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VOXTANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VOXTANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOXTANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VOXTANE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VOXTANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

