# Cross-compiling for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix,
# the POSIX thread model that std::thread needs). Programs built with it run here under
# Wine, which CMake knows as the emulator.
#   cmake -S <project> -B <build> -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PQ_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PQ_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PQ_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PQ_MINGW_TRIPLE}-windres)

# Headers and libraries come from the Windows side only; tools from this system.
set(CMAKE_FIND_ROOT_PATH /usr/${PQ_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package puts its loader outside PATH.
find_program(PQ_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine)
if(PQ_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PQ_WINE64})
endif()
