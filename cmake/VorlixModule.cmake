# Every folder of ours is one library built from its files: the portable ones
# everywhere, the ones ending in _win32.cpp only in the Windows build.
function(vorlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wno-missing-field-initializers)
endfunction()

# Our code throws and catches nothing: in the Windows builds it is compiled without
# exception tables, every function and datum in a section of its own for the linker to drop,
# and with the C library's own printf rather than MinGW's larger portable one.
set(VORLIX_LEAN_OPTIONS -fno-exceptions -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0)

function(vorlix_lean target)
  if(WIN32)
    target_compile_options(${target} PRIVATE ${VORLIX_LEAN_OPTIONS})
  endif()
endfunction()

# A release program: unused sections dropped, and stripped after the link with its
# symbols kept beside it in NAME.debug (for gdb's symbol-file; no debug link, which
# would cost the file a section).
function(vorlix_release_program target)
  vorlix_lean(${target})
  target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--disable-reloc-section)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

function(vorlix_module name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS;WIN32_DEPENDS" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER portable EXCLUDE REGEX "_win32\\.cpp$")
  if(portable)
    add_library(${name} STATIC ${portable})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    vorlix_warnings(${name})
    vorlix_lean(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
  if(WIN32)
    file(GLOB platform CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*_win32.cpp)
    # A program's entry point belongs to its executable, not to the library.
    list(FILTER platform EXCLUDE REGEX "_main_win32\\.cpp$")
    if(platform)
      add_library(${name}_win32 STATIC ${platform})
      target_link_libraries(${name}_win32 PUBLIC ${name} ${ARG_WIN32_DEPENDS})
      vorlix_warnings(${name}_win32)
      vorlix_lean(${name}_win32)
    endif()
  endif()
endfunction()
