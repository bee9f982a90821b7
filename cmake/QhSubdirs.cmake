# qh_add_child_folders(): add every direct child folder that has a
# CMakeLists.txt, so each tool, suite, benchmark or fuzz target lives in a
# folder of its own and nobody edits a shared list to add one.
function(qh_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
