# Cross build for 32-bit Windows (PE32) with MinGW-w64: the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VORLIX_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
