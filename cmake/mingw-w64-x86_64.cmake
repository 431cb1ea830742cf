# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads, so
# std::thread and friends work): g++-mingw-w64-x86-64-posix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RQ_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RQ_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RQ_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${RQ_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RQ_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt for MinGW lives outside the mingw root (unpacked into the build folder),
# and its packages find the host tools (moc, uic, rcc) under QT_HOST_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# ratequill-cli.exe and the library tests link the C++ runtime in (one .exe
# that runs on its own); the Qt programs share the runtime DLLs with Qt's
# own DLLs, so that the process holds one C++ runtime. See CMakeLists.txt.
