# Windows programs from Debian's mingw-w64 (posix thread model), run under Wine.
# QUORVANE_ARCH is i686 (the program users get) or x86_64 (the same sources,
# for machines whose kernel cannot run 32-bit code).
set(QUORVANE_ARCH i686 CACHE STRING "i686 or x86_64")
set_property(CACHE QUORVANE_ARCH PROPERTY STRINGS i686 x86_64)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVANE_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUORVANE_ARCH})
set(triplet ${QUORVANE_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every program must run alone on a user's machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
