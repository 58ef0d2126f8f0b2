# What the two MinGW-w64 cross builds share; each toolchain file sets VORLIX_MINGW_TARGET
# (the compilers' target triplet) and includes this. The -posix compilers are needed by
# GoogleTest; our own programs use Win32 threads only, so the model costs them nothing.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VORLIX_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLIX_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLIX_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VORLIX_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
