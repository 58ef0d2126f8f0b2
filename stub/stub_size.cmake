# Prints the restorer stub's size against its limit; with CHECK on, a stub over the limit
# is an error. Usage: cmake -DSTUB=file -DLIMIT=bytes [-DCHECK=ON] -P stub_size.cmake
file(SIZE "${STUB}" size)
math(EXPR room "${LIMIT} - ${size}")
message(STATUS "Restorer stub: ${size} bytes of ${LIMIT} (${room} to spare)")
if(CHECK AND size GREATER LIMIT)
  message(FATAL_ERROR "The restorer stub is ${size} bytes, over its limit of ${LIMIT}")
endif()
