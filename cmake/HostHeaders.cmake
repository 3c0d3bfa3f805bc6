# tolvex_host_headers(FOLDER HEADER...): FOLDER in the build, holding a link to
# the host's /usr/include/<library> for each header-only library named by one
# of its headers (fmt/format-inl.h), and nothing else. On the include path it
# gives the native and the WebAssembly compilers the same library code, and
# the cross compiler never sees the host's C library headers beside it.
include_guard(GLOBAL)
function(tolvex_host_headers folder)
  file(MAKE_DIRECTORY ${folder})
  foreach(header IN LISTS ARGN)
    string(REGEX REPLACE "/.*" "" library ${header})
    string(MAKE_C_IDENTIFIER ${library} name)
    find_path(TOLVEX_${name}_INCLUDE_DIR ${header} PATHS /usr/include NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
    if(NOT TOLVEX_${name}_INCLUDE_DIR)
      message(FATAL_ERROR "/usr/include/${header} is missing: install debian/control's Build-Depends (scripts/setup-and-run.sh does)")
    endif()
    file(CREATE_LINK ${TOLVEX_${name}_INCLUDE_DIR}/${library} ${folder}/${library} SYMBOLIC)
  endforeach()
endfunction()
