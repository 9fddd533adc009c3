# Cross-compiling for 64-bit Windows with MinGW-w64 (posix threads model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${OSK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${OSK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The runtime is linked in statically so that the deliverables need no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
