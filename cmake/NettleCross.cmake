# Nettle's SHA-256 and MD5 for the cross build, compiled from the Debian source that
# scripts/setup fetched (the portable C code only: no assembly, no run-time CPU choice).
# Natively the system's nettle-dev is used instead. Either way the code includes
# <nettle/sha2.h>.
set(VORLIX_NETTLE_SOURCE "${PROJECT_SOURCE_DIR}/build/deps/nettle" CACHE PATH "Nettle source folder")
if(NOT EXISTS "${VORLIX_NETTLE_SOURCE}/sha256-compress.c")
  message(FATAL_ERROR "No Nettle source in ${VORLIX_NETTLE_SOURCE}: run scripts/setup first")
endif()
add_library(nettle_sha256_static STATIC
  ${VORLIX_NETTLE_SOURCE}/sha256.c ${VORLIX_NETTLE_SOURCE}/sha256-compress.c
  ${VORLIX_NETTLE_SOURCE}/write-be32.c
  # MD5, for the contents listing's and the batch manifests' file hashes.
  ${VORLIX_NETTLE_SOURCE}/md5.c ${VORLIX_NETTLE_SOURCE}/md5-compress.c
  ${VORLIX_NETTLE_SOURCE}/write-le32.c)
# The headers name each other without a folder; users name them as <nettle/...>.
set(nettle_include "${CMAKE_BINARY_DIR}/nettle-include")
file(MAKE_DIRECTORY "${nettle_include}")
file(CREATE_LINK "${VORLIX_NETTLE_SOURCE}" "${nettle_include}/nettle" SYMBOLIC)
target_include_directories(nettle_sha256_static SYSTEM PUBLIC "${nettle_include}")
target_include_directories(nettle_sha256_static PRIVATE "${VORLIX_NETTLE_SOURCE}")
target_compile_options(nettle_sha256_static PRIVATE -O2 -w -fno-asynchronous-unwind-tables
                       -ffunction-sections -fdata-sections)
add_library(Nettle::Sha256 ALIAS nettle_sha256_static)
