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
