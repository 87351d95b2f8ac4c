# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TR640_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TR640_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TR640_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TR640_MINGW_PREFIX}-windres)

# Libraries are looked up only for Windows: in MinGW's own tree and in the prefixes given with
# CMAKE_PREFIX_PATH (the static Qt), which would otherwise be looked for below MinGW's tree.
set(CMAKE_FIND_ROOT_PATH /usr/${TR640_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no MinGW runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
