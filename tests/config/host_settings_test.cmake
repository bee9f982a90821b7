# The host settings' rule, as the configure step applies it:
#   cmake -DQH_SOURCE=<top of the tree> -P host_settings_test.cmake
# A bad value is tried in a configure of its own, since it stops the run.
include(${QH_SOURCE}/cmake/QhHosts.cmake)

if(DEFINED ONE_HOST)
  set(QH_SITE_HOST "${ONE_HOST}")
  qh_check_host(QH_SITE_HOST)
  message("root: ${QH_SITE_HOST}")
  return()
endif()

set(failures 0)
function(expect_root value root)
  set(QH_SITE_HOST "${value}")
  qh_check_host(QH_SITE_HOST)
  if(NOT QH_SITE_HOST STREQUAL root)
    message(SEND_ERROR "\"${value}\" gave \"${QH_SITE_HOST}\", not \"${root}\"")
  endif()
endfunction()
function(expect_refused value reason)
  execute_process(COMMAND ${CMAKE_COMMAND} -DQH_SOURCE=${QH_SOURCE} "-DONE_HOST=${value}"
                  -P ${CMAKE_CURRENT_LIST_FILE}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX REPLACE "[ \n]+" " " err "${err}")
  if(result EQUAL 0)
    message(SEND_ERROR "\"${value}\" was taken: ${err}")
  elseif(NOT err MATCHES "QH_SITE_HOST is" OR NOT err MATCHES "${reason}")
    message(SEND_ERROR "\"${value}\" was refused without naming the setting and \"${reason}\": ${err}")
  endif()
endfunction()

expect_root("http://127.0.0.1:8780" "http://127.0.0.1:8780")
expect_root("http://portal.example.com/tv/" "http://portal.example.com/tv")
expect_root("http://h:65535/" "http://h:65535")

expect_refused("https://portal.example.com" "plain HTTP only")
expect_refused("portal.example.com" "plain HTTP only")
expect_refused("http://h:0" "from 1 to 65535")
expect_refused("http://h:65536/" "from 1 to 65535")
expect_refused("http://h:/" "from 1 to 65535")
expect_refused("http://user@h/" "no user name")
expect_refused("http://h/a b" "no blanks")
expect_refused("http://h/\"x" "no blanks, quotes")
