# zlib and minizip's unzip for reading other programs' ZIP archives (engine/image/zip_*),
# as the target Minizip::Unzip. Natively the system's zlib1g-dev and libminizip-dev; in
# the cross builds MinGW-w64's static zlib (libz-mingw-w64-dev) and minizip's unzip.c and
# ioapi.c compiled from zlib's Debian source (contrib/minizip), which scripts/setup
# fetched. The restorer stub links neither (stub/zip_image_stand_in.cpp).
if(TARGET Minizip::Unzip)
  return()
endif()

if(NOT WIN32)
  find_package(ZLIB REQUIRED)
  find_path(MINIZIP_INCLUDE_DIR unzip.h PATH_SUFFIXES minizip REQUIRED)
  find_library(MINIZIP_LIBRARY NAMES minizip REQUIRED)
  add_library(Minizip::Unzip UNKNOWN IMPORTED)
  set_target_properties(Minizip::Unzip PROPERTIES IMPORTED_LOCATION "${MINIZIP_LIBRARY}"
                        INTERFACE_INCLUDE_DIRECTORIES "${MINIZIP_INCLUDE_DIR}"
                        INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
  return()
endif()

# The static library, never an import library: the programs are one file each.
find_path(VORLIX_ZLIB_INCLUDE_DIR zlib.h)
find_library(VORLIX_ZLIB_LIBRARY NAMES libz.a)
if(NOT VORLIX_ZLIB_INCLUDE_DIR OR NOT VORLIX_ZLIB_LIBRARY)
  message(FATAL_ERROR "No static zlib for ${VORLIX_MINGW_TARGET}: run scripts/setup first (libz-mingw-w64-dev)")
endif()
add_library(vorlix_zlib STATIC IMPORTED)
set_target_properties(vorlix_zlib PROPERTIES IMPORTED_LOCATION "${VORLIX_ZLIB_LIBRARY}"
                      INTERFACE_INCLUDE_DIRECTORIES "${VORLIX_ZLIB_INCLUDE_DIR}")

set(VORLIX_MINIZIP_SOURCE "${PROJECT_SOURCE_DIR}/build/deps/minizip" CACHE PATH "minizip source folder")
if(NOT EXISTS "${VORLIX_MINIZIP_SOURCE}/unzip.c")
  message(FATAL_ERROR "No minizip source in ${VORLIX_MINIZIP_SOURCE}: run scripts/setup first")
endif()
add_library(minizip_unzip_static STATIC ${VORLIX_MINIZIP_SOURCE}/unzip.c ${VORLIX_MINIZIP_SOURCE}/ioapi.c)
target_include_directories(minizip_unzip_static SYSTEM PUBLIC ${VORLIX_MINIZIP_SOURCE})
target_link_libraries(minizip_unzip_static PUBLIC vorlix_zlib)
# Encrypted members are refused before they are opened: no decryption code. The C
# library's own printf, as for libbzip2.
target_compile_definitions(minizip_unzip_static PRIVATE NOUNCRYPT)
target_compile_options(minizip_unzip_static PRIVATE -Os -w -fno-asynchronous-unwind-tables
                       -ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0)
add_library(Minizip::Unzip ALIAS minizip_unzip_static)
