# Compiler settings shared by every target, and the helper that makes a
# library out of a folder.

set(QH_C_LIKE "$<COMPILE_LANGUAGE:C,CXX>")
add_compile_options("$<${QH_C_LIKE}:-Wall;-Wextra>")
# Sources are UTF-8; narrow literals are code page 936 in the program, as
# every byte-string text of the system is (GB18030 is the superset that
# lets system headers with other characters compile; for every character
# of code page 936 the bytes are the same). Wide literals stay UTF-16.
# clang (only the fuzz build uses it) knows no other execution character
# set; there literals stay UTF-8, which only robustness checks see.
add_compile_options("$<$<AND:${QH_C_LIKE},$<CXX_COMPILER_ID:GNU>>:-finput-charset=UTF-8;-fexec-charset=GB18030>")
include_directories(${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)

if(WIN32)
  # Unicode Win32 calls everywhere; no MinGW DLLs beside the executable.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(QH_SANITIZE)
  add_compile_options("$<${QH_C_LIKE}:-fsanitize=address,undefined;-fno-omit-frame-pointer;-fno-sanitize-recover=all>")
  add_link_options(-fsanitize=address,undefined)
endif()

# qh_library(name [SUBDIRS dir...] [DEPS lib...]): a static library of every .cpp in the
# calling folder (and the named subfolders). Files ending in _win.cpp build only for Windows, files
# ending in _posix.cpp only elsewhere.
function(qh_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SUBDIRS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_SUBDIRS)
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${more})
  endforeach()
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  if(NOT sources)
    message(FATAL_ERROR "${name}: no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()
