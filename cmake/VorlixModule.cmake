# Every folder of ours is one library built from its files (vorlix_module below).
function(vorlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wno-missing-field-initializers)
endfunction()

# Our code throws and catches nothing: in the Windows builds it is compiled without
# exception tables, every function and datum in a section of its own for the linker to drop,
# and with the C library's own printf rather than MinGW's larger portable one (with its
# floating-point formatting). libstdc++'s headers switch MinGW's printf on for whatever
# includes <stdio.h> after them, so <stdio.h> comes first in every file.
set(VORLIX_LEAN_OPTIONS -fno-exceptions -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0 "SHELL:-include stdio.h")

function(vorlix_lean target)
  if(WIN32)
    target_compile_options(${target} PRIVATE ${VORLIX_LEAN_OPTIONS})
  endif()
endfunction()

# GNU ld's default script for PE keeps every input .eh_frame section, and with them every
# function an unwinding entry names, so that --gc-sections can drop neither: a sixth of the
# program. Nothing in a release program unwinds (it throws nothing, and the statically
# linked libgcc registers no frames with an unwinder it does not have), so they link with
# ld's own default script less that one KEEP, made from the linker at hand.
function(vorlix_release_linker_script out)
  set(rule "==================================================")
  execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE text RESULT_VARIABLE failed)
  string(FIND "${text}" "${rule}" start)
  string(FIND "${text}" "${rule}" end REVERSE)
  if(NOT failed AND start GREATER -1 AND end GREATER start)
    string(LENGTH "${rule}" length)
    math(EXPR start "${start} + ${length}")
    math(EXPR length "${end} - ${start}")
    string(SUBSTRING "${text}" ${start} ${length} script)
    string(REGEX REPLACE "KEEP *\\(\\*\\(\\.eh_frame\\*\\)\\)" "*(.eh_frame*)" released "${script}")
  endif()
  if(NOT DEFINED released OR released STREQUAL script)
    # A linker whose script reads otherwise still links the programs, only larger.
    message(WARNING "${CMAKE_LINKER} --verbose shows no default script that keeps .eh_frame: "
                    "the release programs link with its own script")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  set(path ${CMAKE_BINARY_DIR}/release-program.x)
  file(CONFIGURE OUTPUT ${path} CONTENT "${released}" @ONLY)
  set(${out} ${path} PARENT_SCOPE)
endfunction()

# A release program: unused sections and their unwinding entries dropped, and stripped
# after the link with its symbols kept beside it in NAME.debug (for gdb's symbol-file; no
# debug link, which would cost the file a section).
function(vorlix_release_program target)
  vorlix_lean(${target})
  target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--disable-reloc-section)
  vorlix_release_linker_script(script)
  if(script)
    target_link_options(${target} PRIVATE -Wl,-T,${script})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# A folder's files by the suffix rule: no suffix, everywhere; `_win32`, only in the
# Windows builds, as a library of its own (NAME_win32); `_posix`, in every other build;
# `_linux`, on Linux. Entry points (`_main_win32`, `_main_linux`) belong to their programs.
# SUBFOLDERS names the folders inside FOLDER whose files join the same library.
function(vorlix_module name folder)
  cmake_parse_arguments(ARG "" "" "SUBFOLDERS;DEPENDS;WIN32_DEPENDS" ${ARGN})
  set(patterns ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(sub ${ARG_SUBFOLDERS})
    list(APPEND patterns ${PROJECT_SOURCE_DIR}/${folder}/${sub}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  list(FILTER sources EXCLUDE REGEX "_main_(win32|linux)\\.cpp$")
  set(portable ${sources})
  list(FILTER portable EXCLUDE REGEX "_(win32|posix|linux)\\.cpp$")
  if(NOT WIN32)
    set(posix ${sources})
    list(FILTER posix INCLUDE REGEX "_posix\\.cpp$")
    list(APPEND portable ${posix})
  endif()
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(linux ${sources})
    list(FILTER linux INCLUDE REGEX "_linux\\.cpp$")
    list(APPEND portable ${linux})
  endif()
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
    set(platform ${sources})
    list(FILTER platform INCLUDE REGEX "_win32\\.cpp$")
    if(platform)
      add_library(${name}_win32 STATIC ${platform})
      target_link_libraries(${name}_win32 PUBLIC ${name} ${ARG_WIN32_DEPENDS})
      vorlix_warnings(${name}_win32)
      vorlix_lean(${name}_win32)
    endif()
  endif()
endfunction()
