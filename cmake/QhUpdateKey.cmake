# The public key Update.exe trusts: a P-256 public key in PEM, compiled in
# as generated/update_public_key.h. Left at its default, it is the public
# half of a throwaway development key made once under the build root
# (build/signing/), the key scripts/package.sh signs with when no vendor
# key is named; a release build points it at the vendor's public key.
get_filename_component(QH_BUILD_ROOT_DIR "${CMAKE_BINARY_DIR}/.." ABSOLUTE)
set(QH_DEV_KEY_DIR "${QH_BUILD_ROOT_DIR}/signing")
set(QH_UPDATE_PUBLIC_KEY "${QH_DEV_KEY_DIR}/update-dev-key.pub.pem" CACHE FILEPATH
    "Public key (P-256, PEM) whose signatures Update.exe accepts")

set(qh_signing_script "${CMAKE_SOURCE_DIR}/scripts/update-signing.sh")
if(QH_UPDATE_PUBLIC_KEY STREQUAL "${QH_DEV_KEY_DIR}/update-dev-key.pub.pem"
   AND NOT EXISTS "${QH_UPDATE_PUBLIC_KEY}")
  execute_process(COMMAND bash "${qh_signing_script}" dev-key "${QH_DEV_KEY_DIR}"
                  RESULT_VARIABLE qh_result OUTPUT_QUIET)
  if(NOT qh_result EQUAL 0)
    message(FATAL_ERROR "could not make the development update key (is openssl installed?)")
  endif()
  message(STATUS "Update.exe trusts the development key under ${QH_DEV_KEY_DIR}")
endif()
execute_process(COMMAND bash "${qh_signing_script}" public-hex "${QH_UPDATE_PUBLIC_KEY}"
                RESULT_VARIABLE qh_result OUTPUT_VARIABLE qh_point OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT qh_result EQUAL 0)
  message(FATAL_ERROR "QH_UPDATE_PUBLIC_KEY: ${QH_UPDATE_PUBLIC_KEY} is not a P-256 public key")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${QH_UPDATE_PUBLIC_KEY}")
string(REGEX REPLACE "(..)" "0x\\1," QH_UPDATE_PUBLIC_KEY_BYTES "${qh_point}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/update_public_key.h.in
               ${CMAKE_BINARY_DIR}/generated/update_public_key.h @ONLY)
