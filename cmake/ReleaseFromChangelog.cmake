# Reads the release from the top entry of debian/changelog, as dpkg reads it
# (dpkg-parsechangelog, from dpkg-dev):
#   TOLVEX_RELEASE_VERSION  1.0.0
#   TOLVEX_RELEASE_DATE     2026-12-08 (the AppStream form)
#   TOLVEX_RELEASE_MONTH    December 2026 (the manual page's form)
# Runs before project(), so it uses nothing a language enables.
set(changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
find_program(TOLVEX_DPKG_PARSECHANGELOG dpkg-parsechangelog REQUIRED)

# changelog_field(NAME OUT): one field of the top entry.
function(changelog_field name out)
  execute_process(COMMAND ${TOLVEX_DPKG_PARSECHANGELOG} -l ${changelog} -S ${name}
                  OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR value STREQUAL "")
    message(FATAL_ERROR "debian/changelog: dpkg-parsechangelog gives no ${name}")
  endif()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# The top entry's time, in the forms the texts use: in UTC and in English
# whatever the locale, so that every machine writes the same.
function(changelog_time seconds format out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -d @${seconds} ${format}
                  OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "date could not write the changelog's time ${seconds}")
  endif()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

changelog_field(Version version)
# A native package's version is the release's.
if(NOT version MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+)$")
  message(FATAL_ERROR "debian/changelog: the top entry's version ${version} is not a release's")
endif()
set(TOLVEX_RELEASE_VERSION ${CMAKE_MATCH_1})
changelog_field(Timestamp timestamp)
changelog_time(${timestamp} +%Y-%m-%d TOLVEX_RELEASE_DATE)
changelog_time(${timestamp} "+%B %Y" TOLVEX_RELEASE_MONTH)
