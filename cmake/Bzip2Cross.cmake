# libbzip2 for the cross build, compiled from the Debian source that scripts/setup
# fetched. Natively the system's libbz2-dev is used instead.
set(VORLIX_BZIP2_SOURCE "${PROJECT_SOURCE_DIR}/build/deps/bzip2" CACHE PATH "bzip2 source folder")
if(NOT EXISTS "${VORLIX_BZIP2_SOURCE}/bzlib.c")
  message(FATAL_ERROR "No bzip2 source in ${VORLIX_BZIP2_SOURCE}: run scripts/setup first")
endif()
add_library(bz2_static STATIC
  ${VORLIX_BZIP2_SOURCE}/blocksort.c ${VORLIX_BZIP2_SOURCE}/huffman.c
  ${VORLIX_BZIP2_SOURCE}/crctable.c ${VORLIX_BZIP2_SOURCE}/randtable.c
  ${VORLIX_BZIP2_SOURCE}/compress.c ${VORLIX_BZIP2_SOURCE}/decompress.c
  ${VORLIX_BZIP2_SOURCE}/bzlib.c)
target_include_directories(bz2_static SYSTEM PUBLIC ${VORLIX_BZIP2_SOURCE})
# The C library's own printf for libbzip2's diagnostics, not MinGW's larger portable one.
target_compile_options(bz2_static PRIVATE -Os -w -fno-asynchronous-unwind-tables -ffunction-sections
                       -fdata-sections -D__USE_MINGW_ANSI_STDIO=0)
add_library(BZip2::BZip2 ALIAS bz2_static)
