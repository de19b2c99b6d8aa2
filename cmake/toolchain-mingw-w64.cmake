# Cross-build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model is the one whose libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${_triple}-gcc-posix ${_triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_triple}-g++-posix ${_triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Runs on a clean Windows: no libstdc++, libgcc or winpthread DLLs beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the test programs through wine when it is there.
find_program(_wine NAMES wine)
if(_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${_wine})
endif()

# A static Qt for mingw (scripts/build-qt-windows.sh), for the window: its packages are found in
# its prefix, its moc, rcc and uic are the build machine's Qt of the same version.
set(LARK_QT_PREFIX "" CACHE PATH "Prefix of a Qt 6 for x86_64-w64-mingw32; empty builds no window")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LARK_QT_PREFIX)
if(LARK_QT_PREFIX)
  list(PREPEND CMAKE_PREFIX_PATH ${LARK_QT_PREFIX}/lib/cmake)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${LARK_QT_PREFIX})
  set(QT_HOST_PATH /usr CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake CACHE PATH "")
endif()
