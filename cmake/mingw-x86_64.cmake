# Cross build for 64-bit Windows (PE32+) with MinGW-w64: the test build for machines
# whose kernel runs 64-bit code only, where wine32 cannot start. The product stays PE32.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORLIX_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
