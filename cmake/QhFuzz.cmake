# qh_fuzz(name LIBS lib...): a fuzz target from every .cpp of the calling
# folder, each defining LLVMFuzzerTestOneInput.
#
# With clang and QH_FUZZ=ON (scripts/fuzz.sh) it is a libFuzzer program.
# Otherwise it links fuzz/driver/standalone_main.cpp, which feeds a fixed,
# seeded series of inputs (and any files named on the command line), and
# ctest runs it, so every build keeps the target compiling and the
# sanitized build runs it clean.
option(QH_FUZZ "Build fuzz targets as libFuzzer programs (clang only)" OFF)

function(qh_fuzz name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(QH_FUZZ)
    add_executable(${name} ${sources})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/fuzz/driver/standalone_main.cpp)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()
