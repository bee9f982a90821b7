# GoogleTest from Debian's sources, built with this project's compiler and
# flags in both builds (sanitized too), so no prebuilt library has to match.
set(QH_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QH_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources are not ours to keep warning-free.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

# qh_gtest(name [WINDOWS_ONLY] [LIBS lib...]): one test program of every .cpp
# in the calling folder, registered with ctest. On the Windows build ctest
# runs it through Wine (the cross-compiling emulator).
function(qh_gtest name)
  cmake_parse_arguments(ARG "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT" "LIBS" ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(ARG_NATIVE_ONLY AND WIN32)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main gtest)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# qh_skin_suite(name [TIMEOUT seconds] [LIBS lib...]): a Windows suite of
# the skin engine on real windows, with the shared test support (one
# application, the skins the build packs, dressed windows, the screen read
# back). Such suites judge pixels on the one shared desktop, so they take
# it in turn with every suite that shows a main window.
function(qh_skin_suite name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(ARG_TIMEOUT)
    set(timeout TIMEOUT ${ARG_TIMEOUT})
  endif()
  qh_gtest(${name} WINDOWS_ONLY ${timeout} LIBS ${ARG_LIBS} qh_test_skin)
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK qh_main_window)
endfunction()
